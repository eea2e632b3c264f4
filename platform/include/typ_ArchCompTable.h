#pragma once
// The type library's table of architecture components: each module registers its entry under its
// component id.
#include <map>

struct typ_Entry {
  int kind = 0;
  int id = 0;
  const char* name = nullptr;
  void* data = nullptr;
};

struct typ_ArchCompEntry {
  const typ_Entry* rows = nullptr;
  int rowCount = 0;
};

class typ_ArchCompTable {
 public:
  static typ_ArchCompTable& Instance();
  static void Finalize();
  void InsertEntry(int componentId, const typ_ArchCompEntry& entry);
  // Null when no entry has that id.
  const typ_ArchCompEntry* FindEntry(int componentId) const;

 private:
  std::map<int, typ_ArchCompEntry> entries_;
};
