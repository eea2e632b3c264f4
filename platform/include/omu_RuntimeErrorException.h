#pragma once
// A call that cannot be made in the application's present state (a cursor move with no mode
// running); scripts see a RuntimeError.
#include "nex_Exception.h"

class omu_RuntimeErrorException : public nex_Exception {
 public:
  explicit omu_RuntimeErrorException(cow_String message) : nex_Exception(std::move(message)) {}
};
