#pragma once
// The history lists of one results file: its labels in ascending order, each with its item, the
// stamp that says when to rebuild them, and whether any output of the file is complex.
#include <cstdint>
#include <memory>

#include "cow_List.h"
#include "cow_String.h"
#include "omi_Btree.h"
#include "xypK_HistoryItem.h"

class xypK_HistoryFile {
 public:
  using Items = omi_Btree<cow_String, std::shared_ptr<xypK_HistoryItem>>;

  xypK_HistoryFile() = default;
  ~xypK_HistoryFile() { ClearHistoryItems(); }
  xypK_HistoryFile(const xypK_HistoryFile&) = delete;
  xypK_HistoryFile& operator=(const xypK_HistoryFile&) = delete;

  std::int64_t stamp = 0;  // steps plus the time stamps of the steps with history output
  bool complex = false;
  Items items;

  void ClearHistoryItems() { items.Clear(); }
  cow_List<cow_String> HistoryLabels() const;
  cow_List<cow_String> HistoryLegends() const;
  // The item of a label; null when the file has no such label.
  const xypK_HistoryItem* Find(const cow_String& label) const;
};
