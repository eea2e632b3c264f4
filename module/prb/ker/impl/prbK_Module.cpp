#include "prbK_Module.h"

#include "cmdC_PrbMessageTable.h"

namespace {
int probeCounter = 0;
}

// Nested calls only count; the first brings the probe side up and the last takes it down.
void prbK_initialize(int& count) {
  if (probeCounter++ != 0) return;
  ++count;
}

void prbK_finalize(int& count) {
  if (probeCounter <= 0) return;  // an extra shut-down does nothing
  if (--probeCounter != 0) return;
  --count;
  cmdC_PrbMessageTable::Finalize();
}
