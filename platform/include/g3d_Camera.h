#pragma once
// The view of a 2D scene: the world rectangle (centre and half sizes) fitted into a viewport.
// Fitting keeps the aspect: the rectangle fills the viewport along its tighter direction and is
// centred along the other.
#include "g3d_XForm.h"

class g3d_Camera {
 public:
  g3d_Camera() = default;
  g3d_Camera(float centerX, float centerY, float halfWidth, float halfHeight)
      : centerX_(centerX), centerY_(centerY), halfWidth_(halfWidth), halfHeight_(halfHeight) {}

  float CenterX() const { return centerX_; }
  float CenterY() const { return centerY_; }
  float HalfWidth() const { return halfWidth_; }
  float HalfHeight() const { return halfHeight_; }

  // World to device for a viewport of width x height device units (origin bottom-left).
  g3d_XForm WorldToDevice(float width, float height) const;

 private:
  float centerX_ = 0.0f;
  float centerY_ = 0.0f;
  float halfWidth_ = 1.0f;
  float halfHeight_ = 1.0f;
};
