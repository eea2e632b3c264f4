#include "g3d_Color.h"

#include <algorithm>
#include <cmath>

namespace {
double Linear(double channel) {
  const double c = std::clamp(std::isfinite(channel) ? channel : 0.0, 0.0, 1.0);
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
}  // namespace

double g3d_Color::Luminance(const gdr_Color& color) {
  return 0.2126 * Linear(color.r) + 0.7152 * Linear(color.g) + 0.0722 * Linear(color.b);
}

double g3d_Color::ContrastRatio(const gdr_Color& a, const gdr_Color& b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

gdr_Color g3d_Color::GetContrastingColor(const gdr_Color& color, const gdr_Color& background) {
  const double channelDifference =
      std::max({std::fabs(color.r - background.r), std::fabs(color.g - background.g),
                std::fabs(color.b - background.b)});
  // NaN channels fail both comparisons and count as invisible.
  const bool visible = ContrastRatio(color, background) >= 1.5 || channelDifference >= 0.3;
  if (visible) return color;
  const gdr_Color black = gdr_Color::Black();
  const gdr_Color white = gdr_Color::White();
  return ContrastRatio(black, background) >= ContrastRatio(white, background) ? black : white;
}
