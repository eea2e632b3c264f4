#include "gru_Text3D.h"

#include <cmath>

#include "gdr_FontMetrics.h"
#include "gdr_Renderer.h"

void gru_Text3D::QueryExtent(const cow_String& text, float min[2], float max[2]) {
  text_ = text;
  Extent(text, min, max);
}

void gru_Text3D::Extent(const cow_String& text, float min[2], float max[2]) const {
  double ascent;
  double descent;
  gdr_FontMetrics::FontExtents(font_, ascent, descent);
  min[0] = 0.0f;
  min[1] = static_cast<float>(-descent);
  max[0] = static_cast<float>(gdr_FontMetrics::Advance(font_, text));
  max[1] = static_cast<float>(ascent);
}

g3d_XForm gru_Text3D::Position(const cow_String& text, float x, float y, float size) const {
  float min[2];
  float max[2];
  Extent(text, min, max);
  const double height = static_cast<double>(max[1]) - min[1];
  // A size that is not positive (or NaN) scales by 0 (or NaN): the renderer refuses to draw that.
  const double scale = std::isfinite(size) && size > 0.0f && height > 0.0 ? size / height : 0.0;
  const double cx = 0.5 * (static_cast<double>(min[0]) + max[0]);
  const double cy = 0.5 * (static_cast<double>(min[1]) + max[1]);
  return g3d_XForm::Translation(x, y) * g3d_XForm::Scale(scale, scale) *
         g3d_XForm::Translation(-cx, -cy);
}

void gru_Text3D::Draw(gdr_Renderer& renderer, const cow_String& text) const {
  renderer.DrawText(text, font_, g3d_XForm::Identity());
}
