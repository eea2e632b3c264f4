#pragma once
// "XYCurveOptions": how one curve of one plot is drawn. "setValues" changes the options,
// recalculates the plot when the curve starts or stops being shown, and puts the old options
// back when that recalculation fails.
#include "omu_InterfaceObj.h"
#include "xypC_CurveOptions.h"

class xypK_CurveOptionsIntObj : public omu_InterfaceObj {
 public:
  xypK_CurveOptionsIntObj(const cow_String& plotName, const cow_String& curveName);
  xypK_CurveOptionsIntObj(const xypK_CurveOptionsIntObj& other);
  static const char* TypeName() { return "XYCurveOptions"; }
  std::unique_ptr<omu_InterfaceObj> Copy() const override;
  cow_String Repr() const override;
  cow_String CommandPath() const;
  using omu_InterfaceObj::CommandPath;

  // The options of the curve; the plot and the curve must still exist.
  const xypC_CurveOptions& ConstGetOptions() const;
  int GetLineFit() const { return ConstGetOptions().GetLineFit(); }

  omu_Result SetAttributes(omu_Arguments& args);

 private:
  static const omu_MethodRow methods_[];
  static const omu_MemberRow members_[];
  cow_String plotName_;
  cow_String curveName_;
};
