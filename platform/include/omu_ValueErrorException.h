#pragma once
// An argument of the right kind but an unacceptable value; scripts see a ValueError.
#include "nex_Exception.h"

class omu_ValueErrorException : public nex_Exception {
 public:
  explicit omu_ValueErrorException(cow_String message) : nex_Exception(std::move(message)) {}
};
