#include "omu_PrimBytes.h"

#include <cstdio>

cow_String omu_PrimBytes::Repr() const {
  const std::string_view bytes = Value().View();
  cow_String out("b'");
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\'' || c == '\\') {
      out.Append('\\');
      out.Append(c);
    } else if (byte < 0x20 || byte >= 0x7f) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", byte);
      out += hex;
    } else {
      out.Append(c);
    }
  }
  out.Append('\'');
  return out;
}
