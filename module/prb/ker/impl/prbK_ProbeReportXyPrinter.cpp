#include "prbK_ProbeReportXyPrinter.h"

#include <algorithm>

#include "prbK_ProbeReportUtils.h"
#include "prbK_ProbeToolset.h"
#include "utl_Translate.h"

void prbK_ProbeReportXyPrinter::PrintSourceInformation(const cow_1DArrayList<cow_String>&) {
  Write(utl_tr("Source\n-------\n\n"));
  if (prbK_ProbeToolset::Instance().ProbeObject() != prbK_ProbeToolset::kXyPlot) return;
  Write("   ");
  Write(utl_tr("XYPlot: "));
  Write(objectName_);
  Write("\n");
}

void prbK_ProbeReportXyPrinter::PrintDataToFile(int) {
  CalculateRowParameters();
  PrintHeader();
  PrintFieldData();
  if (Options().printMinMax || Options().printTotal) PrintFooter();
  ClearRows();
}

int prbK_ProbeReportXyPrinter::CalulateFloatingFieldWidth() const {
  int widest = 12;
  for (const prbK_RowBasedDataList& row : fieldRows_)
    if (!row.cells.IsEmpty()) widest = std::max(widest, static_cast<int>(row.cells[0].Length()));
  return widest;
}

void prbK_ProbeReportXyPrinter::CalculateRowParameters() {
  legendWidth_ = CalulateFloatingFieldWidth();
  valueWidth_ = ValueWidth();
  lineWidth_ = legendWidth_ + kIdWidth + 9 + 2 * valueWidth_;
}

void prbK_ProbeReportXyPrinter::PrintHeader() {
  std::size_t k = 0;
  for (const prbK_RowBasedHeaderFooterList& row : headerFooterRows_) {
    if (k++ != 1) continue;  // the second title row; the first is empty
    std::size_t c = 0;
    for (const cow_String& title : row.cells) {
      Right(title, c == 0 ? legendWidth_ : c == 1 ? kIdWidth : valueWidth_);
      ++c;
    }
    Write("\n");
  }
  Dashes(lineWidth_);
}

void prbK_ProbeReportXyPrinter::PrintFieldData() {
  const int rows = static_cast<int>(fieldRows_.Size());
  int done = 0;
  for (const prbK_RowBasedDataList& row : fieldRows_) {
    Milestone(prbK_WRITING_REPORT, done++, rows);
    for (std::size_t c = 0; c < row.cells.Size(); ++c) {
      if (c == 0)
        Right(row.cells[c], legendWidth_);
      else if (c == 1)
        Right(row.cells[c], kIdWidth);
      else
        Right(NumberCell(row.cells[c]), valueWidth_);
    }
    Write("\n");
  }
  Write("\n\n");
}

void prbK_ProbeReportXyPrinter::PrintFooter() {
  const cow_String maximum = utl_tr("Maximum\\@probe"), minimum = utl_tr("Minimum\\@probe");
  std::size_t k = 0;
  for (const prbK_RowBasedHeaderFooterList& row : headerFooterRows_) {
    if (k++ < 2) continue;  // the titles
    if (row.cells.IsEmpty()) {
      Write("\n");
      continue;
    }
    std::size_t c = 0;
    for (const cow_String& cell : row.cells) {
      if (c == 0) {
        if (cell == maximum || cell == minimum)
          Left(cell, legendWidth_);
        else
          Right(cell, legendWidth_);
      } else {
        const cow_String text =
            prbK_ProbeReportUtils::IsFloat(cell.CStr()) == prbK_NUMBER ? NumberCell(cell) : cell;
        Right(text, c < static_cast<std::size_t>(kIdColumns) ? kIdWidth : valueWidth_);
      }
      ++c;
    }
    Write("\n");
  }
  Write("\n\n");
}
