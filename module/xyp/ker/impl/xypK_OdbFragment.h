#pragma once
// The XY module's part of the "Odb" scripting object: "historyVariables".
#include "oda_OdbFragment.h"

class xypK_OdbFragment : public oda_OdbFragment {
 public:
  xypK_OdbFragment();
  static const char* TypeName() { return "XYOdb"; }
  std::unique_ptr<omu_InterfaceObj> Copy() const override;
  omu_Result GetHistoryVariables();

 private:
  static const omu_MemberRow members_[];
};
