#pragma once
// Texts of the results database's enumerations for reports.
#include "cow_String.h"
#include "res_Enumerations.h"

class odiC_Utils {
 public:
  // Where values were taken, as a report's phrase: "at nodes", "at integration points", ...
  static cow_String ConvertOutputPosition(res_OutputPositionEnm position);
};
