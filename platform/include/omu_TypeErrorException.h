#pragma once
// An argument of the wrong kind; scripts see a TypeError.
#include "nex_Exception.h"

class omu_TypeErrorException : public nex_Exception {
 public:
  explicit omu_TypeErrorException(cow_String message) : nex_Exception(std::move(message)) {}
};
