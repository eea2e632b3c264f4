#include "pyb_Errors.h"

#include "cmdC_InterruptedException.h"
#include "cmdC_PrbException.h"
#include "nex_Exception.h"
#include "odb_OdbException.h"
#include "omu_Deprecation.h"
#include "omu_KeywordErrorException.h"
#include "omu_RuntimeErrorException.h"
#include "omu_TypeErrorException.h"
#include "omu_ValueErrorException.h"
#include "pyb_CommandScope.h"
#include "pyb_Convert.h"
#include "uti_FileException.h"
#include "uti_XypException.h"
#include "uti_XypFileException.h"

namespace {
py::object& Slot(int which) {
  static py::object* slots[4] = {nullptr, nullptr, nullptr, nullptr};
  if (!slots[which]) slots[which] = new py::object();  // lives as long as the interpreter
  return *slots[which];
}

py::object Instance(const py::object& type, const nex_Exception& e) {
  py::object instance = type(pyb_Convert::Text(e.Message().View()));
  instance.attr("code") = e.Code();
  py::tuple details(0);
  if (!e.Detail2().IsEmpty())
    details = py::make_tuple(pyb_Convert::Text(e.Detail1().View()),
                             pyb_Convert::Text(e.Detail2().View()));
  else if (!e.Detail1().IsEmpty())
    details = py::make_tuple(pyb_Convert::Text(e.Detail1().View()));
  instance.attr("details") = details;
  return instance;
}

void Raise(const py::object& type, const nex_Exception& e) {
  PyErr_SetObject(type.ptr(), Instance(type, e).ptr());
}

// A file's error also tells where: filename, and lineno and text when one line is to blame.
void RaiseInFile(const py::object& type, const uti_XypFileException& e) {
  py::object instance = Instance(type, e);
  instance.attr("filename") = pyb_Convert::Text(e.FileName().View());
  if (e.LineNumber() > 0) {
    instance.attr("lineno") = py::int_(e.LineNumber());
    instance.attr("text") = pyb_Convert::Text(e.Text().View());
  }
  PyErr_SetObject(type.ptr(), instance.ptr());
}

// Messages may quote names read from files, which need not be valid UTF-8.
void RaiseText(PyObject* type, const nex_Exception& e) {
  PyErr_SetObject(type, pyb_Convert::Text(e.Message().View()).ptr());
}

// Deprecation warnings are Python's own; when warnings are errors the call fails with it.
void WarnDeprecated(const cow_String& text) {
  if (PyErr_WarnEx(PyExc_DeprecationWarning, text.CStr(), 1) < 0) throw py::error_already_set();
}
}  // namespace

py::object pyb_Errors::Error() {
  return Slot(0);
}
py::object pyb_Errors::XyPlotError() {
  return Slot(1);
}
py::object pyb_Errors::ProbeError() {
  return Slot(2);
}
py::object pyb_Errors::OdbError() {
  return Slot(3);
}

void pyb_Errors::Register(py::module_& m) {
  py::object base = py::reinterpret_steal<py::object>(PyErr_NewExceptionWithDoc(
      "xyp.Error", "An error of the xyp application.", PyExc_Exception, nullptr));
  py::object xy = py::reinterpret_steal<py::object>(PyErr_NewExceptionWithDoc(
      "xyp.XyPlotError", "An error of the XY-plot commands.", base.ptr(), nullptr));
  py::object probe = py::reinterpret_steal<py::object>(PyErr_NewExceptionWithDoc(
      "xyp.ProbeError", "An error of the probe commands.", base.ptr(), nullptr));
  py::object odb = py::reinterpret_steal<py::object>(PyErr_NewExceptionWithDoc(
      "xyp.OdbError", "A file that is not a results file xyp can read, or a closed database.",
      base.ptr(), nullptr));
  // Where an error arose, for those raised while reading a file: None unless set.
  for (const char* where : {"filename", "lineno", "text"}) base.attr(where) = py::none();
  Slot(0) = base;
  Slot(3) = odb;
  m.attr("OdbError") = odb;
  Slot(1) = xy;
  Slot(2) = probe;
  m.attr("Error") = base;
  m.attr("XyPlotError") = xy;
  m.attr("ProbeError") = probe;

  py::register_exception_translator([](std::exception_ptr p) {
    if (!p) return;
    try {
      std::rethrow_exception(p);
    } catch (const uti_XypFileException& e) {
      RaiseInFile(Slot(1), e);
    } catch (const uti_XypException& e) {
      Raise(Slot(1), e);
    } catch (const cmdC_PrbException& e) {
      Raise(Slot(2), e);
    } catch (const uti_FileException& e) {
      // OSError(errno, text, filename) becomes the matching subclass (FileNotFoundError, ...).
      py::object error = py::reinterpret_borrow<py::object>(PyExc_OSError)(
          e.Errno(), pyb_Convert::Text(e.Message().View()), pyb_Convert::Text(e.Path().View()));
      error.attr("lineno") = py::none();
      error.attr("text") = py::none();
      PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(error.ptr())), error.ptr());
    } catch (const cmdC_InterruptedException&) {
      // Only an interrupt is a KeyboardInterrupt: a signal handler's own exception goes through.
      if (!pyb_CommandScope::RestorePending()) PyErr_SetNone(PyExc_KeyboardInterrupt);
    } catch (const omu_KeywordErrorException& e) {
      RaiseText(PyExc_TypeError, e);
    } catch (const omu_TypeErrorException& e) {
      RaiseText(PyExc_TypeError, e);
    } catch (const omu_ValueErrorException& e) {
      RaiseText(PyExc_ValueError, e);
    } catch (const omu_RuntimeErrorException& e) {
      RaiseText(PyExc_RuntimeError, e);
    } catch (const odb_OdbException& e) {
      Raise(Slot(3), e);
    } catch (const nex_Exception& e) {
      Raise(Slot(0), e);
    }
  });
  omu_Deprecation::SetSink(&WarnDeprecated);
}
