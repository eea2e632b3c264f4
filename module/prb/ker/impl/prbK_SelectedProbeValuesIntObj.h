#pragma once
// "SelectedProbeValues": the Probe Values table as scripts read it. An empty table shows its one
// blank row: length 1, values one tuple of empty strings.
#include "omu_InterfaceObj.h"

class prbK_SelectedProbeValuesIntObj : public omu_InterfaceObj {
 public:
  prbK_SelectedProbeValuesIntObj();
  static const char* TypeName() { return "SelectedProbeValues"; }
  std::unique_ptr<omu_InterfaceObj> Copy() const override;
  cow_String Repr() const override { return "session.selectedProbeValues"; }
  omu_Result GetLength();
  omu_Result GetValues();
  omu_Result GetLastValues();
  omu_Result GetFieldOutputAvailable();
  omu_Result GetHeader();
  omu_Result GetSortHeader();

 private:
  static const omu_MemberRow members_[];
};
