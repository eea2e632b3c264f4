#pragma once
// "CurrentProbeValues": the cells of what lies under the cursor now, as a tuple of strings.
#include "omu_InterfaceObj.h"

class prbK_CurrentProbeValuesIntObj : public omu_InterfaceObj {
 public:
  prbK_CurrentProbeValuesIntObj();
  static const char* TypeName() { return "CurrentProbeValues"; }
  std::unique_ptr<omu_InterfaceObj> Copy() const override;
  cow_String Repr() const override { return "session.currentProbeValues"; }
  omu_Result GetValues();

 private:
  static const omu_MemberRow members_[];
};
