#include "prbK_SelectedProbeValues.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <numeric>

#include "odiC_Utils.h"
#include "omi_Assert.h"
#include "omi_Singleton.h"
#include "prbK_MessageTypes.h"
#include "prbK_ProbeReportElementPrinter.h"
#include "prbK_ProbeReportNodePrinter.h"
#include "prbK_ProbeReportUtils.h"
#include "prbK_ProbeReportXyPrinter.h"
#include "prbK_ProbeToolset.h"
#include "uti_PreCheckFile.h"
#include "xypK_ReportFile.h"

template <>
const uti_LabelMap<prbK_SelectedProbeValuesEnm, 1>::Row
    uti_LabelMap<prbK_SelectedProbeValuesEnm, 1>::table[] = {
        {"Face", "prbK_SelectedProbeValues_MSGID_00", prbK_LBL_Face},
        {"Maximum", "prbK_SelectedProbeValues_MSGID_01", prbK_LBL_Maximum},
        {"Node", "prbK_SelectedProbeValues_MSGID_02", prbK_LBL_Node},
        {"Total", "prbK_SelectedProbeValues_MSGID_03", prbK_LBL_Total},
        {"at Sequence", "prbK_SelectedProbeValues_MSGID_04", prbK_LBL_AtSequence},
        {"Minimum", "prbK_SelectedProbeValues_MSGID_05", prbK_LBL_Minimum},
        {"Int. Pt.", "prbK_SelectedProbeValues_MSGID_06", prbK_LBL_IntPt},
        {"in Curve", "prbK_SelectedProbeValues_MSGID_07", prbK_LBL_InCurve},
        {"at Node", "prbK_SelectedProbeValues_MSGID_08", prbK_LBL_AtNode},
        {"at Element", "prbK_SelectedProbeValues_MSGID_09", prbK_LBL_AtElement},
        {"in Part Instance", "prbK_SelectedProbeValues_MSGID_10", prbK_LBL_InPartInstance},
        {nullptr, nullptr, prbK_LBL_Face}};

namespace {
cow_String Label(prbK_SelectedProbeValuesEnm key) {
  return uti_LabelMap<prbK_SelectedProbeValuesEnm, 1>::LabelString(key);
}
}  // namespace

prbK_SelectedProbeValues& prbK_SelectedProbeValues::Instance() {
  return omi_Singleton<prbK_SelectedProbeValues>::Instance();
}

void prbK_SelectedProbeValues::Finalize() {
  omi_Singleton<prbK_SelectedProbeValues>::Finalize();
}

bool prbK_SelectedProbeValues::Exists() {
  return omi_Singleton<prbK_SelectedProbeValues>::Exists();
}

prbK_SelectedProbeValues::prbK_SelectedProbeValues() {
  InitializeValues();
  InitializeOrigValues();
}

prbK_SelectedProbeValues::~prbK_SelectedProbeValues() = default;

void prbK_SelectedProbeValues::InitializeValues() {
  prbK_ProbeToolset& toolset = prbK_ProbeToolset::Instance();
  blockSize_ = std::max(toolset.TupleSize(), 1);
  values_ = cow_1DArray<cow_String>(static_cast<std::size_t>(blockSize_));
  values_.SetBlockSize(blockSize_);
  rows_ = 0;
  fieldOutputAvailable_ = false;
  fieldOutputRow_ = 0;
  const prbC_ProbeOptionsCTX options = toolset.ProbeOptions();
  const cow_String object = toolset.ObjectTypeName();
  options.BuildHeader(header_, object);
  options.BuildSortHeader(sortHeader_, object);
  // The field output column is titled by the variable probed.
  const cow_String field = prbC_ProbeOptionsCTX::kFieldOutputTitle;
  cow_String label;
  bool labelled = false;
  auto relabel = [&](const cow_List<cow_String>& titles) {
    cow_List<cow_String> out;
    for (std::size_t i = 0; i < titles.Size(); ++i) {
      if (titles[i] == field && !labelled) {
        toolset.VariableLabel(label);
        labelled = true;
      }
      out.Append(titles[i] == field ? label : titles[i]);
    }
    return out;
  };
  header_ = relabel(header_);
  sortHeader_ = relabel(sortHeader_);
}

void prbK_SelectedProbeValues::InitializeOrigValues() {
  origValues_ = cow_1DArray<cow_String>();
  origRows_ = -1;
}

const cow_String& prbK_SelectedProbeValues::Cell(int row, int column) const {
  return values_[static_cast<std::size_t>(row) * static_cast<std::size_t>(blockSize_) +
                 static_cast<std::size_t>(column)];
}

cow_1DArray<cow_String> prbK_SelectedProbeValues::GetValue(int row) const {
  OMI_ASSERT(row >= 0 && row < std::max(rows_, 1));
  cow_1DArray<cow_String> cells(static_cast<std::size_t>(blockSize_));
  for (int c = 0; c < blockSize_; ++c) cells.Set(static_cast<std::size_t>(c), Cell(row, c));
  return cells;
}

void prbK_SelectedProbeValues::AppendValues(const cow_1DArray<cow_String>& tuple) {
  OMI_ASSERT(static_cast<int>(tuple.Size()) == blockSize_ && "incorrect size");
  InitializeOrigValues();  // appending cannot be undone; first, so that no copy is shared
  const std::size_t at = static_cast<std::size_t>(rows_) * static_cast<std::size_t>(blockSize_);
  if (rows_ > 0) values_.Resize(at + static_cast<std::size_t>(blockSize_));
  for (int c = 0; c < blockSize_; ++c)
    values_.Set(at + static_cast<std::size_t>(c), tuple[static_cast<std::size_t>(c)]);
  ++rows_;
  const bool field = !tuple[tuple.Size() - 1].IsEmpty();
  if (!field && fieldOutputRow_ == rows_) {
    fieldOutputRow_ = 0;
    fieldOutputAvailable_ = false;
  } else if (field && fieldOutputRow_ == 0) {
    fieldOutputRow_ = rows_;
    fieldOutputAvailable_ = true;
  }
}

void prbK_SelectedProbeValues::ClearValues(const std::vector<long long>& rows) {
  if (IsEmpty()) return;
  std::vector<char> gone(static_cast<std::size_t>(rows_), 0);
  int kept = 0;
  for (long long n : rows)
    if (n >= 1 && n <= rows_ && !gone[static_cast<std::size_t>(n - 1)]) {
      gone[static_cast<std::size_t>(n - 1)] = 1;
      ++kept;
    }
  const cow_1DArray<cow_String> before = values_;
  const int beforeRows = rows_;
  if (rows.empty() || kept >= rows_) {
    InitializeValues();
  } else {
    cow_1DArray<cow_String> remaining(static_cast<std::size_t>(rows_ - kept) *
                                      static_cast<std::size_t>(blockSize_));
    remaining.SetBlockSize(blockSize_);
    std::size_t out = 0;
    for (int r = 0; r < rows_; ++r) {
      if (gone[static_cast<std::size_t>(r)]) continue;
      for (int c = 0; c < blockSize_; ++c) remaining.Set(out++, Cell(r, c));
    }
    OMI_ASSERT(out == remaining.Size() && "Problem with deleting rows from the table");
    values_ = remaining;
    rows_ -= kept;
    IsFieldOutputAvailable();
  }
  origValues_ = before;
  origRows_ = beforeRows;
}

bool prbK_SelectedProbeValues::Sort(const cow_String& columnTitle, int direction) {
  if (IsEmpty()) return false;
  if (!sortHeader_.IsMember(columnTitle)) {
    InitializeOrigValues();
    prbK_MessageTypes::WarningInvalidSortItem(columnTitle);
    return false;
  }
  const int column = header_.Position(columnTitle);
  OMI_ASSERT(column >= 0 && column < blockSize_);
  if (prbK_ProbeToolset::Instance().ProbeObject() == prbK_ProbeToolset::kOdb)
    for (int r = 0; r < rows_; ++r)
      if (Cell(r, column).Find(",") != Cell(r, column).Length()) {
        InitializeOrigValues();
        prbK_MessageTypes::ErrorInvalidSortItem(columnTitle);
      }
  // Keys read once: a number's value, or the text's bytes.
  struct Key {
    bool number;
    double value;
    const cow_String* text;
  };
  std::vector<Key> keys(static_cast<std::size_t>(rows_));
  for (int r = 0; r < rows_; ++r) {
    const cow_String& cell = Cell(r, column);
    const bool number = prbK_ProbeReportUtils::IsFloat(cell.CStr()) == prbK_NUMBER;
    keys[static_cast<std::size_t>(r)] = {number, number ? std::atof(cell.CStr()) : 0.0, &cell};
  }
  auto less = [&](int a, int b) {
    const Key& x = keys[static_cast<std::size_t>(a)];
    const Key& y = keys[static_cast<std::size_t>(b)];
    if (x.number != y.number) return !x.number;  // texts below numbers
    if (x.number) return x.value < y.value;
    return std::strcmp(x.text->CStr(), y.text->CStr()) < 0;
  };
  std::vector<int> order(static_cast<std::size_t>(rows_));
  std::iota(order.begin(), order.end(), 0);
  if (direction == 0)
    std::stable_sort(order.begin(), order.end(), less);
  else
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return less(b, a); });
  cow_1DArray<cow_String> sorted(values_.Size());
  sorted.SetBlockSize(blockSize_);
  std::size_t out = 0;
  for (int r : order)
    for (int c = 0; c < blockSize_; ++c) sorted.Set(out++, Cell(r, c));
  origValues_ = values_;
  origRows_ = rows_;
  values_ = sorted;
  return true;
}

void prbK_SelectedProbeValues::Undo() {
  if (!CanUndo()) return;
  values_ = origValues_;
  rows_ = origRows_;
  if (values_.IsEmpty()) values_ = cow_1DArray<cow_String>(static_cast<std::size_t>(blockSize_));
  InitializeOrigValues();
  IsFieldOutputAvailable();
}

void prbK_SelectedProbeValues::IsFieldOutputAvailable() {
  fieldOutputRow_ = 0;
  fieldOutputAvailable_ = false;
  for (int r = 0; r < rows_ && fieldOutputRow_ == 0; ++r)
    if (!Cell(r, blockSize_ - 1).IsEmpty()) {
      fieldOutputRow_ = r + 1;
      fieldOutputAvailable_ = true;
    }
}

void prbK_SelectedProbeValues::WriteToFile(const cow_String& fileName, bool append) {
  if (IsEmpty()) return;
  const cow_String path = uti_ExpandHome(fileName);
  xypK_ReportFile file;
  if (!file.Open(path, append)) {
    prbK_MessageTypes::ErrorCouldNotOpenReportFile(path);
    return;
  }
  prbK_ProbeToolset& toolset = prbK_ProbeToolset::Instance();
  const int object = toolset.ProbeObject();
  const prbC_ProbeOptionsCTX options = toolset.ProbeOptions();
  FlushAndResetLists();
  BuildPrinter(file.Stream());
  printer_->SetFileName(path);
  printer_->PrintDateAndTime();
  cow_String name;
  toolset.ObjectName(name);
  printer_->SetObjectName(name);
  if (object == prbK_ProbeToolset::kOdb) {
    cow_String step, frame, extra;
    toolset.StepFrameLabel(step, frame, extra);
    printer_->SetStepFrameLabels(step, frame, extra);
    printer_->SetOutputPosition(odiC_Utils::ConvertOutputPosition(options.probeOutputPosition));
    printer_->PrintSourceInformation(toolset.CategorySectionPointList());
    auto used = [&](int column) {
      for (int r = 0; r < rows_; ++r)
        if (!Cell(r, column).IsEmpty()) return true;
      return false;
    };
    cow_List<cow_String> first, second;
    if (options.probeEntity == prbC_ELEMENTS) {
      for (std::size_t c = 0; c < 3; ++c) first.Append(header_[c]);
      if (used(3)) first.Append(header_[3]);
      for (std::size_t c = 0; c < 3; ++c) second.Append(header_[c]);
      switch (options.probeOutputPosition) {
        case res_INTEGRATION_POINT:
          second.Append(Label(prbK_LBL_IntPt));
          break;
        case res_ELEMENT_FACE:
          second.Append(Label(prbK_LBL_Face));
          break;
        case res_ELEMENT_NODAL:
          second.Append(Label(prbK_LBL_Node));
          break;
        case res_CENTROID:
        case res_WHOLE_ELEMENT:
          break;
        default:
          OMI_ASSERT(!"unacceptable output position");
      }
      second.Append(header_[4]);
      printer_->AppendToHeaderFooterList(first, true);
      printer_->AppendToHeaderFooterList(second, true);
      LoadElementDataToPrint();
    } else {
      hasOriginalCoordinates_ = used(2);
      hasDeformedCoordinates_ = used(3);
      for (std::size_t c = 0; c < 2; ++c) first.Append(header_[c]);
      if (hasOriginalCoordinates_) first.Append("Original Coordinates");
      if (hasDeformedCoordinates_) first.Append("Deformed Coordinates");
      const bool elements = used(4), values = used(5);
      if (elements || values) {
        for (std::size_t c = 0; c < 2; ++c) second.Append(header_[c]);
        second.Append("Elements");
        if (values) second.Append(header_[static_cast<std::size_t>(blockSize_ - 1)]);
      }
      printer_->AppendToHeaderFooterList(first, true);
      printer_->AppendToHeaderFooterList(second, true);
      LoadNodeDataToPrint();
    }
  } else {
    printer_->AppendToHeaderFooterList(cow_List<cow_String>(), true);
    printer_->AppendToHeaderFooterList(header_, true);
    printer_->PrintSourceInformation(cow_1DArrayList<cow_String>());
    LoadXYDataToPrint();
  }
  UpdateFooterRowList();
  printer_->PrintDataToFile(-1);
  FlushAndResetLists();
  hasOriginalCoordinates_ = false;
  hasDeformedCoordinates_ = false;
  printer_->Flush();
  file.Commit();  // a failed write leaves the file as it was
}

void prbK_SelectedProbeValues::BuildPrinter(std::FILE* file) {
  printer_.reset();
  prbK_ProbeToolset& toolset = prbK_ProbeToolset::Instance();
  const int object = toolset.ProbeObject();
  if (object == prbK_ProbeToolset::kXyPlot)
    printer_ = std::make_unique<prbK_ProbeReportXyPrinter>(file);
  else if (object == prbK_ProbeToolset::kOdb && toolset.ProbeOptions().probeEntity == prbC_ELEMENTS)
    printer_ = std::make_unique<prbK_ProbeReportElementPrinter>(file);
  else if (object == prbK_ProbeToolset::kOdb)
    printer_ = std::make_unique<prbK_ProbeReportNodePrinter>(file);
  OMI_ASSERT(printer_ && "printer not created");
}

void prbK_SelectedProbeValues::LoadXYDataToPrint() {
  for (int r = 0; r < rows_; ++r) {
    cow_1DArrayList<cow_String> row;
    for (int c = 0; c < blockSize_; ++c) row.Append(Cell(r, c));
    UpdateMinMaxTotals(row);
    printer_->AppendToRowBasedDataList(row, false);
  }
}

namespace {
// A value cell without its complex part, trimmed.
cow_String RealPart(const cow_String& cell) {
  const std::size_t complex = cell.Find("Complex: ");
  return (complex == cell.Length() ? cell : cell.Substr(0, complex)).Trim();
}

// The pieces between commas, each trimmed of blanks; empty pieces vanish, as between two commas
// in a row.
std::vector<cow_String> Pieces(const cow_String& text) {
  std::vector<cow_String> pieces;
  std::size_t from = 0;
  while (from <= text.Length()) {
    std::size_t comma = text.Find(",", from);
    if (comma > text.Length()) comma = text.Length();
    if (comma > from) pieces.push_back(text.Substr(from, comma - from).Trim());
    from = comma + 1;
  }
  return pieces;
}

bool HasComma(const cow_String& text) {
  return text.Find(",") < text.Length();
}

// Without one leading "(" and one trailing ")".
cow_String Unbracketed(cow_String text) {
  if (!text.IsEmpty() && text.CStr()[0] == '(') text = text.Substr(1);
  if (!text.IsEmpty() && text.CStr()[text.Length() - 1] == ')')
    text = text.Substr(0, text.Length() - 1);
  return text;
}
}  // namespace

void prbK_SelectedProbeValues::LoadElementDataToPrint() {
  for (int r = 0; r < rows_; ++r) {
    cow_1DArrayList<cow_String> model, field;
    for (int c = 0; c < 3; ++c) {
      model.Append(Cell(r, c));
      field.Append(Cell(r, c));
    }
    TokenizeElemOutput(model, Cell(r, 3), true);
    TokenizeElemOutput(field, Cell(r, 4), false);
    if (Cell(r, 4).IsEmpty()) {
      printer_->AppendToRowBasedDataList(model, true);
    } else if (Cell(r, 3).IsEmpty()) {
      printer_->AppendToRowBasedDataList(field, false);
    } else {
      printer_->AppendToRowBasedDataList(model, true);
      printer_->AppendToRowBasedDataList(field, false);
    }
  }
}

void prbK_SelectedProbeValues::TokenizeElemOutput(cow_1DArrayList<cow_String>& row,
                                                  const cow_String& cell, bool connectivity) {
  if (!connectivity && cell.IsEmpty()) return;
  const cow_String text = connectivity ? cell.Trim() : RealPart(cell);
  const bool wholeElement =
      prbK_ProbeToolset::Instance().ProbeOptions().probeOutputPosition == res_WHOLE_ELEMENT;
  auto add = [&](const cow_String& number, const cow_String& piece) {
    if (!connectivity) {
      row.Append(number);
      if (piece != "NoValue") UpdateMinMaxTotals(number, piece, row[1], row[0], wholeElement);
    }
    row.Append(piece);
  };
  if (!HasComma(text)) {
    add("1", text);
    return;
  }
  long long k = 0;
  for (const cow_String& piece : Pieces(text)) add(cow_String::FromInt(++k), piece);
}

void prbK_SelectedProbeValues::LoadNodeDataToPrint() {
  for (int r = 0; r < rows_; ++r) {
    cow_1DArrayList<cow_String> model, field;
    for (int c = 0; c < 2; ++c) {
      model.Append(Cell(r, c));
      field.Append(Cell(r, c));
    }
    for (int c : {2, 3}) {
      if (!(c == 2 ? hasOriginalCoordinates_ : hasDeformedCoordinates_)) continue;
      if (Cell(r, c).IsEmpty()) {
        for (int k = 0; k < 3; ++k) model.Append(cow_String());
        continue;
      }
      for (const cow_String& piece : Pieces(Unbracketed(Cell(r, c).Trim()))) model.Append(piece);
    }
    const bool elements = !Cell(r, 4).IsEmpty(), value = !Cell(r, 5).IsEmpty();
    if (hasOriginalCoordinates_ || hasDeformedCoordinates_ || (!elements && !value))
      printer_->AppendToRowBasedDataList(model, true);
    if (elements || value) {
      TokenizeNodeOutput(field, Cell(r, 4), Cell(r, 5));
      printer_->AppendToRowBasedDataList(field, false);
    }
  }
}

void prbK_SelectedProbeValues::TokenizeNodeOutput(cow_1DArrayList<cow_String>& row,
                                                  const cow_String& elementsCell,
                                                  const cow_String& valueCell) {
  const cow_String elements = elementsCell.Trim();
  const cow_String value = RealPart(valueCell);
  std::vector<cow_String> labels;
  if (!elements.IsEmpty()) {
    if (HasComma(elements))
      labels = Pieces(Unbracketed(elements));
    else
      labels.push_back(elements);
  }
  if (value.IsEmpty()) {
    for (const cow_String& label : labels) {
      row.Append(label);
      row.Append(cow_String());
    }
    return;
  }
  if (!HasComma(value)) {
    const cow_String first = labels.empty() ? cow_String("Elem-1") : labels[0];
    row.Append(first);
    if (value != "NoValue") UpdateMinMaxTotals(first, value, row[1], row[0], false);
    row.Append(value);
    for (std::size_t i = 1; i < labels.size(); ++i) {
      row.Append(labels[i]);
      row.Append(value);  // counted once in the extremes and the total
    }
    return;
  }
  const std::vector<cow_String> values = Pieces(value);
  OMI_ASSERT((labels.empty() || labels.size() == values.size()) && "incorrect node data");
  for (std::size_t i = 0; i < values.size(); ++i) {
    const cow_String label =
        labels.empty() ? "Elem-" + cow_String::FromInt(static_cast<long long>(i + 1)) : labels[i];
    row.Append(label);
    if (values[i] != "NoValue") UpdateMinMaxTotals(label, values[i], row[1], row[0], false);
    row.Append(values[i]);
  }
}

void prbK_SelectedProbeValues::UpdateMinMaxTotals(const cow_String& number, const cow_String& value,
                                                  const cow_String& at, const cow_String& in,
                                                  bool wholeElement) {
  if (listsReset_) {
    listsReset_ = false;
    for (auto* list : {&maxValues_, &minValues_}) {
      if (!wholeElement) list->push_back(number);
      list->push_back(value);
    }
    maxAt_.push_back(at);
    minAt_.push_back(at);
    if (!in.IsEmpty()) {
      maxIn_.push_back(in);
      minIn_.push_back(in);
    }
    totals_.push_back(value);
    return;
  }
  const double v = std::atof(value.CStr());
  const std::size_t cell = wholeElement ? 0 : 1;
  auto replace = [&](std::vector<cow_String>& values, std::vector<cow_String>& where,
                     std::vector<cow_String>& instance) {
    if (!wholeElement) values[0] = number;
    values[cell] = value;
    where[0] = at;
    if (!in.IsEmpty()) {
      if (instance.empty())
        instance.push_back(in);
      else
        instance[0] = in;
    }
  };
  // Compared as the single-precision values the cells were made from; ties go to the later.
  if (maxValues_.size() > cell && static_cast<float>(std::atof(maxValues_[cell].CStr())) <= v)
    replace(maxValues_, maxAt_, maxIn_);
  if (minValues_.size() > cell && v <= static_cast<float>(std::atof(minValues_[cell].CStr())))
    replace(minValues_, minAt_, minIn_);
  totals_[0] = cow_String::FromDouble(std::atof(totals_[0].CStr()) + v);
}

void prbK_SelectedProbeValues::UpdateMinMaxTotals(const cow_1DArrayList<cow_String>& row) {
  if (row.Size() < 3) return;
  if (listsReset_) {
    listsReset_ = false;
    for (std::size_t c = 2; c < row.Size(); ++c) {
      for (auto* list : {&minValues_, &maxValues_, &totals_}) list->push_back(row[c]);
      for (auto* list : {&minAt_, &maxAt_}) list->push_back(row[1]);
      for (auto* list : {&minIn_, &maxIn_}) list->push_back(row[0]);
    }
    return;
  }
  for (std::size_t c = 2; c < row.Size() && c - 2 < totals_.size(); ++c) {
    const std::size_t k = c - 2;
    const double v = std::atof(row[c].CStr());
    // Compared as the single-precision values the cells were made from; ties go to the later.
    if (static_cast<float>(std::atof(maxValues_[k].CStr())) <= v) {
      maxValues_[k] = row[c];
      maxAt_[k] = row[1];
      maxIn_[k] = row[0];
    }
    if (static_cast<float>(std::atof(minValues_[k].CStr())) >= v) {
      minValues_[k] = row[c];
      minAt_[k] = row[1];
      minIn_[k] = row[0];
    }
    totals_[k] = cow_String::FromDouble(std::atof(totals_[k].CStr()) + v);
  }
}

void prbK_SelectedProbeValues::PrependToLists() {
  auto prepend = [](std::vector<cow_String>& list, const cow_String& cell) {
    list.insert(list.begin(), cell);
  };
  if (prbK_ProbeToolset::Instance().ProbeObject() == prbK_ProbeToolset::kOdb) {
    const prbC_ProbeOptionsCTX options = prbK_ProbeToolset::Instance().ProbeOptions();
    const bool element = options.probeEntity == prbC_ELEMENTS;
    auto blanks = [&] {
      for (auto* list : {&minValues_, &maxValues_, &minAt_, &maxAt_}) prepend(*list, " ");
      for (auto* list : {&minIn_, &maxIn_})
        if (!list->empty()) prepend(*list, " ");
    };
    blanks();
    prepend(totals_, " ");
    prepend(totals_, " ");
    if (element && options.probeOutputPosition != res_WHOLE_ELEMENT) {
      blanks();
      prepend(totals_, " ");
    }
    const cow_String where = Label(element ? prbK_LBL_AtElement : prbK_LBL_AtNode);
    prepend(minAt_, where);
    prepend(maxAt_, where);
    prepend(minIn_, Label(prbK_LBL_InPartInstance));
    prepend(maxIn_, Label(prbK_LBL_InPartInstance));
  } else {
    for (auto* list : {&minValues_, &maxValues_, &minAt_, &minIn_, &maxAt_, &maxIn_, &totals_})
      prepend(*list, " ");
    prepend(minAt_, Label(prbK_LBL_AtSequence));
    prepend(maxAt_, Label(prbK_LBL_AtSequence));
    prepend(minIn_, Label(prbK_LBL_InCurve));
    prepend(maxIn_, Label(prbK_LBL_InCurve));
  }
  prepend(minValues_, Label(prbK_LBL_Minimum));
  prepend(maxValues_, Label(prbK_LBL_Maximum));
  prepend(totals_, Label(prbK_LBL_Total));
}

void prbK_SelectedProbeValues::UpdateFooterRowList() {
  if (listsReset_) return;
  PrependToLists();
  auto add = [&](const std::vector<cow_String>& cells, bool flag) {
    cow_List<cow_String> list;
    for (const cow_String& cell : cells) list.Append(cell);
    printer_->AppendToHeaderFooterList(list, flag);
  };
  const prbC_ProbeReportCTX& report = prbK_ProbeToolset::Instance().ReportOptions();
  if (report.printMinMax) {
    add(minValues_, true);
    add(minAt_, false);
    add(minIn_, false);
    if (!minIn_.empty()) add({}, true);
    add(maxValues_, true);
    add(maxAt_, false);
    add(maxIn_, false);
    if (!maxIn_.empty()) add({}, true);
  }
  if (report.printTotal) add(totals_, true);
}

void prbK_SelectedProbeValues::FlushAndResetLists() {
  for (auto* list : {&maxValues_, &maxAt_, &maxIn_, &minValues_, &minAt_, &minIn_, &totals_})
    list->clear();
  listsReset_ = true;
}
