#pragma once
// The session's "xyPlots": every XY plot by name, in ascending name order. Plots are made with
// session.XYPlot; they cannot be assigned or removed through the dictionary.
#include "omu_DictIntObjABC.h"

class xypK_XYPlotDictIntObj : public omu_DictIntObjABC {
 public:
  xypK_XYPlotDictIntObj();
  static const char* TypeName() { return "xypK_XYPlotDict"; }
  std::unique_ptr<omu_InterfaceObj> Copy() const override;
  cow_String Repr() const override { return "session.xyPlots"; }

  int Length() override;
  omu_Result Subscript(const cow_String& key) override;
  int Assign(const cow_String& key, const omu_Primitive& value) override;
  int Remove(const cow_String& key) override;
  cow_List<cow_String> Keys() override;
};
