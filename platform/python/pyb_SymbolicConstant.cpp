#include "pyb_SymbolicConstant.h"

void pyb_SymbolicConstant::Register(py::module_& m) {
  py::class_<pyb_SymbolicConstant>(m, "SymbolicConstant")
      .def(py::init([](std::string name, int value) {
             return pyb_SymbolicConstant{name, value};
           }),
           py::arg("name"), py::arg("value") = 0)
      .def_readonly("name", &pyb_SymbolicConstant::name)
      .def_readonly("value", &pyb_SymbolicConstant::value)
      .def("__repr__", [](const pyb_SymbolicConstant& c) { return c.name; })
      .def("__str__", [](const pyb_SymbolicConstant& c) { return c.name; })
      .def("__hash__", [](const pyb_SymbolicConstant& c) { return py::hash(py::str(c.name)); })
      .def("__eq__",
           [](const pyb_SymbolicConstant& a, py::object b) {
             if (!py::isinstance<pyb_SymbolicConstant>(b)) return false;
             return a.name == b.cast<const pyb_SymbolicConstant&>().name;
           })
      .def("__ne__", [](const pyb_SymbolicConstant& a, py::object b) {
        if (!py::isinstance<pyb_SymbolicConstant>(b)) return true;
        return a.name != b.cast<const pyb_SymbolicConstant&>().name;
      });
}
