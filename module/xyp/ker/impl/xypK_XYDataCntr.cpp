#include "xypK_XYDataCntr.h"

#include "omu_PrimList.h"
#include "omu_PrimString.h"
#include "omu_PrimTuple.h"

// The old name is checked before anything is removed: a failed rename must not delete the record
// stored under the new name, and renaming a name onto itself changes nothing.
bool xypK_XYDataCntr::Rename(const cow_String& oldName, const cow_String& newName) {
  if (!map_.IsMember(oldName)) return false;
  if (oldName == newName) return true;
  udd_UserXYData moved = map_.ConstGet(oldName);
  moved.SetName(newName);
  map_.Remove(newName);
  map_.Remove(oldName);
  map_.Insert(newName, moved);
  return true;
}

bool xypK_XYDataCntr::Copy(const cow_String& from, const cow_String& to) {
  if (!map_.IsMember(from)) return false;
  udd_UserXYData copy = map_.ConstGet(from);
  map_.Insert(to, copy);
  return true;
}

omu_Result xypK_XYDataCntr::Keys() const {
  auto keys = std::make_unique<omu_PrimList>();
  for (cow_Map<cow_String, udd_UserXYData>::ConstIterator it(map_); !it.IsDone(); it.Next())
    keys->Append(std::make_unique<omu_PrimString>(it.Key()));
  return keys;
}

omu_Result xypK_XYDataCntr::Values() const {
  auto values = std::make_unique<omu_PrimList>();
  for (cow_Map<cow_String, udd_UserXYData>::ConstIterator it(map_); !it.IsDone(); it.Next()) {
    std::vector<double> xy;
    const udd_UserXYData& record = it.Value();
    xy.reserve(record.Size() * 2);
    for (std::size_t i = 0; i < record.Size(); ++i) {
      xy.push_back(record.Pair(i).x);
      xy.push_back(record.Pair(i).y);
    }
    auto pairs = std::make_unique<omu_PrimTuple>();
    pairs->SetPairs(std::move(xy));
    values->Append(std::move(pairs));
  }
  return values;
}

std::unique_ptr<mdl_Extension> xypK_XYDataCntr::Copy() const {
  return std::make_unique<xypK_XYDataCntr>(*this);
}
