#pragma once
// The session's XY data repository: records kept by name, listed in ascending name order.
#include "cow_List.h"
#include "cow_Map.h"
#include "omu_Primitive.h"
#include "udd_UserXYData.h"

class xypK_XYDataSessionCntr {
 public:
  static xypK_XYDataSessionCntr& Instance();
  static void Finalize();
  static bool Exists();

  void Clear();
  bool IsEmpty() const { return map_.IsEmpty(); }
  int Size() const { return static_cast<int>(map_.Size()); }
  bool IsMember(const cow_String& name) const { return map_.IsMember(name); }
  const udd_UserXYData& ConstGet(const cow_String& name) const { return map_.ConstGet(name); }
  udd_UserXYData& Get(const cow_String& name) { return map_.Get(name); }
  void Insert(const cow_String& name, const udd_UserXYData& record) { map_.Insert(name, record); }
  bool Remove(const cow_String& name) { return map_.Remove(name); }
  bool Copy(const cow_String& from, const cow_String& to);
  bool Rename(const cow_String& oldName, const cow_String& newName);
  cow_List<cow_String> Keys() const;
  // Tells the toolset that the data of `name` changed.
  void Update(const cow_String& name);
  // "EMPTY SUMMARY", or a tuple of (name, description) rows in ascending name order.
  omu_Result Summary() const;

 private:
  cow_Map<cow_String, udd_UserXYData> map_;
};
