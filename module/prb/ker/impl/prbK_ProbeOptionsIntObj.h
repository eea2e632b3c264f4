#pragma once
// "ProbeOptions": a view of the current or the default probe options. Reads go to the record at
// that moment (the current one shows the defaults until probing first copies them in); setValues
// reads every keyword into a copy, reconciles entity and position, then stores it: the default
// record as it is, the current one through the probe toolset (which renews the value tables when
// the entity or position changed).
#include "omu_InterfaceObj.h"
#include "prbC_ProbeOptionsCTX.h"

class prbK_ProbeOptionsIntObj : public omu_InterfaceObj {
 public:
  explicit prbK_ProbeOptionsIntObj(bool isDefault);
  static const char* TypeName() { return "ProbeOptions"; }
  std::unique_ptr<omu_InterfaceObj> Copy() const override;
  cow_String Repr() const override;

  const prbC_ProbeOptionsCTX& ConstGetOptions() const;
  omu_Result GetProbeObject();
  omu_Result GetOutputPositionsAvailable();
  omu_Result SetValues(omu_Arguments& args);

 private:
  static const omu_MethodRow methods_[];
  static const omu_MemberRow members_[];
  bool isDefault_;
};
