#include "g3d_Utils.h"

double g3d_Utils::ConvertLineThickness(g3d_LineThicknessEnum thickness) {
  switch (thickness) {
    case g3d_VERY_THIN:
      return 0.75;
    case g3d_THIN:
      return 1.25;
    case g3d_MEDIUM:
      return 2.0;
    case g3d_THICK:
      return 3.5;
  }
  return 1.25;  // a value outside the enumeration draws as the default
}

double g3d_Utils::ConvertMarkerSize(g3d_MarkerSizeEnum size) {
  switch (size) {
    case g3d_SMALL:
      return 5.0;
    case g3d_MEDIUM_SIZE:
      return 7.0;
    case g3d_LARGE:
      return 10.0;
  }
  return 7.0;
}
