#pragma once
// odb.historyVariables: the history variables of a results database by label, in label order.
// A "HistoryVariable" is made only for the label asked for, so listing a thousand outputs makes
// no thousand objects. Read-only.
#include <cstdint>

#include "omu_DictIntObjABC.h"

class xypK_HistoryVariableDictIntObj : public omu_DictIntObjABC {
 public:
  xypK_HistoryVariableDictIntObj(cow_String realPath, std::uint64_t generation);
  static const char* TypeName() { return "HistoryVariableRepository"; }
  std::unique_ptr<omu_InterfaceObj> Copy() const override;
  cow_String Repr() const override;
  int Length() override;
  omu_Result Subscript(const cow_String& key) override;
  int Assign(const cow_String& key, const omu_Primitive& value) override;
  int Remove(const cow_String& key) override;
  cow_List<cow_String> Keys() override;

 private:
  cow_String path_;
  std::uint64_t generation_;
};
