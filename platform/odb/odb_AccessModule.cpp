#include "odb_AccessModule.h"

#include <memory>

#include "odb_WriterIntObj.h"
#include "res_Enumerations.h"

namespace {
std::unique_ptr<odb_AccessModule>& Owner() {
  static std::unique_ptr<odb_AccessModule> module;
  return module;
}
const omu_MethodRow kNoMethods[] = {{"", nullptr}};
}  // namespace

odb_AccessModule::odb_AccessModule() : pyo_Module(kName, kNoMethods, IMPORTABLE) {
  AddFunction("create", &odb_WriterIntObj::Create);
  DefineConstant(omu_PrimEnum<res_ComplexDisplayEnm>());
  DefineConstant(omu_PrimEnum<res_OutputPositionEnm>());
  DefineConstant(omu_PrimEnum<res_DomainEnm>());
  DefineConstant(omu_PrimEnum<res_SetTypeEnm>());
  DefineConstant(omu_PrimEnum<res_ElementShapeEnm>());
}

void odb_AccessModule::Create() {
  if (!Owner()) Owner() = std::make_unique<odb_AccessModule>();
}

void odb_AccessModule::Destroy() {
  Owner().reset();
}
