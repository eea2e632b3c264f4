#include "prbK_CurrentProbeValuesIntObj.h"

#include "omu_PrimString.h"
#include "omu_PrimTuple.h"
#include "prbK_CurrentProbeValues.h"

const omu_MemberRow prbK_CurrentProbeValuesIntObj::members_[] = {
    {"values", omu_Getter<&prbK_CurrentProbeValuesIntObj::GetValues>, nullptr, "tuple of rows",
     "the values under the cursor"},
    {"", nullptr, nullptr}};

prbK_CurrentProbeValuesIntObj::prbK_CurrentProbeValuesIntObj() {
  DescribeType(TypeName(), nullptr, members_);
}

std::unique_ptr<omu_InterfaceObj> prbK_CurrentProbeValuesIntObj::Copy() const {
  return std::make_unique<prbK_CurrentProbeValuesIntObj>();
}

omu_Result prbK_CurrentProbeValuesIntObj::GetValues() {
  auto cells = std::make_unique<omu_PrimTuple>();
  for (const cow_String& cell : prbK_CurrentProbeValues::Instance().GetValues())
    cells->Append(std::make_unique<omu_PrimString>(cell));
  return cells;
}
