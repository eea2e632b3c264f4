#include "typ_ArchCompTable.h"

#include "omi_Singleton.h"

typ_ArchCompTable& typ_ArchCompTable::Instance() {
  return omi_Singleton<typ_ArchCompTable>::Instance();
}
void typ_ArchCompTable::Finalize() {
  omi_Singleton<typ_ArchCompTable>::Finalize();
}

void typ_ArchCompTable::InsertEntry(int componentId, const typ_ArchCompEntry& entry) {
  entries_[componentId] = entry;
}

const typ_ArchCompEntry* typ_ArchCompTable::FindEntry(int componentId) const {
  auto it = entries_.find(componentId);
  return it == entries_.end() ? nullptr : &it->second;
}
