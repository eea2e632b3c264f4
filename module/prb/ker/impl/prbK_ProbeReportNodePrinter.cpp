#include "prbK_ProbeReportNodePrinter.h"

#include <string>

#include "omi_Assert.h"
#include "prbK_ProbeReportUtils.h"

template <>
const uti_LabelMap<prbK_ProbeReportNodePrinterEnm,
                   1>::Row uti_LabelMap<prbK_ProbeReportNodePrinterEnm, 1>::table[] = {
    {"Probe values reported ", "prbK_ProbeReportNodePrinter_MSGID_00", prbK_MSG_NodeValuesReported},
    {nullptr, nullptr, prbK_MSG_NodeValuesReported}};

namespace {
constexpr int kIds = 2;
}

void prbK_ProbeReportNodePrinter::PrintDataToFile(int sortColumn) {
  Write(uti_LabelMap<prbK_ProbeReportNodePrinterEnm, 1>::LabelString(prbK_MSG_NodeValuesReported));
  Write(outputPosition_);
  Write("\n\n");
  modelMode_ = true;
  CalculateRowParameters(1 + NamedSets());
  if (!modelRows_.IsEmpty())
    for (int b = 0; b < numOfBlocks_; ++b) {
      PrintHeader(b);
      PrintModelData(b);
    }
  modelMode_ = false;
  if (!fieldRows_.IsEmpty()) {
    PrintHeader(0);
    PrintFieldData(sortColumn);
    if (Options().printMinMax || Options().printTotal) PrintFooter();
  }
  ClearRows();
}

void prbK_ProbeReportNodePrinter::PrintFieldData(int sortColumn) {
  elementMode_ = false;
  prbK_ProbeReportOdbPrinter::PrintFieldData(sortColumn);
}

int prbK_ProbeReportNodePrinter::NamedSets() const {
  const int titles = static_cast<int>(TitleRow(0).Size());
  return titles > kIds ? titles - kIds : 0;
}

std::vector<int> prbK_ProbeReportNodePrinter::BlockSets(int block) const {
  std::vector<int> sets;
  const int named = NamedSets();
  if (numOfBlocks_ == 1)
    for (int s = 0; s < named; ++s) sets.push_back(s);
  else if (block < named)
    sets.push_back(block);
  return sets;
}

void prbK_ProbeReportNodePrinter::CalculateRowParameters(int columns) {
  idColumns_ = kIds;
  idWidth_ = 10;
  valueWidth_ = ValueWidth();
  numOfBlocks_ = 1;
  const int set = 3 * (valueWidth_ + 2);
  if (columns <= 1) {
    lineWidth_ = 2 * 10 + 5;
  } else if (columns == 2) {
    lineWidth_ = 25 + set;
  } else {
    lineWidth_ = 25 + 2 * set;
    if (Options().pageWidth == 1 && Options().numColumns < lineWidth_) {
      numOfBlocks_ = 2;
      lineWidth_ = 25 + set;
    }
  }
  OMI_ASSERT((numOfBlocks_ == 1 || numOfBlocks_ == 2) && "numOfBlocks not equal to 1 or 2");
}

void prbK_ProbeReportNodePrinter::PrintHeader(int block) {
  if (!modelMode_) {
    // The field titles: the dash line is as long as the title line, plus one.
    int width = 0;
    std::size_t c = 0;
    for (const cow_String& title : TitleRow(1)) {
      const cow_String cell = prbK_ProbeReportUtils::RightString(
          title, c++ < static_cast<std::size_t>(kIds) ? 10 : valueWidth_);
      Write("  ");
      Write(cell);
      width += 2 + static_cast<int>(cell.Length());
    }
    Write("\n");
    Dashes(width + 1);
    return;
  }
  const cow_List<cow_String> titles = TitleRow(0);
  std::size_t c = 0;
  for (const cow_String& title : titles) {
    if (c++ >= static_cast<std::size_t>(kIds)) break;
    Right(title, 10);
  }
  const std::vector<int> sets = BlockSets(block);
  for (int s : sets) {
    Write("  ");
    Write(prbK_ProbeReportUtils::CenterString(titles[static_cast<std::size_t>(kIds + s)],
                                              3 * valueWidth_ + 4));
  }
  Write("\n");
  Write(cow_String(std::string(static_cast<std::size_t>(kIds * 12), ' ')));
  for (std::size_t s = 0; s < sets.size(); ++s)
    for (const char* axis : {"X", "Y", "Z"}) {
      Write("  ");
      Write(prbK_ProbeReportUtils::CenterString(axis, valueWidth_));
    }
  Write("\n");
  Dashes(lineWidth_);
}

void prbK_ProbeReportNodePrinter::PrintModelData(int block) {
  const std::vector<int> sets = BlockSets(block);
  const int rows = static_cast<int>(modelRows_.Size());
  int done = 0;
  for (const prbK_RowBasedDataList& row : modelRows_) {
    Milestone(prbK_WRITING_MODEL, done++, rows);
    for (std::size_t c = 0; c < static_cast<std::size_t>(kIds) && c < row.cells.Size(); ++c)
      Right(row.cells[c], 10);
    for (int s : sets)
      for (std::size_t c = static_cast<std::size_t>(kIds + 3 * s);
           c < static_cast<std::size_t>(kIds + 3 * s + 3) && c < row.cells.Size(); ++c)
        Right(NumberOrText(row.cells[c]), valueWidth_);
    Write("\n");
  }
  Write("\n\n");
}
