#pragma once
// Base of the scripting dictionaries keyed by name. Besides the mapping operations the binding
// maps to the script language's mapping protocol, every dictionary has the methods "keys",
// "changeKey" (renaming) and "summary".
#include "cow_List.h"
#include "omu_InterfaceObj.h"

class omu_DictIntObjABC : public omu_InterfaceObj {
 public:
  static const char* TypeName() { return "omu_DictIntObjABC"; }

  virtual int Length() = 0;
  // The value under `key`, or null when there is none.
  virtual omu_Result Subscript(const cow_String& key) = 0;
  // Returns 1 when the value was stored, 0 otherwise.
  virtual int Assign(const cow_String& key, const omu_Primitive& value) = 0;
  // Returns 1 when an entry was removed, 0 otherwise.
  virtual int Remove(const cow_String& key) = 0;
  virtual cow_List<cow_String> Keys() = 0;
  virtual void ChangeKey(const cow_String& oldKey, const cow_String& newKey);
  virtual omu_Result Summary();

 protected:
  omu_DictIntObjABC();
  omu_DictIntObjABC(const omu_DictIntObjABC&) = default;

 private:
  omu_Result KeysCmd(omu_Arguments& args);
  omu_Result ChangeKeyCmd(omu_Arguments& args);
  omu_Result SummaryCmd(omu_Arguments& args);
  static const omu_MethodRow methods_[];
};
