#include "nex_Exception.h"

nex_Exception::nex_Exception(cow_String message, int code, cow_String detail1, cow_String detail2)
    : message_(std::move(message)),
      code_(code),
      detail1_(std::move(detail1)),
      detail2_(std::move(detail2)) {}

nex_Exception::~nex_Exception() = default;
