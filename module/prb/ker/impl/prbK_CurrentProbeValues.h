#pragma once
// The values of what lies under the cursor right now: one cell per column of the probe tuple
// (the toolset's tuple size), replaced whole on every cursor move.
#include "cow_1DArray.h"
#include "cow_String.h"

class prbK_CurrentProbeValues {
 public:
  static prbK_CurrentProbeValues& Instance();
  static void Finalize();
  static bool Exists();
  prbK_CurrentProbeValues();

  // Tuple-size empty cells. Each call starts a new generation: what was read under the cursor
  // before (the probe step's last id) no longer stands for these cells.
  void InitializeValues();
  unsigned Generation() const { return generation_; }
  cow_1DArray<cow_String> GetValues() const { return values_; }
  void SetValues(const cow_1DArray<cow_String>& values) { values_ = values; }

 private:
  cow_1DArray<cow_String> values_;
  unsigned generation_ = 0;
};
