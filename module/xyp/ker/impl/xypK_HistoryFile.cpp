#include "xypK_HistoryFile.h"

cow_List<cow_String> xypK_HistoryFile::HistoryLabels() const {
  cow_List<cow_String> labels;
  for (const auto& entry : items) labels.Append(entry.first);
  return labels;
}

cow_List<cow_String> xypK_HistoryFile::HistoryLegends() const {
  cow_List<cow_String> legends;
  for (const auto& entry : items) legends.Append(entry.second->legend);
  return legends;
}

const xypK_HistoryItem* xypK_HistoryFile::Find(const cow_String& label) const {
  const std::shared_ptr<xypK_HistoryItem>* item = items.Find(label);
  return item ? item->get() : nullptr;
}
