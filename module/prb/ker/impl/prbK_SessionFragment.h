#pragma once
// The probe side's members of the session: probeOptions, defaultProbeOptions, probeReport,
// defaultProbeReport, currentProbeValues and selectedProbeValues. "session." and a member's
// name is the query fired when that object changes.
#include "sesK_SessionFragment.h"

class prbK_SessionFragment : public sesK_SessionFragment {
 public:
  prbK_SessionFragment();
  static const char* TypeName() { return "prbK_SessionFragment"; }
  std::unique_ptr<omu_InterfaceObj> Copy() const override;

  omu_Result ProbeOptions();
  omu_Result DefaultProbeOptions();
  omu_Result ProbeReport();
  omu_Result DefaultProbeReport();
  omu_Result CurrentProbeValues();
  omu_Result SelectedProbeValues();

 private:
  prbK_SessionFragment(const prbK_SessionFragment& other) = default;
  static const omu_MemberRow members_[];
};
