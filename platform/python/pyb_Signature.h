#pragma once
// Docstrings and Python signatures of commands, made from the commands' own descriptions of what
// they read (omu_Signature), and the help text of a scripting object: its methods with their
// summaries and its members with their kinds. Arguments that a description leaves without kind
// or line (the keywords of setValues) take those of the object's member of the same name.
#include <pybind11/pybind11.h>

#include <string>

#include "omu_InterfaceObj.h"

namespace py = pybind11;

class pyb_Signature {
 public:
  static void Register(py::module_& m);
  // An inspect.Signature; null `signature` gives (*args, **kwargs).
  static py::object Make(const omu_Signature* signature, omu_InterfaceObj* target);
  // "name(arguments) -> result", the summary, then a line per argument.
  static std::string Doc(const std::string& name, const omu_Signature* signature,
                         omu_InterfaceObj* target);
  static std::string ObjectDoc(omu_InterfaceObj& object);

 private:
  struct Resolved {
    const char* keyword;
    std::string kind;
    const char* defaultText;  // null: required (or unchanged when the form says so)
    std::string doc;
  };
  static Resolved Resolve(const omu_Parameter& p, omu_InterfaceObj* target);
  static std::string DefaultText(const Resolved& p, const omu_Signature& s);
  static std::string Arguments(const omu_Signature* signature, omu_InterfaceObj* target);
};
