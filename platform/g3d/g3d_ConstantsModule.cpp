#include "g3d_ConstantsModule.h"

#include <memory>

#include "g3d_Enumerations.h"
#include "sesC_ViewAnnCTX.h"

namespace {
std::unique_ptr<g3d_ConstantsModule>& Owner() {
  static std::unique_ptr<g3d_ConstantsModule> module;
  return module;
}
const omu_MethodRow kNoMethods[] = {{"", nullptr}};
}  // namespace

g3d_ConstantsModule::g3d_ConstantsModule() : pyo_Module(kName, kNoMethods, IMPORTABLE) {
  DefineConstant(omu_PrimEnum<g3d_LineStyleEnum>());
  DefineConstant(omu_PrimEnum<g3d_LineThicknessEnum>());
  DefineConstant(omu_PrimEnum<g3d_MarkerEnum>());
  DefineConstant(omu_PrimEnum<g3d_MarkerSizeEnum>());
  DefineConstant(omu_PrimEnum<sesC_BackgroundStyleEnm>());
  DefineConstant(omu_PrimEnum<sesC_LegendPlacementEnm>());
}

void g3d_ConstantsModule::Create() {
  if (!Owner()) Owner() = std::make_unique<g3d_ConstantsModule>();
}

void g3d_ConstantsModule::Destroy() {
  Owner().reset();
}
