#pragma once
// The XY-plot module's part of a viewport: "displayedObject", the plot the viewport shows, set
// with viewport.setValues(displayedObject=plot) (or None) and read as an attribute.
#include "sesK_LayerFragment.h"

class xypK_LayerFragment : public sesK_LayerFragment {
 public:
  xypK_LayerFragment();
  static const char* TypeName() { return "xypK_LayerFragment"; }
  std::unique_ptr<omu_InterfaceObj> Copy() const override;

  bool CanDisplay(const omu_Primitive& object) const override;
  cow_String DisplayedKind() const override;
  // A plot (which must still exist), or null for nothing.
  void SetObjectToDisplay(const omu_Primitive* object) override;
  omu_Result GetObjectToDisplay();
  // plotPosition(x=, y=): the viewport pixel (x right, y up from the bottom-left, at the
  // viewport's size) where the plot shown draws that data point; ValueError without a plot.
  omu_Result PlotPosition(omu_Arguments& args);

 private:
  xypK_LayerFragment(const xypK_LayerFragment& other) = default;
  static const omu_MethodRow methods_[];
  static const omu_MemberRow members_[];
};
