#pragma once
// One history variable of a results file under its label: its short legend, its index in each
// step's history outputs (-1 where the step does not have it) and whether it is complex.
#include <cstdint>
#include <vector>

#include "cow_String.h"

class xypK_HistoryItem {
 public:
  xypK_HistoryItem() = default;
  cow_String legend;
  std::vector<std::int32_t> keys;  // one per step of the file
  bool complex = false;

  // The key of step `step`; -1 for a step the file does not have.
  std::int32_t Key(int step) const {
    return step >= 0 && static_cast<std::size_t>(step) < keys.size() ? keys[static_cast<std::size_t>(step)] : -1;
  }
};
