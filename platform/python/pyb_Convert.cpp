#include "pyb_Convert.h"

#include <pybind11/numpy.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

#include "omu_PrimArray.h"
#include "omu_PrimBool.h"
#include "omu_PrimBytes.h"
#include "omu_PrimDictionary.h"
#include "omu_PrimEnumBase.h"
#include "omu_PrimList.h"
#include "omu_PrimNone.h"
#include "omu_PrimNumber.h"
#include "omu_PrimString.h"
#include "omu_PrimTuple.h"
#include "omu_PrimType.h"
#include "omu_TypeErrorException.h"
#include "omu_ValueErrorException.h"
#include "pyb_Object.h"
#include "pyb_SymbolicConstant.h"

namespace {

// The number an int or float item holds, read with no Python code run; false for other kinds.
bool ReadNumber(PyObject* v, double& d) {
  if (PyBool_Check(v)) return false;
  if (PyFloat_Check(v)) {
    d = PyFloat_AS_DOUBLE(v);
    return true;
  }
  if (PyLong_Check(v)) {
    d = pyb_Convert::IntToDouble(v);
    return true;
  }
  return false;
}

// Whether a number is complex and not real: Python's complex and numpy's complex scalars (which
// the numbers module registers as complex).
bool IsComplex(PyObject* v) {
  if (PyComplex_Check(v)) return true;
  static PyObject* complexType = nullptr;
  static PyObject* realType = nullptr;
  if (!complexType) {
    py::module_ numbers = py::module_::import("numbers");
    complexType = py::object(numbers.attr("Complex")).release().ptr();  // kept for the process
    realType = py::object(numbers.attr("Real")).release().ptr();
  }
  const int complex = PyObject_IsInstance(v, complexType);
  const int real = PyObject_IsInstance(v, realType);
  if (complex < 0 || real < 0) throw py::error_already_set();
  return complex == 1 && real == 0;
}

// The two numbers of a Python (x, y) pair, when it is one. Runs no Python code, so nothing can
// change the pair while it is read.
bool ReadPair(PyObject* item, double& x, double& y) {
  if (!PyTuple_Check(item) && !PyList_Check(item)) return false;
  if (PySequence_Fast_GET_SIZE(item) != 2) return false;
  PyObject** xy = PySequence_Fast_ITEMS(item);
  return ReadNumber(xy[0], x) && ReadNumber(xy[1], y);
}

// One level of nesting, counted against Python's recursion limit and our own bound.
class DepthGuard {
 public:
  DepthGuard() {
    if (++depth_ > pyb_Convert::kMaxDepth) {
      --depth_;
      PyErr_SetString(PyExc_RecursionError,
                      "maximum nesting depth exceeded while converting an argument");
      throw py::error_already_set();
    }
    if (Py_EnterRecursiveCall(" while converting an argument") != 0) {
      --depth_;
      throw py::error_already_set();
    }
  }
  ~DepthGuard() {
    Py_LeaveRecursiveCall();
    --depth_;
  }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;

 private:
  static inline int depth_ = 0;
};

template <class T>
void PackRows(const py::buffer_info& info, std::vector<double>& out) {
  const char* base = static_cast<const char*>(info.ptr);
  // C order, one block: a plain widening loop over all the numbers.
  if (info.strides[1] == static_cast<py::ssize_t>(sizeof(T)) &&
      info.strides[0] == 2 * static_cast<py::ssize_t>(sizeof(T)) &&
      reinterpret_cast<std::uintptr_t>(base) % alignof(T) == 0) {
    const T* numbers = reinterpret_cast<const T*>(base);
    const std::size_t n = static_cast<std::size_t>(info.shape[0]) * 2;
    out.resize(n);
    for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<double>(numbers[i]);
    return;
  }
  out.reserve(static_cast<std::size_t>(info.shape[0]) * 2);
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

std::unique_ptr<omu_Primitive> pyb_Convert::ToArgument(py::handle value) {
  PyObject* p = value.ptr();
  if (!PyObject_CheckBuffer(p) || PyBytes_Check(p) || py::isinstance<pyb_Object>(value))
    return ToPrimitive(value);
  py::buffer buffer = py::reinterpret_borrow<py::buffer>(value);
  auto info = std::make_shared<py::buffer_info>(buffer.request());
  const bool isFloat = info->format == py::format_descriptor<float>::format();
  const bool isDouble = info->format == py::format_descriptor<double>::format();
  const auto size = static_cast<py::ssize_t>(isFloat ? sizeof(float) : sizeof(double));
  if (info->ndim != 2 || info->shape[1] != 2 || (!isFloat && !isDouble) ||
      info->strides[1] != size || info->strides[0] != 2 * size ||
      reinterpret_cast<std::uintptr_t>(info->ptr) % static_cast<std::uintptr_t>(size) != 0)
    return ToPrimitive(value);
  // The buffer stays exported (so it cannot be resized) while the call's arguments live; they
  // are destroyed before the call returns to Python, with the interpreter lock held.
  auto tuple = std::make_unique<omu_PrimTuple>();
  const void* numbers = info->ptr;
  tuple->SetBorrowedPairs(numbers, isFloat, static_cast<std::size_t>(info->shape[0]) * 2,
                          std::shared_ptr<const void>(info, numbers));
  return tuple;
}

std::unique_ptr<omu_Primitive> pyb_Convert::FromSequence(py::handle value, bool asList) {
  py::object fast =
      py::reinterpret_steal<py::object>(PySequence_Fast(value.ptr(), "a sequence is required"));
  if (!fast) throw py::error_already_set();
  Py_ssize_t n = PySequence_Fast_GET_SIZE(fast.ptr());
  // A non-empty run of number pairs goes packed; reading it runs no Python code.
  if (n > 0) {
    PyObject** items = PySequence_Fast_ITEMS(fast.ptr());
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
  // Items are converted one by one, which may run an item's own code (__index__, __float__):
  // walk a tuple of our own, so that a list changed meanwhile is not read from freed storage.
  if (PyList_Check(fast.ptr())) {
    fast = py::reinterpret_steal<py::object>(PyList_AsTuple(fast.ptr()));
    if (!fast) throw py::error_already_set();
    n = PyTuple_GET_SIZE(fast.ptr());
  }
  std::unique_ptr<omu_PrimSequence> seq;
  if (asList)
    seq = std::make_unique<omu_PrimList>();
  else
    seq = std::make_unique<omu_PrimTuple>();
  for (Py_ssize_t i = 0; i < n; ++i) seq->Append(ToPrimitive(PyTuple_GET_ITEM(fast.ptr(), i)));
  return seq;
}

double pyb_Convert::IntToDouble(PyObject* value) {
  const double d = PyLong_AsDouble(value);
  if (d == -1.0 && PyErr_Occurred()) {
    if (!PyErr_ExceptionMatches(PyExc_OverflowError)) throw py::error_already_set();
    PyErr_Clear();
    const int negative = PyObject_RichCompareBool(value, py::int_(0).ptr(), Py_LT);
    if (negative < 0) throw py::error_already_set();
    return negative ? -std::numeric_limits<double>::infinity()
                    : std::numeric_limits<double>::infinity();
  }
  return d;
}

py::str pyb_Convert::Text(std::string_view text) {
  PyObject* s =
      PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()), "surrogateescape");
  if (!s) throw py::error_already_set();
  return py::reinterpret_steal<py::str>(s);
}

std::string pyb_Convert::Bytes(py::handle text) {
  PyObject* bytes = PyUnicode_AsEncodedString(text.ptr(), "utf-8", "surrogateescape");
  if (!bytes) {
    if (!PyErr_ExceptionMatches(PyExc_UnicodeEncodeError)) throw py::error_already_set();
    PyErr_Clear();
    // Name the first character that has no UTF-8 form.
    const Py_ssize_t n = PyUnicode_GET_LENGTH(text.ptr());
    Py_ssize_t at = 0;
    Py_UCS4 c = 0;
    for (; at < n; ++at) {
      c = PyUnicode_READ_CHAR(text.ptr(), at);
      if (c >= 0xD800 && c <= 0xDFFF && !(c >= 0xDC80 && c <= 0xDCFF)) break;
    }
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    throw omu_ValueErrorException(cow_String("the text holds a lone surrogate (") + code +
                                  " at position " + std::to_string(at).c_str() +
                                  ") that cannot be encoded");
  }
  std::string out(PyBytes_AS_STRING(bytes), static_cast<std::size_t>(PyBytes_GET_SIZE(bytes)));
  Py_DECREF(bytes);
  return out;
}

std::unique_ptr<omu_Primitive> pyb_Convert::ToPrimitive(py::handle value) {
  PyObject* p = value.ptr();
  if (p == Py_None) return std::make_unique<omu_PrimNone>();
  if (PyBool_Check(p)) return std::make_unique<omu_PrimBool>(p == Py_True);
  if (PyLong_Check(p)) {
    int overflow = 0;
    long long v = PyLong_AsLongLongAndOverflow(p, &overflow);
    if (overflow) return std::make_unique<omu_PrimNumber>(IntToDouble(p));
    if (v == -1 && PyErr_Occurred()) throw py::error_already_set();
    return std::make_unique<omu_PrimNumber>(v);
  }
  if (PyFloat_Check(p)) return std::make_unique<omu_PrimNumber>(PyFloat_AS_DOUBLE(p));
  if (PyUnicode_Check(p)) return std::make_unique<omu_PrimString>(cow_String(Bytes(value)));
  // Containers and number-like objects nest or run their own code: bound the depth.
  DepthGuard depth;
  if (py::isinstance<pyb_Object>(value))
    return std::make_unique<omu_PrimType>(value.cast<const pyb_Object&>().object);
  if (py::isinstance<pyb_SymbolicConstant>(value)) {
    const auto& c = value.cast<const pyb_SymbolicConstant&>();
    return std::make_unique<omu_PrimEnumBase>(cow_String(c.name), c.value);
  }
  if (PyTuple_Check(p)) return FromSequence(value, false);
  if (PyList_Check(p)) return FromSequence(value, true);
  if (PyDict_Check(p)) {
    // Over a snapshot of the items: converting one may change the dictionary.
    py::object items = py::reinterpret_steal<py::object>(PyDict_Items(p));
    if (!items) throw py::error_already_set();
    auto dict = std::make_unique<omu_PrimDictionary>();
    const Py_ssize_t n = PyList_GET_SIZE(items.ptr());
    for (Py_ssize_t i = 0; i < n; ++i) {
      PyObject* item = PyList_GET_ITEM(items.ptr(), i);
      dict->Put(ToPrimitive(PyTuple_GET_ITEM(item, 0)), ToPrimitive(PyTuple_GET_ITEM(item, 1)));
    }
    return dict;
  }
  bool unsized = false;  // a 0-d array: a number, if anything
  if (PyObject_CheckBuffer(p) && !PyBytes_Check(p)) {
    if (auto packed = FromBuffer(value)) return packed;
    // Other shapes and element types go item by item, so the command judges each item.
    if (PySequence_Check(p)) {
      if (PyObject_Size(p) >= 0) return FromSequence(value, false);
      PyErr_Clear();
      unsized = true;
    }
  }
  // Number-like objects (numpy scalars): integers first, then floats.
  if (PyIndex_Check(p)) {
    py::object index = py::reinterpret_steal<py::object>(PyNumber_Index(p));
    if (index) return ToPrimitive(index);
    // A 0-d array of floats has __index__ too, refusing: it is read as a float below.
    if (!unsized || !PyErr_ExceptionMatches(PyExc_TypeError)) throw py::error_already_set();
    PyErr_Clear();
  }
  if (PyNumber_Check(p) && (unsized || !PySequence_Check(p))) {
    // A complex number (numpy's among them) would lose its imaginary part, silently.
    if (IsComplex(p))
      throw omu_TypeErrorException(cow_String("complex values (here of type '") +
                                   Py_TYPE(p)->tp_name +
                                   "') cannot be passed to xyp commands; give a real part");
    const double v = PyFloat_AsDouble(p);
    if (v == -1.0 && PyErr_Occurred()) {
      if (!PyErr_ExceptionMatches(PyExc_TypeError)) throw py::error_already_set();
      // A number with no real value (a 0-d complex array): refused as any other kind.
      py::error_already_set error;
      throw omu_TypeErrorException(cow_String("values of type '") + Py_TYPE(p)->tp_name +
                                   "' cannot be passed to xyp commands (" + error.what() + ")");
    }
    return std::make_unique<omu_PrimNumber>(v);
  }
  // A path object (os.PathLike) stands for its text: a str, or the bytes it names.
  if (py::hasattr(py::handle(reinterpret_cast<PyObject*>(Py_TYPE(p))), "__fspath__")) {
    py::object path = py::reinterpret_steal<py::object>(PyOS_FSPath(p));
    if (!path) throw py::error_already_set();
    if (PyUnicode_Check(path.ptr()))
      return std::make_unique<omu_PrimString>(cow_String(Bytes(path)));
    return std::make_unique<omu_PrimString>(cow_String(
        PyBytes_AS_STRING(path.ptr()), static_cast<std::size_t>(PyBytes_GET_SIZE(path.ptr()))));
  }
  if (PySequence_Check(p) && !PyBytes_Check(p)) return FromSequence(value, false);
  throw omu_TypeErrorException(cow_String("values of type '") + Py_TYPE(p)->tp_name +
                               "' cannot be passed to xyp commands");
}

// One numpy array, its numbers copied once from the command's block.
py::object pyb_Convert::Array(const omu_PrimArray& array) {
  std::vector<py::ssize_t> shape{static_cast<py::ssize_t>(array.Rows())};
  if (array.Columns()) shape.push_back(static_cast<py::ssize_t>(array.Columns()));
  if (array.IsFloat()) {
    py::array_t<float> out(shape);
    std::copy(array.Floats().begin(), array.Floats().end(), out.mutable_data());
    return py::object(std::move(out));
  }
  py::array_t<std::int32_t> out(shape);
  std::copy(array.Ints().begin(), array.Ints().end(), out.mutable_data());
  return py::object(std::move(out));
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
    case omu_PrimKind::String: {
      const std::string_view text = static_cast<const omu_PrimString&>(value).Value().View();
      if (dynamic_cast<const omu_PrimBytes*>(&value))
        return py::bytes(text.data(), static_cast<py::ssize_t>(text.size()));
      return Text(text);
    }
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
    case omu_PrimKind::Array:
      return Array(static_cast<const omu_PrimArray&>(value));
  }
  return py::none();
}
