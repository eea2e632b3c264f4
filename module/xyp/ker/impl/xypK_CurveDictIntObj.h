#pragma once
// A plot's "curves": its curves by name, in the curve map's own order (not sorted). Curves are
// made with the plot's Curve and curveSet; they cannot be assigned or removed here.
#include "omu_DictIntObjABC.h"

class xypK_CurveDictIntObj : public omu_DictIntObjABC {
 public:
  explicit xypK_CurveDictIntObj(const cow_String& plotName);
  static const char* TypeName() { return "xypK_CurveDict"; }
  std::unique_ptr<omu_InterfaceObj> Copy() const override;
  cow_String Repr() const override;

  int Length() override;
  omu_Result Subscript(const cow_String& key) override;
  int Assign(const cow_String& key, const omu_Primitive& value) override;
  int Remove(const cow_String& key) override;
  cow_List<cow_String> Keys() override;

 private:
  cow_String plotName_;
};
