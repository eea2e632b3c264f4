#pragma once
// How a probe report is written: row order of a sort, page width, digits and number format, and
// the footers. The probe toolset keeps a current and a default record.
#include "prbC_Enumerations.h"

struct prbC_ProbeReportCTX {
  bool initialized = false;
  prbC_SortEnm sortOrder = prbC_ASCENDING;  // 0 ascending, anything else descending
  int numColumns = 80;                      // page width in characters, with SPECIFY
  int numDigits = 6;
  prbC_PageWidthEnm pageWidth = prbC_NO_LIMIT;
  prbC_FormatEnm numFormat = prbC_AUTOMATIC;
  bool printTotal = false;
  bool printMinMax = false;
};
