#pragma once
// The probe report of an XY plot: the source block, one title line and a dash line, a line per
// probed point (legend, sequence, x, y) and, when asked for, the minimum, maximum and total
// footers. Rows are written in the table's order.
#include "prbK_ProbeReportPrinter.h"

class prbK_ProbeReportXyPrinter : public prbK_ProbeReportPrinter {
 public:
  using prbK_ProbeReportPrinter::prbK_ProbeReportPrinter;

  void PrintSourceInformation(const cow_1DArrayList<cow_String>& lines) override;
  void PrintDataToFile(int sortColumn) override;

 private:
  void CalculateRowParameters();
  void PrintHeader();
  void PrintFieldData();
  void PrintFooter();
  // The legend column: its longest text, at least 12.
  int CalulateFloatingFieldWidth() const;

  static constexpr int kIdColumns = 2;
  static constexpr int kIdWidth = 12;
  int valueWidth_ = 14;
  int lineWidth_ = 0;
  int legendWidth_ = 12;
};
