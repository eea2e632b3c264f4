#include "prbK_SessionFragment.h"

#include "omu_PrimType.h"
#include "prbK_CurrentProbeValuesIntObj.h"
#include "prbK_ProbeOptionsIntObj.h"
#include "prbK_ProbeReportIntObj.h"
#include "prbK_SelectedProbeValuesIntObj.h"

const omu_MemberRow prbK_SessionFragment::members_[] = {
    {"probeOptions", omu_Getter<&prbK_SessionFragment::ProbeOptions>, nullptr, "ProbeOptions",
     "what probing shows"},
    {"defaultProbeOptions", omu_Getter<&prbK_SessionFragment::DefaultProbeOptions>, nullptr,
     "ProbeOptions", "the options a session starts with"},
    {"probeReport", omu_Getter<&prbK_SessionFragment::ProbeReport>, nullptr, "ProbeReport",
     "how probe values are written"},
    {"defaultProbeReport", omu_Getter<&prbK_SessionFragment::DefaultProbeReport>, nullptr,
     "ProbeReport", "the report options a session starts with"},
    {"currentProbeValues", omu_Getter<&prbK_SessionFragment::CurrentProbeValues>, nullptr,
     "CurrentProbeValues", "the values under the cursor"},
    {"selectedProbeValues", omu_Getter<&prbK_SessionFragment::SelectedProbeValues>, nullptr,
     "SelectedProbeValues", "the values selected by clicks"},
    {"", nullptr, nullptr}};

prbK_SessionFragment::prbK_SessionFragment() {
  DescribeType(TypeName(), nullptr, members_);
}

std::unique_ptr<omu_InterfaceObj> prbK_SessionFragment::Copy() const {
  return std::unique_ptr<omu_InterfaceObj>(new prbK_SessionFragment(*this));
}

omu_Result prbK_SessionFragment::ProbeOptions() {
  return std::make_unique<omu_PrimType>(std::make_shared<prbK_ProbeOptionsIntObj>(false));
}
omu_Result prbK_SessionFragment::DefaultProbeOptions() {
  return std::make_unique<omu_PrimType>(std::make_shared<prbK_ProbeOptionsIntObj>(true));
}
omu_Result prbK_SessionFragment::ProbeReport() {
  return std::make_unique<omu_PrimType>(std::make_shared<prbK_ProbeReportIntObj>(false));
}
omu_Result prbK_SessionFragment::DefaultProbeReport() {
  return std::make_unique<omu_PrimType>(std::make_shared<prbK_ProbeReportIntObj>(true));
}
omu_Result prbK_SessionFragment::CurrentProbeValues() {
  return std::make_unique<omu_PrimType>(std::make_shared<prbK_CurrentProbeValuesIntObj>());
}
omu_Result prbK_SessionFragment::SelectedProbeValues() {
  return std::make_unique<omu_PrimType>(std::make_shared<prbK_SelectedProbeValuesIntObj>());
}
