#pragma once
// Everything a user can set on an XY plot. Several fields are results as well: a plot's
// recalculation writes the limits and increments it computed back into its record. A specified
// limit or increment of kNeverSet (the largest float) has never been set.
#include <limits>

#include "cow_String.h"
#include "g3d_Enumerations.h"
#include "xypC_Enumerations.h"

class xypC_XYPlotOptions {
 public:
  static constexpr float kNeverSet = std::numeric_limits<float>::max();
  // Label decimal places of this value or below: the fewest that print every tick value exactly.
  static constexpr int kAutomaticDecimals = -1;

  xypC_XYPlotOptions();
  xypC_XYPlotOptions(const xypC_XYPlotOptions&) = default;
  xypC_XYPlotOptions& operator=(const xypC_XYPlotOptions&) = default;

  // Equal within a relative tolerance of 1e-5 (float values written back by a recalculation and
  // read again through a double keep about seven digits).
  static bool ApproximateEqual(float a, float b);

  cow_String GetMajorGridColor() const { return majorGridLineColor; }
  void SetMajorGridColor(const cow_String& c) { majorGridLineColor = c; }
  cow_String GetMinorGridColor() const { return minorGridLineColor; }
  void SetMinorGridColor(const cow_String& c) { minorGridLineColor = c; }
  cow_String GetXAxisTitleColor() const { return xAxisTitleColor; }
  void SetXAxisTitleColor(const cow_String& c) { xAxisTitleColor = c; }
  cow_String GetXAxisTitleFont() const { return xAxisTitleFont; }
  void SetXAxisTitleFont(const cow_String& f) { xAxisTitleFont = f; }
  cow_String GetYAxisTitleColor() const { return yAxisTitleColor; }
  void SetYAxisTitleColor(const cow_String& c) { yAxisTitleColor = c; }
  cow_String GetYAxisTitleFont() const { return yAxisTitleFont; }
  void SetYAxisTitleFont(const cow_String& f) { yAxisTitleFont = f; }
  cow_String GetXAxisLabelFont() const { return xAxisLabelFont; }
  void SetXAxisLabelFont(const cow_String& f) { xAxisLabelFont = f; }
  cow_String GetYAxisLabelFont() const { return yAxisLabelFont; }
  void SetYAxisLabelFont(const cow_String& f) { yAxisLabelFont = f; }
  cow_String GetAxisColor() const { return axisColor; }
  void SetAxisColor(const cow_String& c) { axisColor = c; }

  xypC_ScaleEnum xAxisScale = xypC_LINEAR;
  bool xMaxAutoCompute = true;
  float xMaxValue = kNeverSet;
  float xAutoMaxValue = 0.0f;
  bool xMinAutoCompute = true;
  float xMinValue = kNeverSet;
  float xAutoMinValue = 0.0f;
  xypC_ScaleEnum yAxisScale = xypC_LINEAR;
  bool yMaxAutoCompute = true;
  float yMaxValue = kNeverSet;
  float yAutoMaxValue = 0.0f;
  bool yMinAutoCompute = true;
  float yMinValue = kNeverSet;
  float yAutoMinValue = 0.0f;

  xypC_TickTypeEnum xMajorTickMode = xypC_AUTOCOMPUTE;
  float xAutoMajorTickIncrement = 0.0f;
  float xMajorTickIncrement = kNeverSet;
  int numXMajorTicks = 9;
  int numXMinorTicks = 1;
  xypC_TickTypeEnum yMajorTickMode = xypC_AUTOCOMPUTE;
  float yAutoMajorTickIncrement = 0.0f;
  float yMajorTickIncrement = kNeverSet;
  int numYMajorTicks = 9;
  int numYMinorTicks = 1;

  bool xMajorGridLines = false;
  bool yMajorGridLines = false;
  g3d_LineStyleEnum majorGridLineStyle = g3d_DOTTED;
  cow_String majorGridLineColor;
  g3d_LineThicknessEnum majorGridLineThickness = g3d_VERY_THIN;
  bool xMinorGridLines = false;
  bool yMinorGridLines = false;
  g3d_LineStyleEnum minorGridLineStyle = g3d_DOTTED;
  cow_String minorGridLineColor;
  g3d_LineThicknessEnum minorGridLineThickness = g3d_VERY_THIN;

  cow_String xAxisTitleColor;
  float xAxisTitleSize = 4.0f;
  cow_String xAxisTitleFont;
  cow_String yAxisTitleColor;
  float yAxisTitleSize = 4.0f;
  cow_String yAxisTitleFont;

  xypC_FormatEnum xAxisLabelFormat = xypC_AUTOMATIC;
  int xAxisLabelDecimalPlaces = kAutomaticDecimals;
  int xAxisLabelFrequency = 1;
  float xAxisLabelSize = 3.0f;
  cow_String xAxisLabelFont;
  xypC_FormatEnum yAxisLabelFormat = xypC_AUTOMATIC;
  int yAxisLabelDecimalPlaces = kAutomaticDecimals;
  int yAxisLabelFrequency = 1;
  float yAxisLabelSize = 3.0f;
  cow_String yAxisLabelFont;

  cow_String axisColor;
  g3d_LineThicknessEnum axisThickness = g3d_THIN;
  float aspectRatio = 1.3f;
};
