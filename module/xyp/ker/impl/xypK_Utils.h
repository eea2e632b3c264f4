#pragma once
// Internal checks of the XY kernel. They report a broken invariant through the platform's one
// assertion handler (expression, file, line, then abort); never used for user input.
#include "omi_Assert.h"

class xypK_Utils {
 public:
  static void Assert(bool condition, const char* expression, const char* file, int line) {
    if (!condition) omi_AssertFail(expression, file, line);
  }
  static void AssertMem(const void* pointer, const char* file, int line) {
    if (!pointer) omi_AssertFail("memory allocated", file, line);
  }
};

#define XYPK_ASSERT(cond) xypK_Utils::Assert(static_cast<bool>(cond), #cond, __FILE__, __LINE__)
