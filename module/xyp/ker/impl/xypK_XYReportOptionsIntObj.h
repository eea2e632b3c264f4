#pragma once
// "XYReportOptions": a view of the default or the current set of the XY report settings. Every
// read goes to the record and every write lands in it at once.
#include "omu_InterfaceObj.h"

class xypK_XYReportOptionsIntObj : public omu_InterfaceObj {
 public:
  explicit xypK_XYReportOptionsIntObj(bool isDefault);
  static const char* TypeName() { return "XYReportOptions"; }
  std::unique_ptr<omu_InterfaceObj> Copy() const override;
  cow_String Repr() const override;

  omu_Result GetNumColumns();
  omu_Result GetNumDigits();
  omu_Result GetInterpolation();
  omu_Result GetPrintXYData();
  omu_Result GetPrintTotal();
  omu_Result GetPrintMinMax();
  omu_Result GetPageWidth();
  omu_Result GetNumFormat();
  omu_Result GetColumnLayout();
  omu_Result SetAttributes(omu_Arguments& args);

 private:
  // Both sets take their keywords the same way; each value is stored before the next is read,
  // so a failing keyword leaves the earlier ones stored.
  void SetCurrentAttributes(omu_Arguments& args);
  void SetDefaultAttributes(omu_Arguments& args);
  void SetAttributesOf(bool isDefault, omu_Arguments& args);
  static const omu_MethodRow methods_[];
  static const omu_MemberRow members_[];
  bool isDefault_;
};
