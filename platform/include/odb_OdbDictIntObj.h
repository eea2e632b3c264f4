#pragma once
// session.odbs: the open results databases by real path, in opening order. Read-only: databases
// are added by session.openOdb and removed by their close().
#include "omu_DictIntObjABC.h"

class odb_OdbDictIntObj : public omu_DictIntObjABC {
 public:
  odb_OdbDictIntObj();
  static const char* TypeName() { return "OdbRepository"; }
  std::unique_ptr<omu_InterfaceObj> Copy() const override;
  cow_String Repr() const override { return "session.odbs"; }
  int Length() override;
  omu_Result Subscript(const cow_String& key) override;
  int Assign(const cow_String& key, const omu_Primitive& value) override;
  int Remove(const cow_String& key) override;
  cow_List<cow_String> Keys() override;
};
