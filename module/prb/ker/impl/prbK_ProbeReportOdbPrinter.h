#pragma once
// What the probe reports of results models share: the source block (database, step, frame), the
// field rows split into one printed row per value (the entity's id cells, then the value's
// number or element label and the value), and the footers aligned under the id and value
// columns. The element and node printers lay out their model rows and titles.
#include "prbK_ProbeReportPrinter.h"

class prbK_ProbeReportOdbPrinter : public prbK_ProbeReportPrinter {
 public:
  using prbK_ProbeReportPrinter::prbK_ProbeReportPrinter;

  void SetStepFrameLabels(const cow_String& step, const cow_String& frame,
                          const cow_String& extra) override;
  void SetOutputPosition(const cow_String& position) override;
  void PrintSourceInformation(const cow_1DArrayList<cow_String>& lines) override;
  // Writes the field rows, a printed row per value; sorted by value when sortColumn > 0, in the
  // order appended otherwise.
  virtual void PrintFieldData(int sortColumn);

 protected:
  void PrintFooter();
  // The cells of one title row (0 or 1); none when the row was not staged.
  cow_List<cow_String> TitleRow(std::size_t index) const;
  // A cell printed as a number when it reads as one.
  cow_String NumberOrText(const cow_String& cell) const;

  int idColumns_ = 0;
  int idWidth_ = 10;
  int valueWidth_ = 14;
  int lineWidth_ = 0;
  int perLine_ = 0;  // values per printed line; 0: no limit
  int numOfBlocks_ = 1;
  cow_String stepLabel_;
  cow_String frameLabel_;
  cow_String extraLabel_;
  cow_String outputPosition_;
  bool modelMode_ = false;
  bool elementMode_ = false;
};
