#include "prbK_ProbeReportUtils.h"

#include <cmath>
#include <cstring>

#include "xypK_Utils.h"

template <>
const uti_LabelMap<prbK_ProbeReportUtilsEnm, 1>::Row
    uti_LabelMap<prbK_ProbeReportUtilsEnm, 1>::table[] = {
        {"\n**\n**\n** PROBE REPORT :\n** ===========\n**\n**\n", "prbK_ProbeReportUtils_MSGID_00",
         prbK_MSG_ProbeReportHead},
        {"Invalid number format", "prbK_ProbeReportUtils_MSGID_01", prbK_MSG_InvalidNumberFormat},
        {nullptr, nullptr, prbK_MSG_ProbeReportHead}};

prbK_ProbeEnum prbK_ProbeReportUtils::IsFloat(const char* text) {
  if (!text || !*text) return prbK_NOT_A_NUMBER;
  if (std::strstr(text, "NoValue")) return prbK_NO_VALUE;
  const char first = text[0];
  if (!((first >= '0' && first <= '9') || first == '.' || first == '+' || first == '-' ||
        first == '\n'))
    return prbK_NOT_A_NUMBER;
  int exponents = 0, points = 0, pluses = 0, minuses = 0;
  for (const char* c = text; *c; ++c) {
    if (*c >= '0' && *c <= '9') continue;
    switch (*c) {
      case 'e':
      case 'E':
        ++exponents;
        break;
      case '.':
        ++points;
        break;
      case '+':
        ++pluses;
        break;
      case '-':
        ++minuses;
        break;
      case '\n':
        break;
      default:
        return prbK_NOT_A_NUMBER;
    }
  }
  if (exponents > 1 || points > 1 || pluses > 2 || minuses > 2) return prbK_NOT_A_NUMBER;
  return prbK_NUMBER;
}

bool prbK_ProbeReportUtils::IsBlankLine(const char* line) {
  return xypK_Utils::IsBlankLine(line);
}

bool prbK_ProbeReportUtils::IsCommentLine(const char* line) {
  return xypK_Utils::IsCommentLine(line);
}

bool prbK_ProbeReportUtils::IsCommandLine(const char* line) {
  return xypK_Utils::IsCommandLine(line);
}

cow_String prbK_ProbeReportUtils::PrintReportHead() {
  return Labels::LabelString(prbK_MSG_ProbeReportHead);
}

cow_String prbK_ProbeReportUtils::CenterString(const cow_String& text, int width) {
  return xypK_Utils::CenterString(text, width);
}

cow_String prbK_ProbeReportUtils::LeftString(const cow_String& text, int width) {
  return xypK_Utils::LeftString(text, width);
}

cow_String prbK_ProbeReportUtils::RightString(const cow_String& text, int width) {
  return xypK_Utils::RightString(text, width);
}

cow_String prbK_ProbeReportUtils::PointString(const cow_String& text, int width) {
  return xypK_Utils::PointString(text, width);
}

cow_List<cow_String> prbK_ProbeReportUtils::BreakToLines(const cow_String& label, int width) {
  return xypK_Utils::BreakToLines(label, width);
}

cow_String prbK_ProbeReportUtils::Format(float value, prbC_FormatEnm format, int digits) {
  switch (static_cast<int>(format)) {
    case prbC_AUTOMATIC:
      return FormatAutomatic(value, digits);
    case prbC_ENGINEERING:
      return FormatEngineering(value, digits);
    case prbC_SCIENTIFIC:
      return FormatScientific(value, digits);
    default:
      return Labels::LabelString(prbK_MSG_InvalidNumberFormat);
  }
}

cow_String prbK_ProbeReportUtils::FormatScientific(float value, int digits) {
  cow_String text = xypK_Utils::FormatScientific(value, digits);
  if (std::isfinite(value) && text.Find(".") == text.Length()) text += ".";
  return text;
}

cow_String prbK_ProbeReportUtils::FormatAutomatic(float value, int digits) {
  return xypK_Utils::FormatAutomatic(value, digits);
}

cow_String prbK_ProbeReportUtils::FormatEngineering(float value, int digits) {
  return xypK_Utils::FormatEngineering(value, digits,
                                       xypK_Utils::TrailingZeros::kWhenDecimalCountIsShort);
}
