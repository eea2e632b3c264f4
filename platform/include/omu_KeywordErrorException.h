#pragma once
// A keyword argument that is missing, unknown or unusable; scripts see a TypeError.
#include "nex_Exception.h"

class omu_KeywordErrorException : public nex_Exception {
 public:
  omu_KeywordErrorException(cow_String message, cow_String keyword)
      : nex_Exception(std::move(message), 0, keyword), keyword_(std::move(keyword)) {}
  const cow_String& Keyword() const { return keyword_; }

 private:
  cow_String keyword_;
};
