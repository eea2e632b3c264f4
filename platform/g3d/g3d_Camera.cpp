#include "g3d_Camera.h"

#include <algorithm>

g3d_XForm g3d_Camera::WorldToDevice(float width, float height) const {
  const double sx = width / (2.0 * halfWidth_);
  const double sy = height / (2.0 * halfHeight_);
  const double s = std::min(sx, sy);
  return g3d_XForm::Translation(width / 2.0, height / 2.0) * g3d_XForm::Scale(s, s) *
         g3d_XForm::Translation(-centerX_, -centerY_);
}
