#pragma once
// Readers that build an XY data record from a command's arguments.
#include <memory>

#include "omu_Arguments.h"
#include "udd_UserXYData.h"

class xypK_ReadData {
 public:
  // From pairs typed by the user ("name", "data"), or a copy of an XY data object
  // ("objectToCopy", or the old "xyData"), with optional descriptions and labels.
  static std::unique_ptr<udd_UserXYData> FromKeyboard(omu_Arguments& args);
  // Sets the record's pairs from a sequence of (x, y) pairs, checked as typed data is checked: at
  // least one pair, each item exactly two numbers. Raises the catalogue's error, changing nothing,
  // otherwise.
  static void SetCheckedPairs(const omu_PrimSequence& data, udd_UserXYData& record);
};
