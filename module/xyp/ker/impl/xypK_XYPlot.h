#pragma once
// One XY plot: its options, its curves, the list of curves to draw, and the axis layout that
// Recalculate computes from them. All layout arithmetic is in single precision: the numbers it
// writes back into the options are what users read.
#include <limits>

#include "cow_1DArrayList.h"
#include "cow_Map.h"
#include "cow_String.h"
#include "g3d_Sphere.h"
#include "omi_BlkBitVect.h"
#include "xypC_XYPlotOptions.h"
#include "xypK_Curve.h"

class xypK_XYPlot {
 public:
  static constexpr float precis = 1e-20f;
  static constexpr int maxTickNoAllowed = 100;
  static constexpr float kResetMin = std::numeric_limits<float>::max();
  static constexpr float kResetMax = -std::numeric_limits<float>::max();

  explicit xypK_XYPlot(const xypC_XYPlotOptions& options = xypC_XYPlotOptions());
  xypK_XYPlot(const xypK_XYPlot&) = default;
  xypK_XYPlot& operator=(const xypK_XYPlot&) = default;

  // The axis layout from the displayed curves and the options; throws a catalogue error for
  // data or options it cannot lay out, leaving what the steps before had written.
  void Recalculate();
  const g3d_Sphere& GetExtent() const { return extent; }

  // The y extent of the displayed curves over x1..x2 within the axis limits, and the mirror.
  void GetYMaxMinInXInterval(float x1, float x2, float& yMin, float& yMax) const;
  void GetXMaxMinInYInterval(float& xMin, float& xMax, float y1, float y2) const;

  // The system-defined title of an axis of the named plot (empty when there is no such plot).
  static cow_String GetDefaultTitle(const cow_String& plotName, bool isX);
  cow_String DefaultTitle(bool isX) const;

  // Powers of ten in |v|: 2 for 100..999, -1 for 0.1..0.99, 0 for 0; the largest float's (38)
  // for an infinite value.
  static int NoOfPower(float v);
  // The tick increment, in units, that lays the whole units a..b out evenly: 1, 2, 4 or 5.
  static int CalculateIncrementSize(int a, int b);

  // The list of curves to draw, each name once (a repeat is dropped).
  void SetCurvesToPlot(const cow_1DArrayList<cow_String>& names);
  bool IsInCurvesToPlot(const cow_String& curveName) const;
  // Removes the curve and every mention of it in the list; true when the list changed.
  bool RemoveCurve(const cow_String& curveName);

  xypC_XYPlotOptions options;
  cow_1DArrayList<cow_String> curvesToPlot;
  cow_Map<cow_String, xypK_Curve> curves;
  float xAxisMin = 0.0f, xAxisMax = 0.0f, yAxisMin = 0.0f, yAxisMax = 0.0f;
  float xIncrement = 0.0f;
  int xNumTicks = 0;
  int xNumIntervals = 0;
  float xStartOffset = 0.0f, xEndOffset = 0.0f;
  float yIncrement = 0.0f;
  int yNumTicks = 0;
  int yNumIntervals = 0;
  float yStartOffset = 0.0f, yEndOffset = 0.0f;
  float rawXMin = 0.0f, rawXMax = 0.0f, rawYMin = 0.0f, rawYMax = 0.0f;
  float xAutoIncrement = 0.0f, yAutoIncrement = 0.0f;
  g3d_Sphere extent;
  cow_String text1, text2;
  xypC_TitleStyleEnum xAxisTitleSource = xypC_SYSTEM_DEFINED;
  xypC_TitleStyleEnum yAxisTitleSource = xypC_SYSTEM_DEFINED;
  cow_String xAxisTitle, yAxisTitle;
  float clipXMax = kResetMax, clipXMin = kResetMin, clipYMax = kResetMax, clipYMin = kResetMin;
  omi_BlkBitVect displayed;
  int numDisplayedCurves = 0;
  bool valid = true;

 private:
  // The computed fields of one axis and the option fields it reads and writes, so that one
  // piece of code serves both axes.
  struct Axis {
    const char* label;  // "X" or "Y"
    float& min;
    float& max;
    float& increment;
    int& numTicks;
    int& numIntervals;
    float& startOffset;
    float& endOffset;
    float& rawMin;
    float& rawMax;
    float& autoIncrement;
    xypC_ScaleEnum& scale;
    bool& maxAuto;
    float& maxValue;
    float& autoMaxValue;
    bool& minAuto;
    float& minValue;
    float& autoMinValue;
    xypC_TickTypeEnum& tickMode;
    float& optionAutoIncrement;
    float& optionIncrement;
    int& optionNumTicks;
  };
  Axis XAxis();
  Axis YAxis();

  void FindDisplayedCurves();
  // False when no displayed curve has a finite pair.
  bool ComputeRawExtent();
  static void SetEmptyLayout(Axis& axis);
  static void RangeFromLimits(Axis& axis);
  static void ToDecades(Axis& axis);
  static void ComputeAxisAttributes(Axis& axis);
  static void Populate(Axis& axis);
  void ResetClipLimits();
};
