#include "g3d_XForm.h"

#include <cmath>
#include <numbers>

g3d_XForm g3d_XForm::Rotation(double degrees) {
  double c;
  double s;
  // Exact values at the quarter turns, so that rotated text and axes stay exactly upright.
  const double quarter = degrees / 90.0;
  if (std::isfinite(quarter) && quarter == std::floor(quarter)) {
    static const double kCos[4] = {1, 0, -1, 0};
    static const double kSin[4] = {0, 1, 0, -1};
    const long long q = static_cast<long long>(std::fmod(quarter, 4.0));
    const int i = static_cast<int>((q % 4 + 4) % 4);
    c = kCos[i];
    s = kSin[i];
  } else {
    const double r = degrees * (std::numbers::pi / 180.0);
    c = std::cos(r);
    s = std::sin(r);
  }
  return g3d_XForm(c, -s, 0, s, c, 0);
}

g3d_XForm g3d_XForm::operator*(const g3d_XForm& r) const {
  return g3d_XForm(a_ * r.a_ + b_ * r.d_, a_ * r.b_ + b_ * r.e_, a_ * r.c_ + b_ * r.f_ + c_,
                   d_ * r.a_ + e_ * r.d_, d_ * r.b_ + e_ * r.e_, d_ * r.c_ + e_ * r.f_ + f_);
}

bool g3d_XForm::IsFinite() const {
  return std::isfinite(a_) && std::isfinite(b_) && std::isfinite(c_) && std::isfinite(d_) &&
         std::isfinite(e_) && std::isfinite(f_);
}
