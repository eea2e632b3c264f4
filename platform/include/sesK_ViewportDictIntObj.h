#pragma once
// The session's "viewports": the viewport layer objects by name ("Viewport: 1"). Viewports are
// the application's; scripts cannot add or remove them here.
#include "omu_DictIntObjABC.h"

class sesK_ViewportDictIntObj : public omu_DictIntObjABC {
 public:
  sesK_ViewportDictIntObj();
  static const char* TypeName() { return "sesK_ViewportDict"; }
  std::unique_ptr<omu_InterfaceObj> Copy() const override;
  cow_String Repr() const override { return "session.viewports"; }

  int Length() override;
  omu_Result Subscript(const cow_String& key) override;
  int Assign(const cow_String& key, const omu_Primitive& value) override;
  int Remove(const cow_String& key) override;
  cow_List<cow_String> Keys() override;
};
