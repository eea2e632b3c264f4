#include "cmdC_XypMessageTable.h"

#include "omi_Singleton.h"

cmdC_XypMessageTable& cmdC_XypMessageTable::Instance() {
  return omi_Singleton<cmdC_XypMessageTable>::Instance();
}

void cmdC_XypMessageTable::Finalize() {
  omi_Singleton<cmdC_XypMessageTable>::Finalize();
}

std::unique_ptr<cmdC_MessageType> cmdC_XypMessageTable::WarningOutOfRangeFrequency(
    const cow_String& a, const cow_String& b) const {
  return std::make_unique<cmdC_MessageType>(
      "Skip frequency reduced to " + b + " for step(s) " + a,
      cmdC_MessageType::Severity::Warning);
}

std::unique_ptr<cmdC_MessageType> cmdC_XypMessageTable::WarningInvalidDataForXYPlot() const {
  return std::make_unique<cmdC_MessageType>("The data is not valid for an XY plot",
                                            cmdC_MessageType::Severity::Warning);
}
