#pragma once
// The session's "xyDataObjects": a dictionary view of the XY data repository. It holds nothing of
// its own; every operation goes to the repository.
#include "omu_DictIntObjABC.h"

class xypK_XYDataDictIntObj : public omu_DictIntObjABC {
 public:
  xypK_XYDataDictIntObj();
  static const char* TypeName() { return "xypK_XYDataDictIntObj"; }
  std::unique_ptr<omu_InterfaceObj> Copy() const override;
  cow_String Repr() const override { return "session.xyDataObjects"; }

  int Length() override;
  omu_Result Subscript(const cow_String& name) override;
  int Assign(const cow_String& name, const omu_Primitive& value) override;
  int Remove(const cow_String& name) override;
  cow_List<cow_String> Keys() override;
  void ChangeKey(const cow_String& oldName, const cow_String& newName) override;
  omu_Result Summary() override;
};
