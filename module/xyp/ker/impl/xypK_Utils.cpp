#include "xypK_Utils.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>
#include <system_error>

#include "udd_UserXYData.h"

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

// --- Text layout and number formatting.
//
// Every operation builds its result in one step: the pieces of the text (views into the input or
// into local scratch arrays) and the blanks around them are counted first and then copied into
// the one new string. Scratch space is a local array sized for ordinary digit counts, with a
// heap string only for longer texts, so nothing is shared between calls.

namespace {

constexpr std::size_t kNone = std::string_view::npos;

std::string_view TrimBlanks(std::string_view s) {
  const std::size_t b = s.find_first_not_of(' ');
  if (b == kNone) return {};
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

std::string_view TrimTrailingZeros(std::string_view s) {
  while (!s.empty() && s.back() == '0') s.remove_suffix(1);
  return s;
}

// left blanks, the parts in order, right blanks: one new string.
cow_String Assemble(std::size_t left, std::initializer_list<std::string_view> parts,
                    std::size_t right) {
  std::size_t n = left + right;
  for (std::string_view p : parts) n += p.size();
  char local[160];
  std::string heap;
  char* out = local;
  if (n > sizeof local) {
    heap.resize(n);
    out = heap.data();
  }
  char* at = out;
  std::memset(at, ' ', left);
  at += left;
  for (std::string_view p : parts) {
    if (!p.empty()) std::memcpy(at, p.data(), p.size());
    at += p.size();
  }
  std::memset(at, ' ', right);
  if (out == local) return cow_String(local, n);
  return cow_String(std::move(heap));
}

// body is a view into text; an unchanged text is returned as it is, sharing its buffer.
cow_String Laid(const cow_String& text, std::string_view body, std::size_t left,
                std::size_t right) {
  if (left == 0 && right == 0 && body.size() == text.Length()) return text;
  return Assemble(left, {body}, right);
}

// Blanks that pad a text of `length` characters on the left up to width columns.
std::size_t PadTo(std::size_t length, long long width) {
  return width > 0 && length < static_cast<unsigned long long>(width)
             ? static_cast<std::size_t>(width) - length
             : 0;
}

// Blanks around a trimmed text of `length` characters whose first point is at `point` (kNone
// when it has none) that put the point at column width - (h + 4), h = (width - 5) / 2.
void PointPads(std::size_t length, std::size_t point, long long width, std::size_t* left,
               std::size_t* right) {
  *left = *right = 0;
  if (width < 0) return;
  const long long h = (width - 5) / 2;  // truncates toward zero, as the column rule wants
  const long long tail = point == kNone ? 0 : static_cast<long long>(length - point);
  if (h + 4 - tail > 0) *right = static_cast<std::size_t>(h + 4 - tail);
  *left = PadTo(length + *right, width);
}

// A printf target: a local array for the common case, a heap string for a longer text. `print`
// is called as print(buffer, size) and returns what snprintf returns.
class PrintBuffer {
 public:
  template <class Print>
  std::string_view Fill(Print print) {
    const int n = print(local_, sizeof local_);
    if (n < 0) return {};
    const std::size_t size = static_cast<std::size_t>(n);
    if (size < sizeof local_) return {local_, size};
    heap_.assign(size + 1, '\0');
    print(heap_.data(), heap_.size());
    return {heap_.data(), size};
  }

 private:
  char local_[64];
  std::string heap_;
};

int Digits(int digits) {
  return std::clamp(digits, 1, xypK_Utils::kMaxDigits);
}

// The text of an infinity or a not-a-number in every number form.
std::string_view NonFinite(float value) {
  if (std::isnan(value)) return "NaN";
  return value < 0 ? "-Inf" : "Inf";
}

// The "%.*G" (general) or "%.*E" (scientific) text of a double, without the blank flag and width:
// std::to_chars with a precision gives exactly the printf digits, several times faster than
// snprintf. False when the text does not fit `size` (very large digit counts).
bool PrintNumber(char* out, std::size_t size, double value, int precision, bool scientific,
                 std::string_view* text) {
  const std::to_chars_result r = std::to_chars(
      out, out + size, value,
      scientific ? std::chars_format::scientific : std::chars_format::general, precision);
  if (r.ec != std::errc()) return false;
  for (char* c = out; c != r.ptr; ++c)
    if (*c == 'e') *c = 'E';
  *text = std::string_view(out, static_cast<std::size_t>(r.ptr - out));
  return true;
}

// Appends `text` right-aligned in `width` columns.
void AppendRight(std::string& out, std::string_view text, int width) {
  const std::size_t pad = PadTo(text.size(), width);
  out.append(pad, ' ');
  out.append(text);
}

// Appends the automatic form: the general text with a point always (before the exponent mark,
// or at the end of an integral text), right-aligned in width columns.
void AppendAutomatic(std::string& out, std::string_view text, int width) {
  if (text.find('.') != kNone) return AppendRight(out, text, width);
  const std::size_t mark = std::min(text.find('E'), text.size());
  out.append(PadTo(text.size() + 1, width), ' ');
  out.append(text.substr(0, mark));
  out.push_back('.');
  out.append(text.substr(mark));
}

}  // namespace

cow_String xypK_Utils::CenterString(const cow_String& text, int width) {
  const std::size_t n = PadTo(text.Length(), width);
  return Laid(text, text.View(), n - n / 2, n / 2);
}

cow_String xypK_Utils::LeftString(const cow_String& text, int width) {
  const std::string_view body = TrimBlanks(text.View());
  return Laid(text, body, 0, PadTo(body.size(), width));
}

cow_String xypK_Utils::RightString(const cow_String& text, int width) {
  const std::string_view body = TrimBlanks(text.View());
  return Laid(text, body, PadTo(body.size(), width), 0);
}

cow_String xypK_Utils::PointString(const cow_String& text, int width) {
  const std::string_view body = TrimBlanks(text.View());
  std::size_t left, right;
  PointPads(body.size(), body.find('.'), width, &left, &right);
  return Laid(text, body, left, right);
}

cow_String xypK_Utils::Format(float value, xypC_FormatEnum format, int digits) {
  switch (static_cast<int>(format)) {
    case xypC_AUTOMATIC:
      return FormatAutomatic(value, digits);
    case xypC_ENGINEERING:
      return FormatEngineering(value, digits);
    case xypC_SCIENTIFIC:
      return FormatScientific(value, digits);
    default:
      return cow_String("Invalid number format");
  }
}

cow_String xypK_Utils::FormatScientific(float value, int digits) {
  std::string out;
  AppendFormat(out, value, xypC_SCIENTIFIC, digits);
  return cow_String(std::move(out));
}

cow_String xypK_Utils::FormatAutomatic(float value, int digits) {
  std::string out;
  AppendFormat(out, value, xypC_AUTOMATIC, digits);
  return cow_String(std::move(out));
}

void xypK_Utils::AppendFormat(std::string& out, float value, xypC_FormatEnum format, int digits) {
  if (format != xypC_AUTOMATIC && format != xypC_SCIENTIFIC) {
    out += Format(value, format, digits).View();
    return;
  }
  const int d = Digits(digits);
  const int width = d + 6;
  if (!std::isfinite(value)) return AppendRight(out, NonFinite(value), width);
  const bool scientific = format == xypC_SCIENTIFIC;
  const int precision = scientific ? d - 1 : d;
  char local[128];
  std::string_view text;
  std::string heap;
  if (!PrintNumber(local, sizeof local, value, precision, scientific, &text)) {
    heap.resize(static_cast<std::size_t>(d) + 64);
    PrintNumber(heap.data(), heap.size(), value, precision, scientific, &text);
  }
  if (scientific)
    AppendRight(out, text, width);
  else
    AppendAutomatic(out, text, width);
}

cow_String xypK_Utils::FormatEngineering(float value, int digits) {
  return FormatEngineering(value, digits, TrailingZeros::kWhenValueIsShort);
}

cow_String xypK_Utils::FormatEngineering(float value, int digits, TrailingZeros rule) {
  const int d = Digits(digits);
  const long long width = 2LL * d + 5;
  std::size_t left, right;
  if (!std::isfinite(value)) {
    // Placed as a number text without a point; the scaling below would never end for them.
    const std::string_view text = NonFinite(value);
    PointPads(text.size(), kNone, width, &left, &right);
    return Assemble(left, {text}, right);
  }
  // Scale, in single precision, to a mantissa of one to three integer digits.
  float m = value;
  int e = 0;
  if (std::fabs(m) >= 1.0f) {
    while (std::fabs(m) >= 1000.0f) {
      m /= 1000.0f;
      e += 3;
    }
  } else if (m != 0.0f) {
    while (std::fabs(m) < 1.0f) {
      m *= 1000.0f;
      e -= 3;
    }
  }
  // Decimals: digits less the number of times a, divided by 10, stays above 1 (all digits for
  // a <= 1, zero included).
  const float a = std::fabs(m);
  int p = d;
  for (float t = a; t > 1.0f; t /= 10.0f) --p;

  PrintBuffer buffer;
  std::string_view text = TrimBlanks(buffer.Fill([&](char* out, std::size_t size) {
    return p > 0 ? std::snprintf(out, size, "% *.*f", d, p, static_cast<double>(m))
                 : std::snprintf(out, size, "% *.0f.", d, static_cast<double>(m));
  }));
  // Trailing zeros go when the value is short: when the plain decimal text of a, without
  // trailing zeros, has at most digits + 1 characters. That text is a widened to double and
  // written as the shortest digit string that reads back as that double, positionally (never
  // with an exponent): std::to_chars in fixed notation without a precision. So 2.5 ("2.5") loses
  // its zeros, while the float 1.1, exactly 1.10000002384185791015625 and written
  // "1.100000023841858", keeps them up to 15 digits.
  if (rule == TrailingZeros::kWhenDecimalCountIsShort) {
    if (text.find('.') != kNone) {
      char count[32];
      std::snprintf(count, sizeof count, "%f", static_cast<double>(p));
      if (TrimTrailingZeros(count).size() <= static_cast<std::size_t>(d))
        text = TrimTrailingZeros(text);
    }
  } else if (!text.empty() && text.back() == '0' && text.find('.') != kNone) {
    char plain[64];  // a < 1000: at most 3 integer digits and 17 significant digits in all
    const auto r = std::to_chars(plain, plain + sizeof plain, static_cast<double>(a),
                                 std::chars_format::fixed);
    if (r.ec == std::errc()) {
      std::string_view shortest(plain, static_cast<std::size_t>(r.ptr - plain));
      if (shortest.find('.') != kNone) shortest = TrimTrailingZeros(shortest);
      if (shortest.size() <= static_cast<std::size_t>(d) + 1) text = TrimTrailingZeros(text);
    }
  }
  // The exponent: E, its sign and at least two digits (|e| <= 45 for a float).
  char suffix[16];
  std::size_t suffixLength = 0;
  if (e != 0) {
    const int magnitude = std::abs(e);
    suffix[suffixLength++] = 'E';
    suffix[suffixLength++] = e < 0 ? '-' : '+';
    if (magnitude < 10) suffix[suffixLength++] = '0';
    suffixLength = static_cast<std::size_t>(
        std::to_chars(suffix + suffixLength, suffix + sizeof suffix, magnitude).ptr - suffix);
  }
  const std::string_view exponent(suffix, suffixLength);
  PointPads(text.size() + exponent.size(), text.find('.'), width, &left, &right);
  return Assemble(left, {text, exponent}, right);
}

cow_String xypK_Utils::PrintReportHead() {
  return cow_String("\n**\n**\n** XY REPORT :\n** ===========\n**\n**\n");
}

cow_List<cow_String> xypK_Utils::BreakToLines(const cow_String& label, int /*width*/) {
  const std::string_view s = label.View();
  const std::size_t open = s.find('(');
  if (open == kNone) return cow_List<cow_String>{label};
  // The text before a position, less one blank right before it.
  const auto before = [&](std::size_t from, std::size_t to) {
    if (to > from && s[to - 1] == ' ') --to;
    return cow_String(s.substr(from, to - from));
  };
  const std::size_t close = s.find(')', open + 1);
  const std::size_t end = close == kNone ? s.size() : close;  // the end of the inside
  const std::size_t in = s.find("Int", open + 1);
  if (in == kNone || in >= end) {
    const std::size_t last = close == kNone ? s.size() : close + 1;  // with the ")"
    return cow_List<cow_String>{before(0, open), cow_String(s.substr(open + 1, last - open - 1))};
  }
  return cow_List<cow_String>{before(0, open), cow_String(s.substr(in, end - in)),
                              before(open + 1, in)};
}

bool xypK_Utils::IsFit(int width, const udd_UserXYData& data, int useY) {
  PrintBuffer buffer;
  for (std::size_t i = 0; i < data.Size(); ++i) {
    const udd_PairEntry& pair = data.Pair(i);
    const float v = useY ? pair.y : pair.x;
    std::string_view text;
    if (std::isfinite(v)) {
      text = TrimTrailingZeros(buffer.Fill([&](char* out, std::size_t size) {
        return std::snprintf(out, size, "%f", static_cast<double>(v));
      }));
    } else {
      text = NonFinite(v);
    }
    long long count = static_cast<long long>(text.size());
    if (text.find('.') != kNone) --count;
    if (text.find('-') != kNone) --count;
    if (count > width) return false;
  }
  return true;
}

const char* xypK_DefaultFont() {
  return "-*-courier-medium-r-*-*-*-100-*-*-*-*-iso8859-1";
}
