#include "prbK_ProbeReportElementPrinter.h"

#include <algorithm>

template <>
const uti_LabelMap<prbK_ProbeReportElementPrinterEnm, 1>::Row
    uti_LabelMap<prbK_ProbeReportElementPrinterEnm, 1>::table[] = {
        {"Probe values reported ", "prbK_ProbeReportElementPrinter_MSGID_00",
         prbK_MSG_ElementValuesReported},
        {nullptr, nullptr, prbK_MSG_ElementValuesReported}};

void prbK_ProbeReportElementPrinter::PrintSourceInformation(
    const cow_1DArrayList<cow_String>& lines) {
  prbK_ProbeReportOdbPrinter::PrintSourceInformation(lines);
  for (const cow_String& line : lines) {
    Write(line);
    Write("\n");
  }
  Write("\n");
}

void prbK_ProbeReportElementPrinter::PrintDataToFile(int sortColumn) {
  Write(uti_LabelMap<prbK_ProbeReportElementPrinterEnm, 1>::LabelString(
      prbK_MSG_ElementValuesReported));
  Write(outputPosition_);
  Write("\n\n");
  modelMode_ = true;
  CalculateRowParameters();
  if (!modelRows_.IsEmpty()) {
    PrintHeader();
    PrintModelData();
  }
  modelMode_ = false;
  CalculateRowParameters();
  if (!fieldRows_.IsEmpty()) {
    PrintHeader();
    PrintFieldData(sortColumn);
    if (Options().printMinMax || Options().printTotal) PrintFooter();
  }
  ClearRows();
}

void prbK_ProbeReportElementPrinter::PrintFieldData(int sortColumn) {
  elementMode_ = true;
  prbK_ProbeReportOdbPrinter::PrintFieldData(sortColumn);
}

void prbK_ProbeReportElementPrinter::CalculateRowParameters() {
  idColumns_ = 3;
  idWidth_ = 10;
  valueWidth_ = modelMode_ ? 10 : ValueWidth();
  const prbC_ProbeReportCTX& options = Options();
  if (options.pageWidth == 1) {
    if (options.numColumns < 36) {
      perLine_ = 1;
      lineWidth_ = 48;
    } else {
      perLine_ = std::max((options.numColumns - 36 + 1) / 12, 1);
      lineWidth_ = 36 + 12 * perLine_;
    }
  } else {
    perLine_ = 0;
    lineWidth_ = 36 + 12 * 27;
  }
  lineWidth_ += 1;
}

void prbK_ProbeReportElementPrinter::PrintHeader() {
  std::size_t c = 0;
  for (const cow_String& title : TitleRow(modelMode_ ? 0 : 1))
    Right(title, c++ < static_cast<std::size_t>(idColumns_) ? 10 : valueWidth_);
  Write("\n");
  Dashes(lineWidth_);
}

void prbK_ProbeReportElementPrinter::PrintModelData() {
  const int rows = static_cast<int>(modelRows_.Size());
  int done = 0;
  for (const prbK_RowBasedDataList& row : modelRows_) {
    Milestone(prbK_WRITING_MODEL, done++, rows);
    std::size_t c = 0;
    for (; c < 3 && c < row.cells.Size(); ++c) Right(row.cells[c], 10);
    int onLine = 0;
    for (; c < row.cells.Size(); ++c) {
      if (perLine_ > 0 && onLine == perLine_) {
        Write("\n");
        for (int k = 0; k < 3; ++k) Right(cow_String(), 10);
        onLine = 0;
      }
      Right(row.cells[c], 10);
      ++onLine;
    }
    Write("\n");
  }
  Write("\n\n");
}
