#pragma once
// A history variable of a results database ("HistoryVariable"), as odb.historyVariables hands it
// out: its label ("name"), the steps that hold it ("steps": (key text, 1-based number, domain)
// per step) and its short legend ("legendLabel"). It names its database by real path and opening
// generation: once that database is closed, every member raises odb_OdbException, also after the
// file is opened again.
#include <cstdint>

#include "cow_String.h"
#include "omu_InterfaceObj.h"

class xypK_HistoryVariableIntObj : public omu_InterfaceObj {
 public:
  xypK_HistoryVariableIntObj(cow_String label, cow_String realPath, std::uint64_t generation);
  static const char* TypeName() { return "HistoryVariable"; }
  std::unique_ptr<omu_InterfaceObj> Copy() const override;
  cow_String Repr() const override;

  omu_Result GetName();
  omu_Result GetSteps();
  omu_Result GetLegendLabel();

 private:
  static const omu_MemberRow members_[];
  cow_String label_;
  cow_String path_;
  std::uint64_t generation_;
};
