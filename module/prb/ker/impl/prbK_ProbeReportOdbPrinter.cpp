#include "prbK_ProbeReportOdbPrinter.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "omi_Assert.h"
#include "prbK_ProbeReportUtils.h"

void prbK_ProbeReportOdbPrinter::SetStepFrameLabels(const cow_String& step, const cow_String& frame,
                                                    const cow_String& extra) {
  stepLabel_ = step;
  frameLabel_ = frame;
  extraLabel_ = extra;
}

void prbK_ProbeReportOdbPrinter::SetOutputPosition(const cow_String& position) {
  outputPosition_ = position;
}

void prbK_ProbeReportOdbPrinter::PrintSourceInformation(const cow_1DArrayList<cow_String>&) {
  Write("Source\n-------\n\n");
  Write("   ODB: ");
  Write(objectName_);
  Write("\n   Step: ");
  Write(stepLabel_);
  Write("\n   Frame: ");
  Write(frameLabel_);
  Write("\n");
  if (!extraLabel_.IsEmpty()) {
    Write("   ");
    Write(extraLabel_);
    Write("\n");
  }
  Write("\n");
}

cow_List<cow_String> prbK_ProbeReportOdbPrinter::TitleRow(std::size_t index) const {
  std::size_t k = 0;
  for (const prbK_RowBasedHeaderFooterList& row : headerFooterRows_)
    if (k++ == index) return row.cells;
  return {};
}

cow_String prbK_ProbeReportOdbPrinter::NumberOrText(const cow_String& cell) const {
  return prbK_ProbeReportUtils::IsFloat(cell.CStr()) == prbK_NUMBER ? NumberCell(cell) : cell;
}

void prbK_ProbeReportOdbPrinter::PrintFieldData(int sortColumn) {
  const std::size_t ids = static_cast<std::size_t>(idColumns_);
  // Whole-element values (no position word among the titles) have no sequence numbers.
  const bool valuesOnly = elementMode_ && TitleRow(1).Size() == ids + 1;
  std::vector<prbK_RowBasedDataList> printed;
  const int rows = static_cast<int>(fieldRows_.Size());
  int done = 0;
  for (const prbK_RowBasedDataList& row : fieldRows_) {
    Milestone(prbK_FORMATTING_FIELD, done++, rows);
    for (std::size_t p = ids; p + 1 < row.cells.Size(); p += 2) {
      prbK_RowBasedDataList line;
      for (std::size_t c = 0; c < ids; ++c) line.cells.Append(row.cells[c]);
      if (!valuesOnly) line.cells.Append(row.cells[p]);
      line.cells.Append(row.cells[p + 1]);
      printed.push_back(line);
    }
  }
  if (sortColumn > 0) {
    const bool ascending = Options().sortOrder == 0;
    for (prbK_RowBasedDataList& line : printed)
      line.sortCol = static_cast<int>(line.cells.Size()) - 1;
    std::stable_sort(printed.begin(), printed.end(), [ascending](const auto& a, const auto& b) {
      const double x = std::atof(a.cells[static_cast<std::size_t>(a.sortCol)].CStr());
      const double y = std::atof(b.cells[static_cast<std::size_t>(b.sortCol)].CStr());
      return ascending ? x < y : y < x;
    });
  }
  done = 0;
  const int lines = static_cast<int>(printed.size());
  for (const prbK_RowBasedDataList& line : printed) {
    Milestone(prbK_WRITING_FIELD, done++, lines);
    const std::size_t last = line.cells.Size() - 1;
    OMI_ASSERT(last >= ids && "error while printing field data");
    for (std::size_t c = 0; c < last; ++c) Right(line.cells[c], c < ids ? idWidth_ : valueWidth_);
    const cow_String& value = line.cells[last];
    switch (prbK_ProbeReportUtils::IsFloat(value.CStr())) {
      case prbK_NUMBER:
        Right(NumberCell(value), valueWidth_);
        break;
      case prbK_NO_VALUE:
        Right("NoValue", valueWidth_);
        break;
      default:
        Right(cow_String(), valueWidth_);
    }
    Write("\n");
  }
  Write("\n\n");
}

void prbK_ProbeReportOdbPrinter::PrintFooter() {
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
        if (cell == "Minimum" || cell == "Maximum")
          Left(cell, idWidth_);
        else
          Right(cell, idWidth_);
      } else {
        Right(NumberOrText(cell),
              c < static_cast<std::size_t>(idColumns_) ? idWidth_ : valueWidth_);
      }
      ++c;
    }
    Write("\n");
  }
  Write("\n\n");
}
