#include "prbK_SelectedProbeValues.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <numeric>

#include "omi_Assert.h"
#include "omi_Singleton.h"
#include "prbK_MessageTypes.h"
#include "prbK_ProbeReportUtils.h"
#include "prbK_ProbeToolset.h"

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

void prbK_SelectedProbeValues::Sort(const cow_String& columnTitle, int direction) {
  if (IsEmpty()) return;
  if (!sortHeader_.IsMember(columnTitle)) {
    InitializeOrigValues();
    prbK_MessageTypes::WarningInvalidSortItem(columnTitle);
    return;
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
