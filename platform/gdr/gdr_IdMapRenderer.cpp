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

namespace {
bool Finite(gdr_Point p, double depth) {
  return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(depth);
}

// The first and last pixel (column or row) whose centre lies in [lo, hi], within 0 .. size - 1;
// first > last when there is none.
void PixelRange(double lo, double hi, int size, int& first, int& last) {
  first = static_cast<int>(std::clamp(std::ceil(lo - 0.5), 0.0, static_cast<double>(size)));
  last = static_cast<int>(std::clamp(std::floor(hi - 0.5), -1.0, static_cast<double>(size - 1)));
}

// Twice the signed area of a, b, p: positive when p lies left of a -> b.
double Edge(gdr_Point a, gdr_Point b, double px, double py) {
  return (b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x);
}
}  // namespace

float gdr_IdMapRenderer::DepthAt(int x, int y) const {
  if (depth_.empty() || x < 0 || y < 0 || x >= map_.Width() || y >= map_.Height()) return -INFINITY;
  return depth_[static_cast<std::size_t>(y) * static_cast<std::size_t>(map_.Width()) +
                static_cast<std::size_t>(x)];
}

void gdr_IdMapRenderer::Plot(int x, int y, float depth, float threshold) {
  if (!(depth > threshold)) return;
  const std::size_t width = static_cast<std::size_t>(map_.Width());
  if (depth_.empty()) depth_.assign(width * static_cast<std::size_t>(map_.Height()), -INFINITY);
  float& held = depth_[static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x)];
  held = std::max(held, depth);
  if (!depthOnly_ && PickId() != 0) map_.FillSpan(y, x, x, PickId());
}

void gdr_IdMapRenderer::FillTriangleDepth(const gdr_Point corners[3], const double depths[3]) {
  for (int k = 0; k < 3; ++k)
    if (!Finite(corners[k], depths[k])) return;
  const gdr_Point a = corners[0], b = corners[1], c = corners[2];
  const double signedArea = Edge(a, b, c.x, c.y);
  // Seen edge-on: it covers no area, and hides nothing.
  if (!(std::fabs(signedArea) > 1e-9)) return;
  const double sign = signedArea > 0.0 ? 1.0 : -1.0;
  const double area = std::fabs(signedArea);
  int x0, x1, y0, y1;
  PixelRange(std::min({a.x, b.x, c.x}), std::max({a.x, b.x, c.x}), map_.Width(), x0, x1);
  PixelRange(std::min({a.y, b.y, c.y}), std::max({a.y, b.y, c.y}), map_.Height(), y0, y1);
  for (int y = y0; y <= y1; ++y) {
    const double py = y + 0.5;
    for (int x = x0; x <= x1; ++x) {
      const double px = x + 0.5;
      // Barycentric weights (times the area) of the corners at the pixel centre.
      const double wa = sign * Edge(b, c, px, py);
      const double wb = sign * Edge(c, a, px, py);
      const double wc = sign * Edge(a, b, px, py);
      if (wa < 0.0 || wb < 0.0 || wc < 0.0) continue;
      const double depth = (wa * depths[0] + wb * depths[1] + wc * depths[2]) / area;
      Plot(x, y, static_cast<float>(depth), DepthAt(x, y));
    }
  }
}

void gdr_IdMapRenderer::FillPolygonDepth(const gdr_Point* corners, const double* depths, size_t n) {
  for (size_t k = 2; k < n; ++k) {
    const gdr_Point triangle[3] = {corners[0], corners[k - 1], corners[k]};
    const double z[3] = {depths[0], depths[k - 1], depths[k]};
    FillTriangleDepth(triangle, z);
  }
}

void gdr_IdMapRenderer::StrokeSegmentDepth(gdr_Point p, double depthP, gdr_Point q, double depthQ) {
  if (!Finite(p, depthP) || !Finite(q, depthQ)) return;
  const double radius = std::max(LineWidth(), kMinWidth) / 2.0;
  const double dx = q.x - p.x, dy = q.y - p.y;
  const double length2 = dx * dx + dy * dy;
  int x0, x1, y0, y1;
  PixelRange(std::min(p.x, q.x) - radius, std::max(p.x, q.x) + radius, map_.Width(), x0, x1);
  PixelRange(std::min(p.y, q.y) - radius, std::max(p.y, q.y) + radius, map_.Height(), y0, y1);
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      const double px = x + 0.5 - p.x, py = y + 0.5 - p.y;
      // The nearest point of the segment, and the pixel centre's distance from it.
      const double t = length2 > 0.0 ? std::clamp((px * dx + py * dy) / length2, 0.0, 1.0) : 0.0;
      const double ex = px - t * dx, ey = py - t * dy;
      if (ex * ex + ey * ey > radius * radius) continue;
      Plot(x, y, static_cast<float>(depthP + t * (depthQ - depthP)), DepthAt(x, y));
    }
}

void gdr_IdMapRenderer::FillDiscDepth(gdr_Point center, double depth, double radius,
                                      double tolerance) {
  if (!Finite(center, depth) || !(radius > 0.0)) return;
  if (!std::isfinite(tolerance) || tolerance < 0.0) tolerance = 0.0;
  int x0, x1, y0, y1;
  PixelRange(center.x - radius, center.x + radius, map_.Width(), x0, x1);
  PixelRange(center.y - radius, center.y + radius, map_.Height(), y0, y1);
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      const double ex = x + 0.5 - center.x, ey = y + 0.5 - center.y;
      if (ex * ex + ey * ey > radius * radius) continue;
      // Not behind the buffer by more than the tolerance: written, ties included.
      const float threshold = static_cast<float>(static_cast<double>(DepthAt(x, y)) - tolerance);
      Plot(x, y, static_cast<float>(depth), std::nextafter(threshold, -INFINITY));
    }
}
