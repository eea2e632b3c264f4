#pragma once
// A catalogue error of the probe side; scripts see it as xyp.ProbeError.
#include "nex_CommandException.h"

class cmdC_PrbException : public nex_CommandException {
 public:
  using nex_CommandException::nex_CommandException;
};
