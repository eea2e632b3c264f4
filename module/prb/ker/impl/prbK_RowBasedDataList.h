#pragma once
// One data row of a probe report: its cells, and the column a sort of printed rows reads.
#include "cow_1DArrayList.h"
#include "cow_String.h"

struct prbK_RowBasedDataList {
  cow_1DArrayList<cow_String> cells;
  int sortCol = -1;
};
