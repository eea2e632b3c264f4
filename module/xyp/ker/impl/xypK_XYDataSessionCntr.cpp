#include "xypK_XYDataSessionCntr.h"

#include "omi_Singleton.h"
#include "omu_PrimString.h"
#include "omu_PrimTuple.h"
#include "xypK_XYToolset.h"

xypK_XYDataSessionCntr& xypK_XYDataSessionCntr::Instance() {
  return omi_Singleton<xypK_XYDataSessionCntr>::Instance();
}

void xypK_XYDataSessionCntr::Finalize() {
  if (Exists()) Instance().Clear();
  omi_Singleton<xypK_XYDataSessionCntr>::Finalize();
}

bool xypK_XYDataSessionCntr::Exists() {
  return omi_Singleton<xypK_XYDataSessionCntr>::Exists();
}

void xypK_XYDataSessionCntr::Clear() {
  map_.Clear();
}

bool xypK_XYDataSessionCntr::Copy(const cow_String& from, const cow_String& to) {
  if (!map_.IsMember(from)) return false;
  udd_UserXYData copy = map_.ConstGet(from);
  map_.Insert(to, copy);
  return true;
}

bool xypK_XYDataSessionCntr::Rename(const cow_String& oldName, const cow_String& newName) {
  if (!map_.IsMember(oldName)) return false;
  if (oldName == newName) return true;  // nothing moves
  udd_UserXYData moved = map_.ConstGet(oldName);
  moved.SetName(newName);
  // A legend that followed the name keeps following it.
  if (moved.LegendLabel() == oldName) moved.SetLegendLabel(newName);
  map_.Remove(oldName);
  map_.Remove(newName);
  map_.Insert(newName, moved);
  return true;
}

cow_List<cow_String> xypK_XYDataSessionCntr::Keys() const {
  cow_List<cow_String> keys;
  for (cow_Map<cow_String, udd_UserXYData>::SortedConstIterator it(map_, false); !it.IsDone();
       it.Next())
    keys.Prepend(it.Key());
  return keys;
}

void xypK_XYDataSessionCntr::Update(const cow_String& name) {
  if (xypK_XYToolset::Exists()) xypK_XYToolset::Instance().UpdateXYData(name);
}

omu_Result xypK_XYDataSessionCntr::Summary() const {
  if (map_.IsEmpty()) return std::make_unique<omu_PrimString>("EMPTY SUMMARY");
  auto rows = std::make_unique<omu_PrimTuple>();
  for (cow_Map<cow_String, udd_UserXYData>::SortedConstIterator it(map_, true); !it.IsDone();
       it.Next()) {
    auto row = std::make_unique<omu_PrimTuple>(2);
    row->Put(0, std::make_unique<omu_PrimString>(it.Key()));
    row->Put(1, std::make_unique<omu_PrimString>(it.Value().Description()));
    rows->Append(std::move(row));
  }
  return rows;
}
