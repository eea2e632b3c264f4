#pragma once
// Lets Python code hear the application's named queries: one Python callable (the package's
// dispatcher) is called with each fired query's name, synchronously.
#include <pybind11/pybind11.h>

namespace py = pybind11;

class pyb_QueryHook {
 public:
  // `hook` is called with a str; None stops the calls.
  static void Set(py::object hook);
  // Starts listening to the query registrar (after the application started) and stops (before
  // it shuts down); the hook itself is released when listening stops.
  static void Listen();
  static void StopListening();
};
