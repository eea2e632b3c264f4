#include "prbK_Module.h"

namespace {
int probeCounter = 0;
}

// The probe side keeps no state of its own yet: it only counts its users.
void prbK_initialize(int&) {
  ++probeCounter;
}

void prbK_finalize(int&) {
  if (probeCounter > 0) --probeCounter;
}
