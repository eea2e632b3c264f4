#pragma once
// Python values to and from scripting primitives. Sequences of number pairs, and buffers of shape
// (n, 2) such as numpy arrays, are packed straight into doubles with no object per pair.
#include <pybind11/pybind11.h>

#include "omu_Primitive.h"

namespace py = pybind11;

class pyb_Convert {
 public:
  static std::unique_ptr<omu_Primitive> ToPrimitive(py::handle value);
  static py::object ToPython(std::unique_ptr<omu_Primitive> value);
  static py::object ToPython(const omu_Primitive& value);

 private:
  static std::unique_ptr<omu_Primitive> FromSequence(py::handle value, bool asList);
  static std::unique_ptr<omu_Primitive> FromBuffer(py::handle value);
};
