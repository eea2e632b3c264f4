#include "omu_PrimString.h"

#include <cstdio>

// Quoted as the script language quotes strings: single quotes unless the text holds one.
cow_String omu_PrimString::Repr() const {
  const std::string_view text = value_.View();
  const bool hasSingle = text.find('\'') != std::string_view::npos;
  const bool hasDouble = text.find('"') != std::string_view::npos;
  const char quote = hasSingle && !hasDouble ? '"' : '\'';
  cow_String out;
  out.Append(quote);
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c == quote) {
          out.Append('\\');
          out.Append(c);
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
          char hex[8];
          std::snprintf(hex, sizeof hex, "\\x%02x", static_cast<unsigned char>(c));
          out += hex;
        } else {
          out.Append(c);
        }
    }
  }
  out.Append(quote);
  return out;
}
