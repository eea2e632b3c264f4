#pragma once
// An error that aborts the scripting command in progress.
#include "nex_Exception.h"

class nex_CommandException : public nex_Exception {
 public:
  using nex_Exception::nex_Exception;
};
