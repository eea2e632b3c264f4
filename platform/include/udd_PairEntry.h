#pragma once
// One (x, y) pair of XY data, in single precision.
#include <cfloat>
#include <cmath>
#include <limits>

struct udd_PairEntry {
  float x = 0.0f;
  float y = 0.0f;

  // Narrows a double to the nearest float as the C conversion does: values beyond the largest
  // float that do not round to it become infinite (a plain cast of such a value is undefined).
  static float Narrow(double value) {
    if (std::isnan(value)) return std::numeric_limits<float>::quiet_NaN();
    // Halfway between FLT_MAX and the next power of two rounds to even, i.e. to infinity.
    constexpr double kLimit = static_cast<double>(FLT_MAX) + 0x1p103;  // FLT_MAX plus half its ulp
    if (value >= kLimit) return std::numeric_limits<float>::infinity();
    if (value <= -kLimit) return -std::numeric_limits<float>::infinity();
    if (value > FLT_MAX) return FLT_MAX;
    if (value < -FLT_MAX) return -FLT_MAX;
    return static_cast<float>(value);
  }
  bool operator==(const udd_PairEntry& o) const { return x == o.x && y == o.y; }
};
