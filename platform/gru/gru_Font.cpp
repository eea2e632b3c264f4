#include "gru_Font.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "omi_Assert.h"

namespace {
std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

const char* FaceFor(std::string_view family) {
  if (StartsWith(family, "courier") || family == "fixed" || family == "monospace" ||
      family == "dejavu sans mono" || StartsWith(family, "lucidatypewriter"))
    return "DejaVu Sans Mono";
  if (StartsWith(family, "times") || family == "serif" || family == "dejavu serif" ||
      StartsWith(family, "new century schoolbook") || family == "charter")
    return "DejaVu Serif";
  return "DejaVu Sans";
}

// A positive decimal integer field; 0 for a wildcard or anything else.
int SizeField(std::string_view field) {
  int value = 0;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (error != std::errc() || end != field.data() + field.size() || value <= 0) return 0;
  return value;
}
}  // namespace

gru_Font::gru_Font() : gru_Font(cow_String(kDefaultDescription)) {}

gru_Font::gru_Font(const cow_String& description) {
  parsed_ = Parse(description);
  if (parsed_) {
    description_ = description;
  } else {
    const bool ok = Parse(cow_String(kDefaultDescription));
    OMI_ASSERT(ok);
    description_ = cow_String(kDefaultDescription);
  }
}

cow_String gru_Font::DescriptionAt(double pointSize) const {
  // Fields 7 (pixels) and 8 (tenths of a point) of the description in use, which has fourteen.
  const std::string_view text = description_.View();
  std::string out;
  int field = 0;
  std::size_t start = 1;
  while (true) {
    const std::size_t dash = text.find('-', start);
    const std::string_view value =
        text.substr(start, dash == std::string_view::npos ? dash : dash - start);
    ++field;
    out += '-';
    if (field == 7)
      out += '*';
    else if (field == 8)
      out += std::to_string(std::max(1L, std::lround(pointSize * 10.0)));
    else
      out += value;
    if (dash == std::string_view::npos) break;
    start = dash + 1;
  }
  return cow_String(out);
}

bool gru_Font::Parse(const cow_String& description) {
  // -foundry-family-weight-slant-setwidth-addstyle-pixels-points-resx-resy-spacing-average-
  // registry-encoding: fourteen fields, each after a '-'.
  const std::string_view text = description.View();
  if (text.empty() || text[0] != '-') return false;
  std::vector<std::string_view> fields;
  size_t start = 1;
  while (true) {
    const size_t dash = text.find('-', start);
    fields.push_back(text.substr(start, dash == std::string_view::npos ? dash : dash - start));
    if (dash == std::string_view::npos) break;
    start = dash + 1;
  }
  if (fields.size() != 14) return false;
  const std::string family = Lower(fields[1]);
  const std::string weight = Lower(fields[2]);
  const std::string slant = Lower(fields[3]);
  if (family.empty() || weight.empty() || slant.empty()) return false;

  family_ = cow_String(family);
  faceName_ = cow_String(FaceFor(family));
  bold_ = weight == "bold" || weight == "demibold";
  italic_ = slant == "i" || slant == "o";
  // The point size in tenths; failing that the pixel size, taken as points.
  if (const int tenths = SizeField(fields[7]); tenths > 0) {
    pointSize_ = tenths / 10.0;
  } else if (const int pixels = SizeField(fields[6]); pixels > 0) {
    pointSize_ = pixels;
  } else {
    pointSize_ = 10.0;
  }
  return true;
}
