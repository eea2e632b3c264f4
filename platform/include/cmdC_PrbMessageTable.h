#pragma once
// The message library's probe table: warnings whose texts belong to the library.
#include <memory>

#include "cmdC_MessageType.h"
#include "cow_String.h"

class cmdC_PrbMessageTable {
 public:
  static cmdC_PrbMessageTable& Instance();
  static void Finalize();

  // A sort by a column that cannot be sorted by; the caller owns the returned message.
  std::unique_ptr<cmdC_MessageType> WarningInvalidSortItem(const cow_String& column) const;
};
