#pragma once
// "ViewportAnnotationOptions": how a viewport annotates what it shows (its legend), or the
// defaults new viewports start from. Members read the settings; "setValues" reads every keyword
// into a copy, so a refused value changes nothing, then stores the copy and redraws the
// viewport's scene.
#include "omu_InterfaceObj.h"
#include "sesC_ViewAnnCTX.h"

class sesK_ViewAnnOptionsIntObj : public omu_InterfaceObj {
 public:
  // The settings of the viewport called `viewportName`.
  explicit sesK_ViewAnnOptionsIntObj(cow_String viewportName);
  // The session's defaults.
  sesK_ViewAnnOptionsIntObj();
  static const char* TypeName() { return "ViewportAnnotationOptions"; }
  std::unique_ptr<omu_InterfaceObj> Copy() const override;
  cow_String Repr() const override;

  bool IsDefault() const { return viewportName_.IsEmpty(); }
  const sesC_ViewAnnCTX& ConstGetOptions() const;

  omu_Result SetValues(omu_Arguments& args);
  // (x, y) in percent of the viewport, or AUTOMATIC.
  omu_Result GetLegendPosition();

  static constexpr double kMinFontPoints = 1.0;
  static constexpr double kMaxFontPoints = 100.0;

 private:
  static const omu_MethodRow methods_[];
  static const omu_MemberRow members_[];
  cow_String viewportName_;
};
