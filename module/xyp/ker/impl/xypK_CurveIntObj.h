#pragma once
// "XYCurve": a script's handle on one curve of one plot, by the two names.
#include "omu_InterfaceObj.h"

class udd_UserXYData;

class xypK_CurveIntObj : public omu_InterfaceObj {
 public:
  xypK_CurveIntObj(const cow_String& curveName, const cow_String& plotName);
  xypK_CurveIntObj(const xypK_CurveIntObj& other);
  static const char* TypeName() { return "XYCurve"; }
  std::unique_ptr<omu_InterfaceObj> Copy() const override;
  cow_String Repr() const override;
  cow_String FullRepr() const override;

  const cow_String& CurveName() const { return curveName_; }
  const cow_String& PlotName() const { return plotName_; }

  // The data the curve shows and the repository name it shows (empty for a private copy); the
  // axis titles of its plot as they are drawn (the user's, or the system's when chosen).
  const udd_UserXYData& ConstGetXYData() const;
  cow_String ConstGetXYDataName() const;
  cow_String ConstGetXTitle() const;
  cow_String ConstGetYTitle() const;

  omu_Result GetName();
  omu_Result GetXYData();
  omu_Result GetCurveOptions();

 private:
  static const omu_MemberRow members_[];
  cow_String curveName_;
  cow_String plotName_;
};
