#pragma once
// The scripting module "probe" (imported into every script): the symbolic constants of the probe
// options' enumerations (entity, output position, sort order, page width, number format, rows to
// clear).
#include "pyo_Module.h"

class prbK_PytModule : public pyo_Module {
 public:
  prbK_PytModule();
};
