#pragma once
// Column layout and number formats of probe reports: the XY report's (xypK_Utils), but for the
// probe side's number test, its scientific form (a "." appended when the text has none) and its
// engineering form's trailing-zero rule. The automatic form is the XY report's: a printer
// right-aligns every cell, so the column the unaligned probe form would add makes no difference.
#include "cow_List.h"
#include "cow_String.h"
#include "prbC_Enumerations.h"
#include "uti_LabelMap.h"

// What IsFloat finds in a cell.
enum prbK_ProbeEnum : int { prbK_NOT_A_NUMBER = 0, prbK_NUMBER = 1, prbK_NO_VALUE = 2 };

enum prbK_ProbeReportUtilsEnm : int {
  prbK_MSG_ProbeReportHead = 0,
  prbK_MSG_InvalidNumberFormat = 1,
};

template <>
const uti_LabelMap<prbK_ProbeReportUtilsEnm, 1>::Row
    uti_LabelMap<prbK_ProbeReportUtilsEnm, 1>::table[];

class prbK_ProbeReportUtils {
 public:
  using Labels = uti_LabelMap<prbK_ProbeReportUtilsEnm, 1>;
  prbK_ProbeReportUtils() = delete;

  // prbK_NO_VALUE for a text holding "NoValue"; prbK_NUMBER for digits, '.', 'e', 'E', '-',
  // '+' and line feeds only, not starting with an exponent letter, with at most one exponent
  // letter and one '.' and at most two of each sign; prbK_NOT_A_NUMBER otherwise (empty, null).
  static prbK_ProbeEnum IsFloat(const char* text);

  static bool IsBlankLine(const char* line);
  static bool IsCommentLine(const char* line);
  static bool IsCommandLine(const char* line);
  // The head of a probe report (no printer writes it).
  static cow_String PrintReportHead();

  static cow_String CenterString(const cow_String& text, int width);
  static cow_String LeftString(const cow_String& text, int width);
  static cow_String RightString(const cow_String& text, int width);
  static cow_String PointString(const cow_String& text, int width);
  static cow_List<cow_String> BreakToLines(const cow_String& label, int width);

  // Automatic (0), engineering (3) or scientific (4) form; any other format gives the text
  // "Invalid number format". Digits are clamped to 1 ... 1000.
  static cow_String Format(float value, prbC_FormatEnm format, int digits);
  // "% *.*E" (width digits + 6, precision digits - 1), with a "." appended when the text has
  // none (one digit: " 2E+00.").
  static cow_String FormatScientific(float value, int digits);
  static cow_String FormatAutomatic(float value, int digits);
  // The engineering form; its mantissa loses its trailing zeros when the decimal count, written
  // "%f" without trailing zeros, is at most digits characters long.
  static cow_String FormatEngineering(float value, int digits);
};
