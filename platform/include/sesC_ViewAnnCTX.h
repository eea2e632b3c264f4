#pragma once
// A viewport's annotation settings: where and how the legend of what it shows is drawn. A new
// viewport copies the session's defaults (smg_SceneManagerRole::DefaultViewAnnCTX).
#include "cow_String.h"
#include "omu_PrimEnumBase.h"

// How a legend box is backed: not at all, with the viewport's background colour, or with the
// legend's own background colour.
enum sesC_BackgroundStyleEnm : int { sesC_TRANSPARENT = 0, sesC_MATCH = 1, sesC_OTHER = 2 };

template <>
struct omu_EnumTraits<sesC_BackgroundStyleEnm> {
  static constexpr const char* name = "sesC_BackgroundStyleEnm";
  static constexpr omu_EnumValue values[] = {{0, "TRANSPARENT"}, {1, "MATCH"}, {2, "OTHER"}};
};

// The legend's place: chosen for each drawing, or the position the user gave.
enum sesC_LegendPlacementEnm : int { sesC_AUTOMATIC_PLACEMENT = 0 };

template <>
struct omu_EnumTraits<sesC_LegendPlacementEnm> {
  static constexpr const char* name = "sesC_LegendPlacementEnm";
  static constexpr omu_EnumValue values[] = {{0, "AUTOMATIC"}};
};

struct sesC_ViewAnnCTX {
  static constexpr int kMaxDecimalPlaces = 15;

  bool legendUse = true;
  bool legendBBoxUse = true;
  int legendNumDigitsPrecision = 3;
  // The legend's place is chosen for each drawing (over an empty corner of the plot, or beside
  // it) until a position is given; the position then holds.
  bool legendAutoPosition = true;
  float legendXPosition = 2.0f;   // percent of the viewport width, left edge of the box
  float legendYPosition = 98.0f;  // percent of the viewport height, top edge of the box
  cow_String legendFontName = "-*-helvetica-medium-r-*-*-*-100-*-*-*-*-iso8859-1";
  cow_String legendTextColor = "Black";
  sesC_BackgroundStyleEnm legendBackgroundStyle = sesC_MATCH;
  cow_String legendBackgroundColor = "White";
  bool legendExtremes = true;  // the data's overall extremes below the rows
};
