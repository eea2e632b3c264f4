#pragma once
// "ProbeReport": a view of the current or the default probe report options; setValues reads
// every keyword into a copy before it stores it (the current record through the probe toolset,
// which keeps totals and extremes off while the selected values hold no field output).
#include "omu_InterfaceObj.h"
#include "prbC_ProbeReportCTX.h"

class prbK_ProbeReportIntObj : public omu_InterfaceObj {
 public:
  explicit prbK_ProbeReportIntObj(bool isDefault);
  static const char* TypeName() { return "ProbeReport"; }
  std::unique_ptr<omu_InterfaceObj> Copy() const override;
  cow_String Repr() const override;

  const prbC_ProbeReportCTX& ConstGetOptions() const;
  // The row order of a sort; set only from the Probe Values dialog, so no member shows it.
  omu_Result GetSortOrder();
  omu_Result SetValues(omu_Arguments& args);

 private:
  static const omu_MethodRow methods_[];
  static const omu_MemberRow members_[];
  bool isDefault_;
};
