#pragma once
// One frame of a step: its time (or frequency, mode, arc length) and its field outputs.
#include <vector>

#include "ddb_FieldOutput.h"

class ddb_Frame {
 public:
  double value = 0.0;
  std::vector<ddb_FieldOutput> fields;
};
