#include "prbK_PytModule.h"

#include "prbC_Enumerations.h"
#include "res_Enumerations.h"

namespace {
const omu_MethodRow kNoMethods[] = {{"", nullptr}};
}

prbK_PytModule::prbK_PytModule() : pyo_Module("probe", kNoMethods, PREIMPORTED) {
  DefineConstant(omu_PrimEnum<prbC_ProbeEntityEnm>());
  DefineConstant(omu_PrimEnum<res_OutputPositionEnm>());
  DefineConstant(omu_PrimEnum<prbC_SortEnm>());
  DefineConstant(omu_PrimEnum<prbC_PageWidthEnm>());
  DefineConstant(omu_PrimEnum<prbC_FormatEnm>());
  DefineConstant(omu_PrimEnum<prbC_ClearRowsEnm>());
}
