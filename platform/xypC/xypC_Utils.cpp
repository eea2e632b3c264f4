#include "xypC_Utils.h"

#include <iterator>

namespace {
// Strong, well separated hues first; all read well on white and stay apart for the colour-blind
// as far as ten colours can.
constexpr const char* kColors[] = {"#1F77B4", "#D62728", "#2CA02C", "#FF7F0E", "#9467BD",
                                   "#8C564B", "#E377C2", "#17BECF", "#7F7F7F", "#BCBD22"};
constexpr g3d_MarkerEnum kMarkers[] = {g3d_FILLED_CIRCLE,  g3d_FILLED_SQUARE, g3d_FILLED_DIAMOND,
                                       g3d_FILLED_TRI,     g3d_HOLLOW_CIRCLE, g3d_HOLLOW_SQUARE,
                                       g3d_HOLLOW_DIAMOND, g3d_HOLLOW_TRI,    g3d_CROSS,
                                       g3d_XMARKER,        g3d_STAR,          g3d_PLUS};
constexpr int kColorCount = static_cast<int>(std::size(kColors));
constexpr int kMarkerCount = static_cast<int>(std::size(kMarkers));

int Wrap(int position, int count) {
  int r = position % count;
  return r < 0 ? r + count : r;
}
}  // namespace

cow_String xypC_Utils::GetDefaultColor(int position) {
  return kColors[Wrap(position, kColorCount)];
}

g3d_MarkerEnum xypC_Utils::GetDefaultMarker(int position) {
  return kMarkers[Wrap(position, kMarkerCount)];
}

int xypC_Utils::DefaultColorCount() {
  return kColorCount;
}

int xypC_Utils::DefaultMarkerCount() {
  return kMarkerCount;
}

cow_String xypC_Utils::GetPlotNameFromVPID(int viewport) {
  return "__viewport" + cow_String::FromInt(viewport) + "_xyPlot";
}
