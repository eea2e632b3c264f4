#pragma once
// Python values to and from scripting primitives. Sequences of number pairs, and buffers of shape
// (n, 2) such as numpy arrays, are packed straight into doubles with no object per pair.
//
// Texts cross as UTF-8 bytes with Python's "surrogateescape": a name read from a file that is not
// valid UTF-8 reaches Python as escaped text, and that text given back reaches the same bytes.
// A byte string result (omu_PrimBytes) reaches Python as bytes, unchanged.
// Conversion is bounded in depth (RecursionError), reads a snapshot of every container it walks
// (a container changed by an item's own conversion is never read after it moved), and narrows
// integers beyond the double range to infinities. A path object (os.PathLike) becomes its text,
// a 0-d array the number it holds.
#include <pybind11/pybind11.h>

#include <string>
#include <string_view>

#include "omu_Primitive.h"

class omu_PrimArray;

namespace py = pybind11;

class pyb_Convert {
 public:
  static std::unique_ptr<omu_Primitive> ToPrimitive(py::handle value);
  // The same for an argument of a call: a C-ordered (n, 2) float32 or float64 buffer is lent as
  // a view (see omu_PrimSequence) instead of copied.
  static std::unique_ptr<omu_Primitive> ToArgument(py::handle value);
  static py::object ToPython(std::unique_ptr<omu_Primitive> value);
  static py::object ToPython(const omu_Primitive& value);
  // A C++ text as a Python str (invalid UTF-8 escaped, never an error).
  static py::str Text(std::string_view text);
  // A Python str as the bytes it stands for; a text that has no UTF-8 form (a lone surrogate)
  // raises omu_ValueErrorException.
  static std::string Bytes(py::handle text);
  // A Python int as a double: beyond the double range, an infinity of its sign.
  static double IntToDouble(PyObject* value);
  // The deepest nesting a converted value may have, whatever the interpreter's recursion limit.
  static constexpr int kMaxDepth = 2000;

 private:
  static std::unique_ptr<omu_Primitive> FromSequence(py::handle value, bool asList);
  static std::unique_ptr<omu_Primitive> FromBuffer(py::handle value);
  static py::object Array(const omu_PrimArray& array);
};
