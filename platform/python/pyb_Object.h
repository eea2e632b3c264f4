#pragma once
// The one Python type that serves every scripting object from its description tables: members
// as attributes, methods as bound callables, dictionaries through the mapping protocol, sequences
// through the sequence protocol.
#include <pybind11/pybind11.h>

#include <memory>

#include "omu_InterfaceObj.h"

namespace py = pybind11;

struct pyb_Object {
  std::shared_ptr<omu_InterfaceObj> object;
};

// A method of a scripting object (or a command of a module), bound to its target.
struct pyb_BoundMethod {
  std::shared_ptr<omu_InterfaceObj> owner;  // keeps the target alive
  omu_InterfaceObj* target;
  omu_MethodFn method;
  std::string name;
  const char* deprecatedVersion;
  const char* replacement;
  const omu_Signature* signature;
};

// A module-level function (math functions).
struct pyb_Function {
  std::string name;
  omu_Result (*function)(omu_Arguments&);
  const omu_Signature* signature;
};

class pyb_ObjectType {
 public:
  static void Register(py::module_& m);
  static py::object Wrap(std::shared_ptr<omu_InterfaceObj> object);
  // Builds the arguments of a call from Python's positional and keyword arguments.
  static void FillArguments(omu_Arguments& args, const py::args& positional,
                            const py::kwargs& keywords);
};
