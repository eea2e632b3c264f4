#pragma once
// Helpers of the XY kernel: classifiers of text-file lines and fields; internal checks that
// report a broken invariant through the platform's one assertion handler (expression, file, line,
// then abort; the checks are never used for user input); and the text layout of the XY report:
// fixed-width columns and single-precision numbers in the automatic, scientific and engineering
// forms.
//
// The layout and number operations keep no state and use only local scratch space, so they may
// run on any thread, several at once.
#include <string>
#include <string_view>

#include "cow_List.h"
#include "cow_String.h"
#include "omi_Assert.h"
#include "xypC_Enumerations.h"
#include "xypK_FieldEnum.h"

class udd_UserXYData;

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
  // The short forms: a zero condition is reported as "condition", a null pointer as
  // "ptr != 0", both under this file's name.
  static void Assert(int condition) {
    if (!condition) omi_AssertFail("condition", kSourceName, __LINE__);
  }
  static void AssertMem(const void* pointer) {
    if (!pointer) omi_AssertFail("ptr != 0", kSourceName, __LINE__);
  }

  // --- Column layout. Blanks are space characters. No operation shortens its text: a text at
  // least as long as the width comes back whole (trimmed where the operation trims), and a
  // negative width pads nothing.

  // The text, untrimmed, centred in width columns; an odd blank goes on the left.
  static cow_String CenterString(const cow_String& text, int width);
  // The text without leading and trailing blanks, padded on the right to width columns.
  static cow_String LeftString(const cow_String& text, int width);
  // The text without leading and trailing blanks, padded on the left to width columns.
  static cow_String RightString(const cow_String& text, int width);
  // The trimmed text with its first "." at column width - (h + 4), h = (width - 5) / 2: the
  // point and what follows fill h + 4 columns. A text without a point ends just left of that
  // column. In the engineering field (width 2 * digits + 5) the point stands at column
  // digits + 1.
  static cow_String PointString(const cow_String& text, int width);

  // --- Numbers. digits is the number of significant digits; below 1 counts as 1, above
  // kMaxDigits as kMaxDigits. The texts are those of the C printf conversions named below, of
  // the value widened to double. Infinities and not-a-numbers read "Inf", "-Inf" and "NaN" in
  // every form, placed as a number of that form.
  static constexpr int kMaxDigits = 1000;

  // Automatic, engineering or scientific form by format; any other format gives the text
  // "Invalid number format".
  static cow_String Format(float value, xypC_FormatEnum format, int digits);
  // "% *.*E" with width digits + 6 and precision digits - 1, right-aligned in digits + 6
  // columns: 123.456 with 6 digits gives " 1.23456E+02".
  static cow_String FormatScientific(float value, int digits);
  // "% *.*G" with width digits + 6 and precision digits, always with a point ("100." and
  // "1.E+10"), right-aligned in digits + 6 columns.
  static cow_String FormatAutomatic(float value, int digits);
  // A mantissa of one to three integer digits and an exponent that is a multiple of 3 (at
  // least two digits, left out when 0), point-aligned in 2 * digits + 5 columns: 1500 with 6
  // digits gives "      1.5E+03    ". The mantissa has digits significant digits; its trailing
  // zeros go when the value itself is short (see the implementation).
  static cow_String FormatEngineering(float value, int digits);
  // When the engineering mantissa's trailing zeros go: the XY report's rule above, or the
  // probe report's (when the decimal count p, written "%f" and stripped of its trailing zeros,
  // takes at most digits characters).
  enum class TrailingZeros { kWhenValueIsShort, kWhenDecimalCountIsShort };
  static cow_String FormatEngineering(float value, int digits, TrailingZeros rule);
  // The text of Format appended to `out`, with no string made per number (report cells).
  static void AppendFormat(std::string& out, float value, xypC_FormatEnum format, int digits);

  // The head of an XY report: an empty line, two "**" lines, the title, its underline and two
  // "**" lines.
  static cow_String PrintReportHead();

  // Splits a label with a parenthesised part into one to three lines (width is not used):
  //   no "(":                     the label;
  //   "(" without "Int" inside:   the text before "(", then the text after "(" through ")";
  //   "(" with "Int" inside:      the text before "(", the text from "Int" to just before ")",
  //                               then the text inside the parenthesis before "Int".
  // One blank right before "(" or "Int" is left out. "Inside" means after the "(" and before
  // the first ")" that follows it (or the end of the label when there is none).
  static cow_List<cow_String> BreakToLines(const cow_String& label, int width);

  // True when every x value of the data (every y value when useY is non-zero) has at most width
  // digits as "%f" prints it without trailing zeros, point and minus sign not counted; true for
  // data without pairs.
  static bool IsFit(int width, const udd_UserXYData& data, int useY);

 private:
  static constexpr const char* kSourceName = "module/xyp/ker/impl/xypK_Utils";
};

// The default plot font: a 10-point medium upright Courier in ISO 8859-1, as an X logical font
// description.
const char* xypK_DefaultFont();

#define XYPK_ASSERT(cond) xypK_Utils::Assert(static_cast<bool>(cond), #cond, __FILE__, __LINE__)
