#pragma once
// Helpers of the XY kernel: classifiers of text-file lines and fields, and internal checks that
// report a broken invariant through the platform's one assertion handler (expression, file, line,
// then abort); the checks are never used for user input.
#include <string_view>

#include "omi_Assert.h"
#include "xypK_FieldEnum.h"

class xypK_Utils {
 public:
  // A field: "NoValue" anywhere gives no value; otherwise a number is digits with at most one
  // ".", at most one exponent mark (not first), and signs only first or right after the exponent
  // mark. A null text is not a number.
  static xypK_FieldEnum IsFloat(const char* text);
  static xypK_FieldEnum IsFloat(std::string_view text);
  // Lines, as read with their newline: "**..." is a comment, "*..." (second character not "*") a
  // command, a line of blanks, tabs and newlines only is blank.
  static bool IsCommentLine(const char* line);
  static bool IsCommandLine(const char* line);
  static bool IsBlankLine(const char* line);
  static bool IsCommentLine(std::string_view line);
  static bool IsCommandLine(std::string_view line);
  static bool IsBlankLine(std::string_view line);

  static void Assert(bool condition, const char* expression, const char* file, int line) {
    if (!condition) omi_AssertFail(expression, file, line);
  }
  static void AssertMem(const void* pointer, const char* file, int line) {
    if (!pointer) omi_AssertFail("memory allocated", file, line);
  }
};

#define XYPK_ASSERT(cond) xypK_Utils::Assert(static_cast<bool>(cond), #cond, __FILE__, __LINE__)
