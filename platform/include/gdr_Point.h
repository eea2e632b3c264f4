#pragma once
// A point in device units (pixels, or points for vector output), origin at the bottom-left of the
// viewport, x to the right and y up.

struct gdr_Point {
  double x = 0.0;
  double y = 0.0;

  bool operator==(const gdr_Point&) const = default;
};
