#pragma once
// Sets up the binding in an extension module: the object type, symbolic constants, exceptions,
// the interrupt check, and the publishing of the application's scripting modules.
#include <pybind11/pybind11.h>

namespace py = pybind11;

class pyb_Binding {
 public:
  static void Register(py::module_& m);
  // A Python module for every registered scripting module, by name.
  static py::dict PublishModules();
};
