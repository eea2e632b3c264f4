#include "uti_Quoted.h"

cow_String uti_Quoted(std::string_view text, std::size_t shown) {
  static const char kHex[] = "0123456789abcdef";
  cow_String out("'");
  for (std::size_t i = 0; i < text.size() && i < shown; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '\'' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7f) {
      const char escaped[] = {'\\', 'x', kHex[c >> 4], kHex[c & 15], '\0'};
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  if (text.size() > shown) out += "...";
  out += "'";
  return out;
}
