#pragma once
// The user stopped a long operation; scripts see KeyboardInterrupt.
#include "nex_Exception.h"

class cmdC_InterruptedException : public nex_Exception {
 public:
  cmdC_InterruptedException() : nex_Exception("Interrupted by the user") {}
};
