#pragma once
// The Probe Values table: one row per selected item, as wide as the probe tuple. Rows are
// appended, deleted, sorted and undone one step. The table counts its rows: an empty table shows
// one blank row, and a row whose cells are empty (an empty legend) is a row like any other.
//
// Undo: deleting rows and sorting keep a snapshot of the rows before; appending, a sort that is
// refused, an undo and every re-initialisation of the table (a new client, entity or field
// model) discard it.
#include <cstdio>
#include <memory>
#include <vector>

#include "cow_1DArray.h"
#include "cow_1DArrayList.h"
#include "cow_List.h"
#include "cow_String.h"
#include "uti_LabelMap.h"

class prbK_ProbeReportPrinter;

// The words of footers and report titles.
enum prbK_SelectedProbeValuesEnm : int {
  prbK_LBL_Face = 0,
  prbK_LBL_Maximum = 1,
  prbK_LBL_Node = 2,
  prbK_LBL_Total = 3,
  prbK_LBL_AtSequence = 4,
  prbK_LBL_Minimum = 5,
  prbK_LBL_IntPt = 6,
  prbK_LBL_InCurve = 7,
  prbK_LBL_AtNode = 8,
  prbK_LBL_AtElement = 9,
  prbK_LBL_InPartInstance = 10,
};

template <>
const uti_LabelMap<prbK_SelectedProbeValuesEnm, 1>::Row
    uti_LabelMap<prbK_SelectedProbeValuesEnm, 1>::table[];

class prbK_SelectedProbeValues {
 public:
  static prbK_SelectedProbeValues& Instance();
  static void Finalize();
  static bool Exists();
  prbK_SelectedProbeValues();
  ~prbK_SelectedProbeValues();

  // No rows; the column titles rebuilt for the current client and options. The undo snapshot is
  // left alone (the toolset discards it with InitializeOrigValues).
  void InitializeValues();
  // Nothing to undo.
  void InitializeOrigValues();

  bool IsEmpty() const { return rows_ == 0; }
  int NumRows() const { return rows_; }
  int BlockSize() const { return blockSize_; }
  // The cells of a 0-based row; the blank row for row 0 of an empty table.
  cow_1DArray<cow_String> GetValue(int row) const;
  bool CanUndo() const { return origRows_ >= 0; }

  // A row as wide as the table (an assertion otherwise).
  void AppendValues(const cow_1DArray<cow_String>& tuple);
  // Deletes the rows of these 1-based numbers (out of range and repeated ones are ignored);
  // none given: every row.
  void ClearValues(const std::vector<long long>& rows);
  // Sorts the rows by the column of that title (one of the sortable titles; otherwise a warning
  // and nothing changes), direction 0 ascending, else descending. Equal keys keep their order;
  // numbers go by value, every other cell by its bytes, below every number. Results-model
  // columns holding lists cannot be sorted (ErrorInvalidSortItem, nothing changes). False when
  // nothing was sorted (an empty table, a title refused with the warning).
  bool Sort(const cow_String& columnTitle, int direction);
  void Undo();
  // Writes the probe report of the rows (appended to the file or replacing it); nothing for an
  // empty table. A file that cannot be opened is reported as an error line and nothing is
  // written; a write that fails raises uti_FileException and leaves the file as it was.
  void WriteToFile(const cow_String& fileName, bool append);

  const cow_List<cow_String>& Header() const { return header_; }
  const cow_List<cow_String>& SortHeader() const { return sortHeader_; }
  // Whether some row holds field output (a non-empty last cell), and the 1-based first one.
  bool FieldOutputAvailable() const { return fieldOutputAvailable_; }
  int FieldOutputRow() const { return fieldOutputRow_; }

 private:
  const cow_String& Cell(int row, int column) const;
  void IsFieldOutputAvailable();
  void BuildPrinter(std::FILE* file);
  void LoadXYDataToPrint();
  void LoadElementDataToPrint();
  // Adds a connectivity cell's node labels, or a value cell's numbered values, to a report row.
  void TokenizeElemOutput(cow_1DArrayList<cow_String>& row, const cow_String& cell,
                          bool connectivity);
  void LoadNodeDataToPrint();
  // Adds a node's (attached element, value) pairs to a report row.
  void TokenizeNodeOutput(cow_1DArrayList<cow_String>& row, const cow_String& elements,
                          const cow_String& value);
  // The extremes and total of one results-model value: its number (sequence or element label,
  // none for whole-element values), where it is and in which instance.
  void UpdateMinMaxTotals(const cow_String& number, const cow_String& value, const cow_String& at,
                          const cow_String& in, bool wholeElement);
  // The extremes and totals of an XY row's value columns (x and y).
  void UpdateMinMaxTotals(const cow_1DArrayList<cow_String>& row);
  void UpdateFooterRowList();
  void FlushAndResetLists();
  void PrependToLists();

  int blockSize_ = 1;
  cow_1DArray<cow_String> values_;  // max(rows, 1) rows of blockSize_ cells
  int rows_ = 0;
  cow_1DArray<cow_String> origValues_;
  int origRows_ = -1;  // -1: nothing to undo
  int fieldOutputRow_ = 0;
  cow_List<cow_String> header_;
  cow_List<cow_String> sortHeader_;
  bool fieldOutputAvailable_ = false;
  // While a node report is written: whether some row holds either set of coordinates.
  bool hasOriginalCoordinates_ = false;
  bool hasDeformedCoordinates_ = false;
  // The footer lists, filled while a report is written.
  bool listsReset_ = true;
  std::vector<cow_String> maxValues_, maxAt_, maxIn_, minValues_, minAt_, minIn_, totals_;
  std::unique_ptr<prbK_ProbeReportPrinter> printer_;  // the last report's
};
