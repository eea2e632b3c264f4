#pragma once
// A catalogue error of the XY-plot side; scripts see it as xyp.XyPlotError.
#include "nex_CommandException.h"

class uti_XypException : public nex_CommandException {
 public:
  using nex_CommandException::nex_CommandException;
};
