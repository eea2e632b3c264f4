#include "prbK_Module.h"

#include "cmdC_PrbMessageTable.h"
#include "prbK_CurrentProbeValues.h"
#include "prbK_ProbeToolset.h"
#include "prbK_SelectedProbeValues.h"

namespace {
int probeCounter = 0;
}

// Nested calls only count; the first brings the probe side up and the last takes it down.
void prbK_initialize(int& count) {
  if (probeCounter++ != 0) return;
  ++count;
  prbK_ProbeToolset::Instance();
  prbK_CurrentProbeValues::Instance();
  prbK_SelectedProbeValues::Instance();
}

void prbK_finalize(int& count) {
  if (probeCounter <= 0) return;  // an extra shut-down does nothing
  if (--probeCounter != 0) return;
  --count;
  prbK_SelectedProbeValues::Finalize();
  prbK_CurrentProbeValues::Finalize();
  prbK_ProbeToolset::Finalize();
  cmdC_PrbMessageTable::Finalize();
}
