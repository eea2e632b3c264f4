#pragma once
// The XY report settings: one process-wide record with a default set and a current set. Nothing
// is range-checked here: values are kept as given; the report writer refuses settings it cannot
// use and takes numDigits within 1 to 1,000, the digits numbers are written with.
#include "xypC_Enumerations.h"

struct xypC_XYReportSettings {
  int pageWidth = 80;
  int numDigits = 6;
  bool interpolation = false;
  bool xyData = true;
  bool totals = false;
  bool minMax = false;
  xypC_PageWidthEnum pageWidthLimited = xypC_NO_LIMIT;
  xypC_FormatEnum numberFormat = xypC_AUTOMATIC;
  xypC_ColumnLayoutEnum layout = xypC_SINGLE_TABLE;
};

class xypC_XYReportOptions {
 public:
  static xypC_XYReportOptions& TheInstance();
  static void Finalize();

  xypC_XYReportSettings& Default() { return default_; }
  xypC_XYReportSettings& Current() { return current_; }
  xypC_XYReportSettings& Set(bool isDefault) { return isDefault ? default_ : current_; }

 private:
  xypC_XYReportSettings default_;
  xypC_XYReportSettings current_;
};
