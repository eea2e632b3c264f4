#include "pyb_Binding.h"

#include "cmdC_WIP.h"
#include "pyb_CommandScope.h"
#include "pyb_Convert.h"
#include "pyb_Errors.h"
#include "pyb_Object.h"
#include "pyb_SymbolicConstant.h"
#include "pyo_Module.h"

namespace {
// Modules are owned by the application, which outlives their Python faces: hold them unowned.
std::shared_ptr<omu_InterfaceObj> Unowned(pyo_Module* module) {
  return std::shared_ptr<omu_InterfaceObj>(module, [](omu_InterfaceObj*) {});
}
}  // namespace

void pyb_Binding::Register(py::module_& m) {
  pyb_Errors::Register(m);
  pyb_SymbolicConstant::Register(m);
  pyb_ObjectType::Register(m);
  // Ctrl-C (and any signal handler's exception) reaches long operations through the
  // work-in-progress reporter's interruption check.
  cmdC_WIP::SetInterruptCheck(&pyb_CommandScope::CheckSignals);
}

py::dict pyb_Binding::PublishModules() {
  py::dict published;
  py::object moduleType = py::module_::import("types").attr("ModuleType");
  for (pyo_Module* module : pyo_Module::Modules()) {
    const std::string name = module->Name().Std();
    py::object pyModule = moduleType(name);
    for (const cow_String& command : module->MemberNames()) {
      omu_InterfaceObj::Entry e = module->Lookup(command);
      if (e.kind != omu_InterfaceObj::EntryKind::Method) continue;
      pyModule.attr(command.CStr()) =
          py::cast(pyb_BoundMethod{Unowned(module), e.target, e.method, command.Std(),
                                   e.deprecatedVersion, e.replacement, e.signature});
    }
    for (const pyo_Module::FunctionRow& row : module->Functions())
      pyModule.attr(row.name.CStr()) =
          py::cast(pyb_Function{row.name.Std(), row.function, row.signature});
    for (const pyo_Module::Constant& c : module->Constants())
      pyModule.attr(c.name.CStr()) = py::cast(pyb_SymbolicConstant{c.name.Std(), c.value});
    py::list types;
    for (const cow_String& t : module->Types()) types.append(py::str(t.Std()));
    pyModule.attr("__types__") = types;
    pyModule.attr("__preimported__") = py::bool_(module->ImportMode() == pyo_Module::PREIMPORTED);
    published[pyb_Convert::Text(name)] = pyModule;
  }
  return published;
}
