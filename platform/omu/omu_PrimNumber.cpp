#include "omu_PrimNumber.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

std::unique_ptr<omu_Primitive> omu_PrimNumber::Clone() const {
  return isInteger_ ? std::make_unique<omu_PrimNumber>(integer_)
                    : std::make_unique<omu_PrimNumber>(real_);
}

std::unique_ptr<omu_PrimNumber> omu_PrimNumber::FromSingle(float value) {
  if (!std::isfinite(value)) return std::make_unique<omu_PrimNumber>(static_cast<double>(value));
  char buf[32];
  auto res = std::to_chars(buf, buf + sizeof buf, value);
  double shortest = 0.0;
  std::from_chars(buf, res.ptr, shortest);
  return std::make_unique<omu_PrimNumber>(shortest);
}

// Floats print as the script language prints them: the shortest text that reads back exactly,
// positional for decimal exponents from -4 to 15 (always with a fraction), else exponential.
cow_String omu_PrimNumber::Repr() const {
  if (isInteger_) return cow_String::FromInt(integer_);
  if (std::isnan(real_)) return "nan";
  if (std::isinf(real_)) return real_ > 0 ? "inf" : "-inf";
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, real_, std::chars_format::scientific);
  std::string sci(buf, res.ptr);  // d[.ddd]e±XX
  std::size_t e = sci.find('e');
  int exponent = std::atoi(sci.c_str() + e + 1);
  bool negative = sci[0] == '-';
  std::string digits;
  for (std::size_t i = negative ? 1 : 0; i < e; ++i)
    if (sci[i] != '.') digits += sci[i];
  std::string out = negative ? "-" : "";
  if (exponent >= -4 && exponent < 16) {
    if (exponent < 0) {
      out.append("0.").append(static_cast<std::size_t>(-exponent - 1), '0').append(digits);
    } else {
      std::size_t intLen = static_cast<std::size_t>(exponent) + 1;
      if (digits.size() <= intLen) {
        out.append(digits).append(intLen - digits.size(), '0').append(".0");
      } else {
        out.append(digits, 0, intLen).append(".").append(digits, intLen);
      }
    }
  } else {
    out.append(digits, 0, 1);
    if (digits.size() > 1) out.append(".").append(digits, 1);
    char exp[16];
    std::snprintf(exp, sizeof exp, "e%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    out += exp;
  }
  return cow_String(out);
}
