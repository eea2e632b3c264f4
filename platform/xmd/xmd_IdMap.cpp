#include "xmd_IdMap.h"

#include <algorithm>
#include <cmath>

xmd_IdMap::xmd_IdMap(int width, int height)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      ids_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0) {}

void xmd_IdMap::Clear() {
  std::fill(ids_.begin(), ids_.end(), 0);
}

int xmd_IdMap::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return ids_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
              static_cast<std::size_t>(x)];
}

void xmd_IdMap::FillSpan(int y, int x0, int x1, int id) {
  if (y < 0 || y >= height_) return;
  x0 = std::max(x0, 0);
  x1 = std::min(x1, width_ - 1);
  if (x0 > x1) return;
  auto row = ids_.begin() + static_cast<std::ptrdiff_t>(y) * width_;
  std::fill(row + x0, row + x1 + 1, id);
}

int xmd_IdMap::Query(double x, double y, double tolerance) const {
  if (!std::isfinite(x) || !std::isfinite(y)) return 0;
  // Far outside the map nothing can lie within any sensible tolerance.
  if (!std::isfinite(tolerance) || tolerance < 0.0) tolerance = 0.0;
  tolerance = std::min(tolerance, 64.0);
  if (x < -tolerance - 1.0 || y < -tolerance - 1.0 || x > width_ + tolerance + 1.0 ||
      y > height_ + tolerance + 1.0)
    return 0;
  const int px = static_cast<int>(std::floor(x)), py = static_cast<int>(std::floor(y));
  if (const int id = At(px, py)) return id;
  const int reach = static_cast<int>(std::ceil(tolerance));
  int best = 0;
  double bestDistance = tolerance * tolerance;
  for (int j = py - reach; j <= py + reach; ++j)
    for (int i = px - reach; i <= px + reach; ++i) {
      const int id = At(i, j);
      if (id == 0) continue;
      // Distance from the point to the pixel's square.
      const double dx = std::max({static_cast<double>(i) - x, 0.0, x - (i + 1.0)});
      const double dy = std::max({static_cast<double>(j) - y, 0.0, y - (j + 1.0)});
      const double d = dx * dx + dy * dy;
      if (d < bestDistance || (d == bestDistance && id > best)) {
        best = id;
        bestDistance = d;
      }
    }
  return best;
}
