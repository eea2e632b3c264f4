#pragma once
// The base of the probe report printers: the rows a report is built from (model rows, field
// rows, then the two title rows and the footer rows), the open file, and the report's first
// lines. Texts go to the file as they stand, never read as format directives.
#include <cstdio>
#include <string>

#include "cow_1DArrayList.h"
#include "cow_List.h"
#include "cow_String.h"
#include "prbC_ProbeReportCTX.h"
#include "prbK_RowBasedDataList.h"
#include "prbK_RowBasedHeaderFooterList.h"
#include "uti_LabelMap.h"

enum prbK_ProbeReportPrinterEnm : int { prbK_MSG_ReportTitle = 0 };
// The milestones of long loops.
enum prbK_MessageEnm : int {
  prbK_WRITING_MODEL = 0,
  prbK_FORMATTING_FIELD = 1,
  prbK_WRITING_FIELD = 2,
  prbK_WRITING_REPORT = 3,
};

template <>
const uti_LabelMap<prbK_ProbeReportPrinterEnm, 1>::Row
    uti_LabelMap<prbK_ProbeReportPrinterEnm, 1>::table[];
template <>
const uti_LabelMap<prbK_MessageEnm, 1>::Row uti_LabelMap<prbK_MessageEnm, 1>::table[];

class prbK_ProbeReportPrinter {
 public:
  explicit prbK_ProbeReportPrinter(std::FILE* file) : file_(file) {}
  virtual ~prbK_ProbeReportPrinter() = default;
  prbK_ProbeReportPrinter(const prbK_ProbeReportPrinter&) = delete;
  prbK_ProbeReportPrinter& operator=(const prbK_ProbeReportPrinter&) = delete;

  virtual void SetStepFrameLabels(const cow_String&, const cow_String&, const cow_String&) {}
  virtual void SetOutputPosition(const cow_String&) {}
  virtual void PrintSourceInformation(const cow_1DArrayList<cow_String>& lines) = 0;
  // Writes everything staged, then clears the rows.
  virtual void PrintDataToFile(int sortColumn) = 0;

  void AppendToRowBasedDataList(const cow_1DArrayList<cow_String>& row, bool model);
  void AppendToHeaderFooterList(const cow_List<cow_String>& row, bool flag);
  // A line of 80 "*", the title with the date, an empty line.
  void PrintDateAndTime();
  void SetObjectName(const cow_String& name) { objectName_ = name; }
  // What is staged for the file goes to it; a write that fails raises uti_FileException
  // naming `fileName` (set with SetFileName).
  void Flush();
  void SetFileName(const cow_String& fileName) { fileName_ = fileName; }

 protected:
  void Write(const cow_String& text);
  void Write(const char* text);
  // Two blanks, then the text right- or left-aligned in `width` columns.
  void Right(const cow_String& text, int width);
  void Left(const cow_String& text, int width);
  void Dashes(int count);
  // A number cell: the text of the number in the report's form, empty outside the float range.
  cow_String NumberCell(const cow_String& text) const;
  // numDigits + 8, within 8 to 15.
  int ValueWidth() const;
  // "Writing ..." milestones every tenth of `rows`.
  static void Milestone(prbK_MessageEnm message, int done, int rows);
  const prbC_ProbeReportCTX& Options() const;
  void ClearRows();

  cow_List<prbK_RowBasedDataList> modelRows_;
  cow_List<prbK_RowBasedDataList> fieldRows_;
  cow_List<prbK_RowBasedHeaderFooterList> headerFooterRows_;
  std::FILE* file_;
  cow_String objectName_;
  cow_String fileName_;
  std::string out_;  // written in large pieces: a report of many rows costs few writes
};
