#pragma once
// The message library's XY-plot table: warnings whose texts belong to the library.
#include <memory>

#include "cmdC_MessageType.h"
#include "cow_String.h"

class cmdC_XypMessageTable {
 public:
  static cmdC_XypMessageTable& Instance();
  static void Finalize();

  // The caller owns the returned message.
  std::unique_ptr<cmdC_MessageType> WarningOutOfRangeFrequency(const cow_String& a,
                                                               const cow_String& b) const;
  std::unique_ptr<cmdC_MessageType> WarningInvalidDataForXYPlot() const;
};
