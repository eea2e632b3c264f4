#include "cmdC_PrbMessageTable.h"

#include "omi_Singleton.h"

cmdC_PrbMessageTable& cmdC_PrbMessageTable::Instance() {
  return omi_Singleton<cmdC_PrbMessageTable>::Instance();
}

void cmdC_PrbMessageTable::Finalize() {
  omi_Singleton<cmdC_PrbMessageTable>::Finalize();
}

std::unique_ptr<cmdC_MessageType> cmdC_PrbMessageTable::WarningInvalidSortItem(
    const cow_String& column) const {
  return std::make_unique<cmdC_MessageType>(
      "The values cannot be sorted by the column \"" + column + "\"",
      cmdC_MessageType::Severity::Warning);
}
