#include "gdr_IdMapRenderer.h"

#include <algorithm>
#include <cmath>

gdr_IdMapRenderer::gdr_IdMapRenderer(xmd_IdMap& map)
    : gdr_Renderer(map.Width(), map.Height()), map_(map) {}

void gdr_IdMapRenderer::StrokePath(const gdr_Point* points, size_t n, bool closed) {
  if (PickId() == 0) return;
  const double radius = std::max(LineWidth(), kMinWidth) / 2.0;
  for (size_t k = 1; k < n; ++k) FillCapsule(points[k - 1], points[k], radius);
  if (closed && n > 2) FillCapsule(points[n - 1], points[0], radius);
}

void gdr_IdMapRenderer::Marker(gdr_Point center, g3d_MarkerEnum, double size) {
  if (PickId() == 0) return;
  FillCapsule(center, center, std::max(size, kMinWidth) / 2.0);
}

void gdr_IdMapRenderer::FillCapsule(gdr_Point p, gdr_Point q, double radius) {
  // Scanline by scanline: the capsule (the segment swept by a disc) meets the horizontal line
  // through the row's pixel centres in one interval, the hull of what the two end discs and the
  // band between them give.
  const double dx = q.x - p.x, dy = q.y - p.y;
  const double length = std::hypot(dx, dy);
  const double nx = length > 0.0 ? -dy / length * radius : 0.0;
  const double ny = length > 0.0 ? dx / length * radius : 0.0;
  const gdr_Point band[4] = {
      {p.x + nx, p.y + ny}, {q.x + nx, q.y + ny}, {q.x - nx, q.y - ny}, {p.x - nx, p.y - ny}};
  const double lowY = std::min(p.y, q.y) - radius, highY = std::max(p.y, q.y) + radius;
  const int firstRow = std::max(0, static_cast<int>(std::ceil(lowY - 0.5)));
  const int lastRow = std::min(map_.Height() - 1, static_cast<int>(std::floor(highY - 0.5)));
  for (int row = firstRow; row <= lastRow; ++row) {
    const double c = row + 0.5;
    double lo = INFINITY, hi = -INFINITY;
    for (const gdr_Point& end : {p, q}) {
      const double d = c - end.y;
      if (std::fabs(d) > radius) continue;
      const double half = std::sqrt(radius * radius - d * d);
      lo = std::min(lo, end.x - half);
      hi = std::max(hi, end.x + half);
    }
    if (length > 0.0)
      for (int e = 0; e < 4; ++e) {
        const gdr_Point& a = band[e];
        const gdr_Point& b = band[(e + 1) % 4];
        if ((c < a.y && c < b.y) || (c > a.y && c > b.y)) continue;
        const double x = a.y == b.y ? a.x : a.x + (c - a.y) / (b.y - a.y) * (b.x - a.x);
        lo = std::min({lo, x, a.y == b.y ? b.x : x});
        hi = std::max({hi, x, a.y == b.y ? b.x : x});
      }
    if (!(lo <= hi)) continue;
    // Pixels whose centres lie in [lo, hi], kept within the map before the integer conversion.
    const double first = std::clamp(std::ceil(lo - 0.5), -1.0, static_cast<double>(map_.Width()));
    const double last = std::clamp(std::floor(hi - 0.5), -1.0, static_cast<double>(map_.Width()));
    map_.FillSpan(row, static_cast<int>(first), static_cast<int>(last), PickId());
  }
}
