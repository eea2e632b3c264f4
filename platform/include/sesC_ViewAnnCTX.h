#pragma once
// A viewport's annotation settings: where and how the legend of what it shows is drawn. The
// values are the legend editor's initial ones, with dark text on the white background.
#include "cow_String.h"

// How a legend box is backed: 0 transparent, 1 filled with the background colour.
enum sesC_BackgroundStyleEnm : int { sesC_TRANSPARENT = 0, sesC_MATCH = 1, sesC_OTHER = 2 };

struct sesC_ViewAnnCTX {
  bool legendUse = true;
  bool legendBBoxUse = true;
  int legendNumDigitsPrecision = 3;
  float legendXPosition = 2.0f;   // percent of the viewport width, left edge of the box
  float legendYPosition = 98.0f;  // percent of the viewport height, top edge of the box
  cow_String legendFontName = "-*-helvetica-medium-r-*-*-*-100-*-*-*-*-iso8859-1";
  cow_String legendTextColor = "Black";
  sesC_BackgroundStyleEnm legendBackgroundStyle = sesC_MATCH;
  cow_String legendBackgroundColor = "White";
};
