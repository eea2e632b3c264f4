#include "prbK_CurrentProbeValues.h"

#include "omi_Singleton.h"
#include "prbK_ProbeToolset.h"

prbK_CurrentProbeValues& prbK_CurrentProbeValues::Instance() {
  return omi_Singleton<prbK_CurrentProbeValues>::Instance();
}

void prbK_CurrentProbeValues::Finalize() {
  omi_Singleton<prbK_CurrentProbeValues>::Finalize();
}

bool prbK_CurrentProbeValues::Exists() {
  return omi_Singleton<prbK_CurrentProbeValues>::Exists();
}

prbK_CurrentProbeValues::prbK_CurrentProbeValues() {
  InitializeValues();
}

void prbK_CurrentProbeValues::InitializeValues() {
  values_ =
      cow_1DArray<cow_String>(static_cast<std::size_t>(prbK_ProbeToolset::Instance().TupleSize()));
  ++generation_;
}
