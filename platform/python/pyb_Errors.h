#pragma once
// Exception mapping: catalogue errors become xyp.XyPlotError (with code and details; those of a
// file's content also with filename, lineno and text), argument errors TypeError, results files
// that cannot be read xyp.OdbError, other application errors xyp.Error; deprecation warnings
// become Python's.
#include <pybind11/pybind11.h>

namespace py = pybind11;

class pyb_Errors {
 public:
  static void Register(py::module_& m);
  // The exception classes, for the package to publish.
  static py::object Error();
  static py::object XyPlotError();
  static py::object ProbeError();
  static py::object OdbError();
};
