#pragma once
// One title or footer row of a probe report: its cells, and the flag it was added with (true
// for the lines that start a group).
#include "cow_List.h"
#include "cow_String.h"

struct prbK_RowBasedHeaderFooterList {
  cow_List<cow_String> cells;
  bool flag = true;
};
