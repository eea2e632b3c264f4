#pragma once
// The probe report of a model's nodes: the coordinates block (two id columns, then the original
// and deformed coordinates, in two blocks when both do not fit the page) and the field block (a
// line per attached element and value), then the footers.
#include <vector>

#include "prbK_ProbeReportOdbPrinter.h"

enum prbK_ProbeReportNodePrinterEnm : int { prbK_MSG_NodeValuesReported = 0 };

template <>
const uti_LabelMap<prbK_ProbeReportNodePrinterEnm, 1>::Row
    uti_LabelMap<prbK_ProbeReportNodePrinterEnm, 1>::table[];

class prbK_ProbeReportNodePrinter : public prbK_ProbeReportOdbPrinter {
 public:
  using prbK_ProbeReportOdbPrinter::prbK_ProbeReportOdbPrinter;

  void PrintDataToFile(int sortColumn) override;
  void PrintFieldData(int sortColumn) override;

 private:
  // `columns`: 1 + the coordinate sets shown (0, 1 or 2).
  void CalculateRowParameters(int columns);
  void PrintHeader(int block);
  void PrintModelData(int block);
  // The coordinate sets a block shows, as positions among the sets named in the first title row.
  std::vector<int> BlockSets(int block) const;
  int NamedSets() const;
};
