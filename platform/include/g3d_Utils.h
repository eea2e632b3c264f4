#pragma once
// Device sizes of the symbolic drawing attributes: line widths and marker sizes in device units
// (pixels; points in vector output).
#include "g3d_Enumerations.h"

class g3d_Utils {
 public:
  static double ConvertLineThickness(g3d_LineThicknessEnum thickness);
  static double ConvertMarkerSize(g3d_MarkerSizeEnum size);
};
