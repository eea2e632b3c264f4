#pragma once
// Symbolic constants as scripts see them: a name and a value, equal when their names are.
#include <pybind11/pybind11.h>

#include <string>

namespace py = pybind11;

struct pyb_SymbolicConstant {
  std::string name;
  int value;
  static void Register(py::module_& m);
};
