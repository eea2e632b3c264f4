#include "gdr_MarkerShape.h"

#include <algorithm>
#include <cmath>
#include <numbers>

void gdr_MarkerShape::Polygon(PartKind kind, std::vector<gdr_Point> corners) {
  for (gdr_Point& p : corners) p = {center_.x + p.x, center_.y + p.y};
  parts_.push_back({kind, std::move(corners), center_, 0.0});
}

gdr_MarkerShape::gdr_MarkerShape(gdr_Point center, g3d_MarkerEnum marker, double size,
                                 bool highlight)
    : center_(center) {
  const double s = highlight ? 1.3 * size : size;
  const double r = s / 2.0;
  lineWidth_ = std::max(1.0, s / 8.0) * (highlight ? 1.5 : 1.0);
  const double w = std::min(lineWidth_, r);
  // Equilateral triangle, apex up, centred on the centre of its circumscribed circle.
  const double kTriX = std::sqrt(3.0) / 2.0;
  switch (marker) {
    case g3d_FILLED_SQUARE:
      Polygon(FILL_POLYGON, {{-r, -r}, {r, -r}, {r, r}, {-r, r}});
      break;
    case g3d_HOLLOW_SQUARE: {
      const double h = r - w / 2.0;
      Polygon(STROKE_POLYGON, {{-h, -h}, {h, -h}, {h, h}, {-h, h}});
      break;
    }
    case g3d_FILLED_DIAMOND:
      Polygon(FILL_POLYGON, {{0, -r}, {r, 0}, {0, r}, {-r, 0}});
      break;
    case g3d_HOLLOW_DIAMOND: {
      const double h = std::max(r - w * std::numbers::sqrt2 / 2.0, 0.0);
      Polygon(STROKE_POLYGON, {{0, -h}, {h, 0}, {0, h}, {-h, 0}});
      break;
    }
    case g3d_FILLED_TRI:
      Polygon(FILL_POLYGON, {{0, r}, {-kTriX * r, -r / 2}, {kTriX * r, -r / 2}});
      break;
    case g3d_HOLLOW_TRI: {
      const double h = std::max(r - w, 0.0);
      Polygon(STROKE_POLYGON, {{0, h}, {-kTriX * h, -h / 2}, {kTriX * h, -h / 2}});
      break;
    }
    case g3d_HOLLOW_CIRCLE:
      parts_.push_back({STROKE_CIRCLE, {}, center_, std::max(r - w / 2.0, 0.0)});
      break;
    case g3d_CROSS: {
      // A solid cross, arms a third of the size thick.
      const double t = s / 6.0;
      Polygon(FILL_POLYGON, {{-t, -r},
                             {t, -r},
                             {t, -t},
                             {r, -t},
                             {r, t},
                             {t, t},
                             {t, r},
                             {-t, r},
                             {-t, t},
                             {-r, t},
                             {-r, -t},
                             {-t, -t}});
      break;
    }
    case g3d_PLUS:
      Polygon(STROKE_SEGMENTS, {{-r, 0}, {r, 0}, {0, -r}, {0, r}});
      break;
    case g3d_XMARKER:
      Polygon(STROKE_SEGMENTS, {{-r, -r}, {r, r}, {-r, r}, {r, -r}});
      break;
    case g3d_POINT:
      parts_.push_back({FILL_CIRCLE, {}, center_, std::max(1.0, r / 3.0)});
      break;
    case g3d_STAR: {
      std::vector<gdr_Point> corners;
      const double inner = r * 0.382;
      for (int k = 0; k < 10; ++k) {
        const double angle = std::numbers::pi / 2.0 + k * std::numbers::pi / 5.0;
        const double radius = k % 2 == 0 ? r : inner;
        corners.push_back({radius * std::cos(angle), radius * std::sin(angle)});
      }
      Polygon(FILL_POLYGON, std::move(corners));
      break;
    }
    case g3d_FILLED_CIRCLE:
    case g3d_DEFAULT_MARKER:
    default:
      parts_.push_back({FILL_CIRCLE, {}, center_, r});
      break;
  }
}
