#include "xypK_Utils.h"

xypK_FieldEnum xypK_Utils::IsFloat(const char* text) {
  if (!text) return xypK_NOT_A_NUMBER;
  return IsFloat(std::string_view(text));
}

xypK_FieldEnum xypK_Utils::IsFloat(std::string_view text) {
  if (text.find("NoValue") != std::string_view::npos) return xypK_NO_VALUE;
  if (text.empty()) return xypK_NOT_A_NUMBER;
  const char first = text[0];
  if (!(first >= '0' && first <= '9') && first != '.' && first != '+' && first != '-' &&
      first != '\n')
    return xypK_NOT_A_NUMBER;
  int exponents = 0, points = 0, signs = 0;
  bool digit = false;
  char previous = '\0';
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      digit = true;
    } else if (c == 'e' || c == 'E') {
      if (i == 0 || ++exponents > 1) return xypK_NOT_A_NUMBER;
    } else if (c == '.') {
      if (++points > 1) return xypK_NOT_A_NUMBER;
    } else if (c == '+' || c == '-') {
      if (++signs > 2) return xypK_NOT_A_NUMBER;
      if (i != 0 && previous != 'e' && previous != 'E') return xypK_NOT_A_NUMBER;
    } else if (c != '\n') {
      return xypK_NOT_A_NUMBER;
    }
    previous = c;
  }
  return digit ? xypK_NUMBER : xypK_NOT_A_NUMBER;
}

bool xypK_Utils::IsCommentLine(std::string_view line) {
  return line.size() >= 2 && line[0] == '*' && line[1] == '*';
}

bool xypK_Utils::IsCommandLine(std::string_view line) {
  return line.size() >= 2 && line[0] == '*' && line[1] != '*';
}

bool xypK_Utils::IsBlankLine(std::string_view line) {
  for (char c : line)
    if (c != ' ' && c != '\t' && c != '\n') return false;
  return true;
}

bool xypK_Utils::IsCommentLine(const char* line) {
  return line && IsCommentLine(std::string_view(line));
}
bool xypK_Utils::IsCommandLine(const char* line) {
  return line && IsCommandLine(std::string_view(line));
}
bool xypK_Utils::IsBlankLine(const char* line) {
  return !line || IsBlankLine(std::string_view(line));
}
