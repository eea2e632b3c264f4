#include "pyb_Binding.h"

#include "cmdC_WIP.h"
#include "pyb_CommandScope.h"
#include "pyb_Convert.h"
#include "pyb_Errors.h"
#include "pyb_Object.h"
#include "pyb_SymbolicConstant.h"
#include "pyo_Module.h"

namespace {
// The reporter's output goes to Python's sys.stderr, so that redirect_stderr, notebooks and
// loggers see it; with no interpreter (at exit) or no sys.stderr it goes nowhere, as Python's
// own output would. A failing stream does not fail the command that reports.
void WriteToStderr(std::string_view text) {
  if (!Py_IsInitialized() || _Py_IsFinalizing()) return;
  py::gil_scoped_acquire gil;
  PyObject *type, *value, *traceback;
  PyErr_Fetch(&type, &value, &traceback);
  PyObject* stream = PySys_GetObject("stderr");  // borrowed
  if (stream && stream != Py_None) {
    try {
      py::handle out(stream);
      out.attr("write")(pyb_Convert::Text(text));
      out.attr("flush")();
    } catch (py::error_already_set&) {
    }
  }
  PyErr_Clear();
  PyErr_Restore(type, value, traceback);
}

bool StderrIsTerminal() {
  if (!Py_IsInitialized() || _Py_IsFinalizing()) return false;
  py::gil_scoped_acquire gil;
  PyObject *type, *value, *traceback;
  PyErr_Fetch(&type, &value, &traceback);
  bool terminal = false;
  PyObject* stream = PySys_GetObject("stderr");
  if (stream && stream != Py_None) {
    try {
      terminal = py::handle(stream).attr("isatty")().cast<bool>();
    } catch (py::error_already_set&) {
    } catch (const py::cast_error&) {
    }
  }
  PyErr_Clear();
  PyErr_Restore(type, value, traceback);
  return terminal;
}

// Modules are owned by the application, which outlives their Python faces: hold them unowned.
std::shared_ptr<omu_InterfaceObj> Unowned(pyo_Module* module) {
  return std::shared_ptr<omu_InterfaceObj>(module, [](omu_InterfaceObj*) {});
}
}  // namespace

void pyb_Binding::Register(py::module_& m) {
  pyb_Errors::Register(m);
  pyb_SymbolicConstant::Register(m);
  pyb_ObjectType::Register(m);
  // Ctrl-C (and any signal handler's exception) reaches long operations through the
  // work-in-progress reporter's interruption check.
  cmdC_WIP::SetInterruptCheck(&pyb_CommandScope::CheckSignals);
  cmdC_WIP::SetWriter(&WriteToStderr, &StderrIsTerminal);
}

py::dict pyb_Binding::PublishModules() {
  py::dict published;
  py::object moduleType = py::module_::import("types").attr("ModuleType");
  for (pyo_Module* module : pyo_Module::Modules()) {
    const std::string name = module->Name().Std();
    py::object pyModule = moduleType(name);
    for (const cow_String& command : module->MemberNames()) {
      omu_InterfaceObj::Entry e = module->Lookup(command);
      if (e.kind != omu_InterfaceObj::EntryKind::Method) continue;
      pyModule.attr(command.CStr()) =
          py::cast(pyb_BoundMethod{Unowned(module), e.target, e.method, command.Std(),
                                   e.deprecatedVersion, e.replacement, e.signature});
    }
    for (const pyo_Module::FunctionRow& row : module->Functions())
      pyModule.attr(row.name.CStr()) =
          py::cast(pyb_Function{row.name.Std(), row.function, row.signature});
    for (const pyo_Module::Constant& c : module->Constants())
      pyModule.attr(c.name.CStr()) = py::cast(pyb_SymbolicConstant{c.name.Std(), c.value});
    py::list types;
    for (const cow_String& t : module->Types()) types.append(py::str(t.Std()));
    pyModule.attr("__types__") = types;
    pyModule.attr("__preimported__") = py::bool_(module->ImportMode() == pyo_Module::PREIMPORTED);
    published[pyb_Convert::Text(name)] = pyModule;
  }
  return published;
}
