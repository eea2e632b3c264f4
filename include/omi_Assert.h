// The one assertion handler. Assertions guard programming errors (an index out of range, a Get
// of an absent key); they stay active in release builds because continuing past one would read
// or write memory that is not ours.
#pragma once

#include <cstdio>
#include <cstdlib>

// Reports the failed condition and aborts the process.
[[noreturn]] inline void omi_AssertFail(const char* expr, const char* file, int line) {
  std::fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", expr, file, line);
  std::fflush(stderr);
  std::abort();
}

#define OMI_ASSERT(cond) ((cond) ? static_cast<void>(0) : omi_AssertFail(#cond, __FILE__, __LINE__))
