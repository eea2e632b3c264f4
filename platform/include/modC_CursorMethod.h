#pragma once
// The cursor in a viewport: a move reports a direct manipulation (kCursorMove), a first-button
// click the move to its point and then a value. Points are viewport pixels, x right and y up
// from the bottom-left corner.
#include "g3d_Point.h"
#include "modC_Method.h"

class modC_CursorMethod : public modC_Method {
 public:
  modC_CursorMethod(modC_MethodReceiver& receiver, int viewport)
      : modC_Method(receiver), viewport_(viewport) {}

  int Viewport() const { return viewport_; }
  const g3d_Point& CurrentPoint() const { return point_; }
  void Move(const g3d_Point& point);
  void Click(const g3d_Point& point);

 private:
  int viewport_;
  g3d_Point point_{0.0f, 0.0f, 0.0f};
};
