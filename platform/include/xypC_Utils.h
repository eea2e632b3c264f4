#pragma once
// Shared helpers of the XY option records: the default look of the i-th curve of a plot.
#include "cow_String.h"
#include "g3d_Enumerations.h"

class xypC_Utils {
 public:
  // Colour names (of the colour map) and markers that keep neighbouring curves apart; both
  // sequences repeat after their length, and any position, negative ones included, has one.
  static cow_String GetDefaultColor(int position);
  static g3d_MarkerEnum GetDefaultMarker(int position);
  static int DefaultColorCount();
  static int DefaultMarkerCount();
  // The name of the plot a viewport owns (a copy made when a viewport opens beside one that
  // shows a plot): "__viewport" + id + "_xyPlot", which a user's plot is unlikely to be called.
  static cow_String GetPlotNameFromVPID(int viewport);
};
