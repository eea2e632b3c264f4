#include "pyb_Convert.h"

#include <cstring>

#include "omu_PrimBool.h"
#include "omu_PrimDictionary.h"
#include "omu_PrimEnumBase.h"
#include "omu_PrimList.h"
#include "omu_PrimNone.h"
#include "omu_PrimNumber.h"
#include "omu_PrimString.h"
#include "omu_PrimTuple.h"
#include "omu_PrimType.h"
#include "omu_TypeErrorException.h"
#include "pyb_Object.h"
#include "pyb_SymbolicConstant.h"

namespace {

// The two numbers of a Python (x, y) pair, when it is one.
bool ReadPair(PyObject* item, double& x, double& y) {
  if (!PyTuple_Check(item) && !PyList_Check(item)) return false;
  if (PySequence_Fast_GET_SIZE(item) != 2) return false;
  PyObject** xy = PySequence_Fast_ITEMS(item);
  for (int k = 0; k < 2; ++k) {
    PyObject* v = xy[k];
    if (PyBool_Check(v)) return false;
    double d;
    if (PyFloat_Check(v)) {
      d = PyFloat_AS_DOUBLE(v);
    } else if (PyLong_Check(v)) {
      d = PyLong_AsDouble(v);
      if (d == -1.0 && PyErr_Occurred()) {
        PyErr_Clear();
        return false;
      }
    } else {
      return false;
    }
    (k == 0 ? x : y) = d;
  }
  return true;
}

template <class T>
void PackRows(const py::buffer_info& info, std::vector<double>& out) {
  const char* base = static_cast<const char*>(info.ptr);
  for (py::ssize_t i = 0; i < info.shape[0]; ++i) {
    for (py::ssize_t j = 0; j < 2; ++j) {
      T v;
      std::memcpy(&v, base + i * info.strides[0] + j * info.strides[1], sizeof v);
      out.push_back(static_cast<double>(v));
    }
  }
}

}  // namespace

std::unique_ptr<omu_Primitive> pyb_Convert::FromBuffer(py::handle value) {
  py::buffer buffer = py::reinterpret_borrow<py::buffer>(value);
  py::buffer_info info = buffer.request();
  if (info.ndim != 2 || info.shape[1] != 2) return nullptr;
  std::vector<double> values;
  values.reserve(static_cast<std::size_t>(info.shape[0]) * 2);
  const std::string& f = info.format;
  if (f == py::format_descriptor<double>::format() && info.strides[1] == sizeof(double) &&
      info.strides[0] == 2 * static_cast<py::ssize_t>(sizeof(double))) {
    const double* rows = static_cast<const double*>(info.ptr);  // C order: one block
    values.assign(rows, rows + 2 * info.shape[0]);
  } else if (f == py::format_descriptor<double>::format())
    PackRows<double>(info, values);
  else if (f == py::format_descriptor<float>::format())
    PackRows<float>(info, values);
  else if (f == py::format_descriptor<std::int64_t>::format() || f == "l" || f == "q")
    PackRows<std::int64_t>(info, values);
  else if (f == py::format_descriptor<std::int32_t>::format() || f == "i")
    PackRows<std::int32_t>(info, values);
  else
    return nullptr;
  auto tuple = std::make_unique<omu_PrimTuple>();
  tuple->SetPairs(std::move(values));
  return tuple;
}

std::unique_ptr<omu_Primitive> pyb_Convert::FromSequence(py::handle value, bool asList) {
  py::object fast =
      py::reinterpret_steal<py::object>(PySequence_Fast(value.ptr(), "a sequence is required"));
  if (!fast) throw py::error_already_set();
  const Py_ssize_t n = PySequence_Fast_GET_SIZE(fast.ptr());
  PyObject** items = PySequence_Fast_ITEMS(fast.ptr());
  // A non-empty run of number pairs goes packed.
  if (n > 0) {
    std::vector<double> values;
    values.reserve(static_cast<std::size_t>(n) * 2);
    bool pairs = true;
    for (Py_ssize_t i = 0; i < n && pairs; ++i) {
      double x = 0, y = 0;
      pairs = ReadPair(items[i], x, y);
      values.push_back(x);
      values.push_back(y);
    }
    if (pairs) {
      std::unique_ptr<omu_PrimSequence> packed;
      if (asList)
        packed = std::make_unique<omu_PrimList>();
      else
        packed = std::make_unique<omu_PrimTuple>();
      packed->SetPairs(std::move(values));
      return packed;
    }
  }
  std::unique_ptr<omu_PrimSequence> seq;
  if (asList)
    seq = std::make_unique<omu_PrimList>();
  else
    seq = std::make_unique<omu_PrimTuple>();
  for (Py_ssize_t i = 0; i < n; ++i) seq->Append(ToPrimitive(items[i]));
  return seq;
}

std::unique_ptr<omu_Primitive> pyb_Convert::ToPrimitive(py::handle value) {
  PyObject* p = value.ptr();
  if (p == Py_None) return std::make_unique<omu_PrimNone>();
  if (PyBool_Check(p)) return std::make_unique<omu_PrimBool>(p == Py_True);
  if (PyLong_Check(p)) {
    int overflow = 0;
    long long v = PyLong_AsLongLongAndOverflow(p, &overflow);
    if (overflow) return std::make_unique<omu_PrimNumber>(PyLong_AsDouble(p));
    return std::make_unique<omu_PrimNumber>(v);
  }
  if (PyFloat_Check(p)) return std::make_unique<omu_PrimNumber>(PyFloat_AS_DOUBLE(p));
  if (PyUnicode_Check(p)) return std::make_unique<omu_PrimString>(value.cast<std::string>());
  if (py::isinstance<pyb_Object>(value))
    return std::make_unique<omu_PrimType>(value.cast<const pyb_Object&>().object);
  if (py::isinstance<pyb_SymbolicConstant>(value)) {
    const auto& c = value.cast<const pyb_SymbolicConstant&>();
    return std::make_unique<omu_PrimEnumBase>(cow_String(c.name), c.value);
  }
  if (PyTuple_Check(p)) return FromSequence(value, false);
  if (PyList_Check(p)) return FromSequence(value, true);
  if (PyDict_Check(p)) {
    auto dict = std::make_unique<omu_PrimDictionary>();
    for (auto item : py::reinterpret_borrow<py::dict>(value))
      dict->Put(ToPrimitive(item.first), ToPrimitive(item.second));
    return dict;
  }
  if (PyObject_CheckBuffer(p) && !PyBytes_Check(p)) {
    if (auto packed = FromBuffer(value)) return packed;
    // Other shapes and element types go item by item, so the command judges each item.
    if (PySequence_Check(p)) return FromSequence(value, false);
  }
  // Number-like objects (numpy scalars): integers first, then floats.
  if (PyIndex_Check(p)) {
    py::object index = py::reinterpret_steal<py::object>(PyNumber_Index(p));
    if (!index) throw py::error_already_set();
    return ToPrimitive(index);
  }
  if (PyNumber_Check(p) && !PySequence_Check(p)) {
    const double v = PyFloat_AsDouble(p);
    if (v == -1.0 && PyErr_Occurred()) throw py::error_already_set();
    return std::make_unique<omu_PrimNumber>(v);
  }
  if (PySequence_Check(p) && !PyBytes_Check(p)) return FromSequence(value, false);
  throw omu_TypeErrorException(cow_String("values of type '") + Py_TYPE(p)->tp_name +
                               "' cannot be passed to xyp commands");
}

py::object pyb_Convert::ToPython(std::unique_ptr<omu_Primitive> value) {
  if (!value) return py::none();
  return ToPython(*value);
}

py::object pyb_Convert::ToPython(const omu_Primitive& value) {
  switch (value.Kind()) {
    case omu_PrimKind::None:
      return py::none();
    case omu_PrimKind::Bool:
      return py::bool_(static_cast<const omu_PrimBool&>(value).Value());
    case omu_PrimKind::Number: {
      const auto& n = static_cast<const omu_PrimNumber&>(value);
      if (n.IsInteger()) return py::int_(n.AsInteger());
      return py::float_(n.AsDouble());
    }
    case omu_PrimKind::String:
      return py::str(static_cast<const omu_PrimString&>(value).Value().Std());
    case omu_PrimKind::Enum: {
      const auto& e = static_cast<const omu_PrimEnumBase&>(value);
      return py::cast(pyb_SymbolicConstant{e.Text().Std(), e.Value()});
    }
    case omu_PrimKind::Tuple:
    case omu_PrimKind::List: {
      const auto& s = static_cast<const omu_PrimSequence&>(value);
      const std::size_t n = s.Size();
      if (s.IsPairArray()) {
        const std::vector<double>& xy = s.PairValues();
        py::tuple out(n);
        for (std::size_t i = 0; i < n; ++i) {
          PyObject* pair = PyTuple_New(2);
          PyTuple_SET_ITEM(pair, 0, PyFloat_FromDouble(xy[2 * i]));
          PyTuple_SET_ITEM(pair, 1, PyFloat_FromDouble(xy[2 * i + 1]));
          PyTuple_SET_ITEM(out.ptr(), static_cast<Py_ssize_t>(i), pair);
        }
        return value.Kind() == omu_PrimKind::List ? py::object(py::list(out)) : py::object(out);
      }
      if (value.Kind() == omu_PrimKind::List) {
        py::list out(n);
        for (std::size_t i = 0; i < n; ++i) out[i] = ToPython(s.Item(i));
        return out;
      }
      py::tuple out(n);
      for (std::size_t i = 0; i < n; ++i) out[i] = ToPython(s.Item(i));
      return out;
    }
    case omu_PrimKind::Dictionary: {
      const auto& d = static_cast<const omu_PrimDictionary&>(value);
      py::dict out;
      for (std::size_t i = 0; i < d.Size(); ++i) out[ToPython(d.Key(i))] = ToPython(d.Value(i));
      return out;
    }
    case omu_PrimKind::Type:
      return pyb_ObjectType::Wrap(static_cast<const omu_PrimType&>(value).Object());
  }
  return py::none();
}
