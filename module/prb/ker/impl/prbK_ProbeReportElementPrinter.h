#pragma once
// The probe report of a model's elements: the source block with the field's category and section
// point lines, the connectivity block (three id columns, then the node labels, a page width's
// worth to a line) and the field block (a line per value), then the footers.
#include "prbK_ProbeReportOdbPrinter.h"

enum prbK_ProbeReportElementPrinterEnm : int { prbK_MSG_ElementValuesReported = 0 };

template <>
const uti_LabelMap<prbK_ProbeReportElementPrinterEnm, 1>::Row
    uti_LabelMap<prbK_ProbeReportElementPrinterEnm, 1>::table[];

class prbK_ProbeReportElementPrinter : public prbK_ProbeReportOdbPrinter {
 public:
  using prbK_ProbeReportOdbPrinter::prbK_ProbeReportOdbPrinter;

  void PrintSourceInformation(const cow_1DArrayList<cow_String>& lines) override;
  void PrintDataToFile(int sortColumn) override;
  void PrintFieldData(int sortColumn) override;

 private:
  void CalculateRowParameters();
  void PrintHeader();
  void PrintModelData();
};
