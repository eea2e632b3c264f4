#pragma once
// Steps of an open results database as a script names them.
#include <vector>

#include "cow_String.h"
#include "omu_PrimSequence.h"

class odpK_OdbToolset {
 public:
  // The 0-based indices of the steps a script's tuple names, in its order: each item a step name
  // or a 1-based step number. Empty when the file is not open, or when any item names no step
  // (an unknown name, a number out of range, or an item of another kind).
  static std::vector<int> GetStepListFromTuple(const cow_String& fileName,
                                               const omu_PrimSequence& steps);
};
