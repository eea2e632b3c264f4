#include "gdr_BoundsRenderer.h"

#include <algorithm>

#include "gdr_FontMetrics.h"

void gdr_BoundsRenderer::Add(double x, double y) {
  if (IsEmpty()) {
    xMin_ = xMax_ = x;
    yMin_ = yMax_ = y;
    return;
  }
  xMin_ = std::min(xMin_, x);
  xMax_ = std::max(xMax_, x);
  yMin_ = std::min(yMin_, y);
  yMax_ = std::max(yMax_, y);
}

void gdr_BoundsRenderer::StrokePath(const gdr_Point* points, size_t n, bool) {
  for (size_t i = 0; i < n; ++i) Add(points[i].x, points[i].y);
}

void gdr_BoundsRenderer::FillPath(const gdr_Point* points, size_t n) {
  for (size_t i = 0; i < n; ++i) Add(points[i].x, points[i].y);
}

void gdr_BoundsRenderer::Marker(gdr_Point center, g3d_MarkerEnum, double size) {
  Add(center.x - size / 2.0, center.y - size / 2.0);
  Add(center.x + size / 2.0, center.y + size / 2.0);
}

void gdr_BoundsRenderer::Text(const std::string& utf8, const gru_Font& font,
                              const g3d_XForm& textToDevice) {
  double ascent, descent;
  gdr_FontMetrics::FontExtents(font, ascent, descent);
  const double advance = gdr_FontMetrics::Advance(font, cow_String(utf8));
  for (const double x : {0.0, advance})
    for (const double y : {-descent, ascent}) {
      const g3d_XForm::Point p = textToDevice.Apply(x, y);
      Add(p.x, p.y);
    }
}
