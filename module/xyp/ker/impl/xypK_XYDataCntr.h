#pragma once
// XY data kept with a model: the same name-keyed map as the session repository, as an extension
// of the model's repository. Copies share the map until one side writes.
#include "cow_List.h"
#include "cow_Map.h"
#include "mdl_Repository.h"
#include "omu_Primitive.h"
#include "udd_UserXYData.h"

class xypK_XYDataCntr : public mdl_Repository {
 public:
  void Insert(const cow_String& name, const udd_UserXYData& record) { map_.Insert(name, record); }
  bool Remove(const cow_String& name) { return map_.Remove(name); }
  bool Rename(const cow_String& oldName, const cow_String& newName);
  const udd_UserXYData& ConstGet(const cow_String& name) const { return map_.ConstGet(name); }
  udd_UserXYData& Get(const cow_String& name) { return map_.Get(name); }
  bool Copy(const cow_String& from, const cow_String& to);
  void Clear() { map_.Clear(); }
  int Size() const { return static_cast<int>(map_.Size()); }
  bool IsMember(const cow_String& name) const { return map_.IsMember(name); }
  // The names, and one tuple of (x, y) tuples per record, in the map's plain order.
  omu_Result Keys() const;
  omu_Result Values() const;
  std::unique_ptr<mdl_Extension> Copy() const override;

 private:
  cow_Map<cow_String, udd_UserXYData> map_;
};
