#pragma once
// Writes XY data to a text report: one table with a shared X column and a Y column per data set
// (rows merged over all X values, split into pages of columns when the page width is limited),
// or a two-column table per data set; with totals and minima and maxima on request. The layout
// comes from the current XY report options. Long reports check for a user interruption every
// few thousand rows; an interrupted report, or one whose writing fails, leaves the file as it was
// (xypK_ReportFile). A row refused by the interpolation check keeps the rows before it.
#include <cstdio>
#include <string>

#include "cow_List.h"
#include "cow_Map.h"
#include "udd_UserXYData.h"
#include "xypC_Enumerations.h"

class xypK_WriteReport {
 public:
  using DataMap = cow_Map<cow_String, udd_UserXYData>;

  void WriteReport(bool append, cow_String fileName, DataMap& data, cow_List<cow_String>& names,
                   cow_String xTitle, cow_String yTitle);
  void SingleTablePrint(std::FILE* file, cow_List<cow_String>& names, DataMap& data, int first,
                        int count, int digits, bool xyData, bool totals, bool minMax,
                        bool interpolation, xypC_FormatEnum format, int W);
  void SeparateTablePrint(std::FILE* file, cow_List<cow_String>& names, DataMap& data, int digits,
                          bool xyData, bool totals, bool minMax, xypC_FormatEnum format, int W);
  cow_String TitleLine(cow_List<cow_String>& names, int first, int count, int W,
                       xypC_FormatEnum format);

 private:
  // Sends the text gathered so far to the file; a failed write raises the file error.
  void Flush(std::FILE* file, std::string& text);
  cow_String path_;
};
