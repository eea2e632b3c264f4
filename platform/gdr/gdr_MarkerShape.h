#pragma once
// The outline of a marker in device units (y up), shared by the back ends: filled and stroked
// polygons, stroked line segments and circles, all fitting within `size` (the full width)
// around the centre. Highlighted markers are 1.3 times larger with 1.5 times bolder lines.
#include <vector>

#include "g3d_Enumerations.h"
#include "gdr_Point.h"

class gdr_MarkerShape {
 public:
  enum PartKind { FILL_POLYGON, STROKE_POLYGON, STROKE_SEGMENTS, FILL_CIRCLE, STROKE_CIRCLE };
  struct Part {
    PartKind kind;
    std::vector<gdr_Point> points;  // polygons: the corners; segments: pairs of end points
    gdr_Point center;               // circles
    double radius = 0.0;            // circles
  };

  gdr_MarkerShape(gdr_Point center, g3d_MarkerEnum marker, double size, bool highlight);

  const std::vector<Part>& Parts() const { return parts_; }
  // The width of stroked parts.
  double LineWidth() const { return lineWidth_; }

 private:
  void Polygon(PartKind kind, std::vector<gdr_Point> corners);

  gdr_Point center_;
  std::vector<Part> parts_;
  double lineWidth_;
};
