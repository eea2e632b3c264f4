#pragma once
// How one curve of an XY plot is drawn: legend texts, line and symbols. Colours are colour names;
// "Default" stands for the default colour of the curve's position (xypC_Utils::GetDefaultColor),
// and the marker DEFAULT_MARKER for the default marker of that position.
#include "cow_String.h"
#include "g3d_Enumerations.h"
#include "xypC_Enumerations.h"

class xypC_CurveOptions {
 public:
  xypC_CurveOptions() = default;
  xypC_CurveOptions(const xypC_CurveOptions&) = default;
  xypC_CurveOptions& operator=(const xypC_CurveOptions&) = default;

  // Shown when the curve shows its line or its symbols.
  bool IsDisplayed() const { return showLine || showSymbol; }
  int GetLineFit() const { return lineFit; }

  cow_String systemDefinedLegendText;
  cow_String legendText;
  xypC_TitleStyleEnum legendTextSource = xypC_SYSTEM_DEFINED;
  bool showLine = true;
  g3d_LineStyleEnum lineStyle = g3d_SOLID;
  g3d_LineThicknessEnum lineThickness = g3d_THIN;
  int lineFit = 0;
  cow_String lineColor = "Default";
  bool showSymbol = false;
  cow_String symbolColor = "Default";
  g3d_MarkerEnum symbolMarker = g3d_DEFAULT_MARKER;
  g3d_MarkerSizeEnum symbolSize = g3d_MEDIUM_SIZE;
  int symbolFrequency = 1;
};
