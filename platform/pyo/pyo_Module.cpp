#include "pyo_Module.h"

#include <algorithm>

pyo_Module::pyo_Module(const char* name, const omu_MethodRow* methods, ImportEnm importMode)
    : name_(name), importMode_(importMode) {
  DescribeType(TypeName(), methods, nullptr);
  Registry().push_back(this);
}

pyo_Module::~pyo_Module() {
  std::vector<pyo_Module*>& r = Registry();
  r.erase(std::remove(r.begin(), r.end(), this), r.end());
}

std::vector<pyo_Module*>& pyo_Module::Registry() {
  static std::vector<pyo_Module*> modules;
  return modules;
}

const std::vector<pyo_Module*>& pyo_Module::Modules() {
  return Registry();
}

pyo_Module* pyo_Module::Find(const cow_String& name) {
  for (pyo_Module* m : Registry())
    if (m->name_ == name) return m;
  return nullptr;
}

// A module is one per process: its copy is the module itself, held without ownership.
std::unique_ptr<omu_InterfaceObj> pyo_Module::Copy() const {
  return nullptr;
}

void pyo_Module::DefineConstant(const omu_PrimEnumBase& e) {
  for (const omu_EnumValue& v : e.Values()) {
    bool known = std::any_of(constants_.begin(), constants_.end(),
                             [&v](const Constant& c) { return c.name == v.name; });
    if (!known) constants_.push_back({v.name, v.value});
  }
}

void pyo_Module::DefineType(const char* typeName) {
  if (std::find(types_.begin(), types_.end(), cow_String(typeName)) == types_.end())
    types_.emplace_back(typeName);
}

void pyo_Module::AddFunction(const cow_String& name, Function function,
                             const omu_Signature* signature) {
  for (FunctionRow& row : functions_) {
    if (row.name == name) {
      row.function = function;
      row.signature = signature;
      return;
    }
  }
  functions_.push_back({name, function, signature});
}

const pyo_Module::FunctionRow* pyo_Module::FindFunction(const cow_String& name) const {
  for (const FunctionRow& row : functions_)
    if (row.name == name) return &row;
  return nullptr;
}

void pyo_Module::ImportStar(const char* moduleName) {
  const pyo_Module* other = Find(moduleName);
  if (!other || other == this) return;
  for (const FunctionRow& row : other->functions_)
    AddFunction(row.name, row.function, row.signature);
  for (const Constant& c : other->constants_) {
    bool known = std::any_of(constants_.begin(), constants_.end(),
                             [&c](const Constant& k) { return k.name == c.name; });
    if (!known) constants_.push_back(c);
  }
}
