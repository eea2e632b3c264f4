// Axis layout of an XY plot: ranges, tick increments and counts, the values written back into
// the plot options, the interval queries of curves and plots, and the default axis titles.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "uti_XypException.h"
#include "xypK_Curve.h"
#include "xypK_Module.h"
#include "xypK_XYPlot.h"
#include "xypK_XYToolset.h"

namespace {

constexpr float kInf = INFINITY;
constexpr float kNaN = NAN;
using Pairs = std::vector<std::pair<float, float>>;

xypK_Curve MakeCurve(const char* name, const Pairs& pairs) {
  xypK_Curve curve(name);
  for (auto [x, y] : pairs) curve.xyData.AppendPair(x, y);
  curve.CalculateMinMax();
  return curve;
}

void Add(xypK_XYPlot& plot, const xypK_Curve& curve, bool listed = true) {
  plot.curves.Insert(curve.name, curve);
  if (listed) plot.curvesToPlot.Append(curve.name);
}

xypK_XYPlot PlotOf(const Pairs& pairs) {
  xypK_XYPlot plot;
  Add(plot, MakeCurve("c1", pairs));
  return plot;
}

// "text|code" of the catalogue error Recalculate raises, "" when it succeeds.
std::string Refusal(xypK_XYPlot& plot) {
  try {
    plot.Recalculate();
  } catch (const uti_XypException& e) {
    return e.Message().Std() + "|" + std::to_string(e.Code());
  }
  return "";
}

struct Axis {
  float min, max, increment;
  int intervals, ticks;
  float startOffset = 0, endOffset = 0;
};

void ExpectAxis(const xypK_XYPlot& p, bool x, const Axis& want) {
  const float tol = std::fabs(want.increment) * 1e-5f;
  EXPECT_NEAR(x ? p.xAxisMin : p.yAxisMin, want.min, tol);
  EXPECT_NEAR(x ? p.xAxisMax : p.yAxisMax, want.max, tol);
  EXPECT_NEAR(x ? p.xIncrement : p.yIncrement, want.increment, tol);
  EXPECT_EQ(x ? p.xNumIntervals : p.yNumIntervals, want.intervals);
  EXPECT_EQ(x ? p.xNumTicks : p.yNumTicks, want.ticks);
  EXPECT_NEAR(x ? p.xStartOffset : p.yStartOffset, want.startOffset, tol);
  EXPECT_NEAR(x ? p.xEndOffset : p.yEndOffset, want.endOffset, tol);
}

const std::string kExcessiveX = "The value of X TICKMARK gives an excessive number of tickmarks|53";
const std::string kSpecMinX =
    "The current plot options specify a minimum X-Axis value that\nis greater than the maximum X "
    "value contained in the XY data.|50";
const std::string kSpecMaxX =
    "The current plot options specify a maximum X-Axis value that\nis smaller than the minimum X "
    "value contained in the XY data.|49";

class AxisLayout : public ::testing::Test {
 protected:
  void SetUp() override { xypK_initialize(modules_); }
  void TearDown() override { xypK_finalize(modules_); }
  int modules_ = 0;
};

TEST_F(AxisLayout, PowersOfTenAndIncrementSizes) {
  const std::vector<std::pair<float, int>> rows = {
      {0.0f, 0},     {1.0f, 0},  {9.99f, 0},  {10.0f, 1},   {999.0f, 2},
      {-250.0f, 2},  {0.5f, -1}, {0.05f, -2}, {0.005f, -3}, {FLT_TRUE_MIN, -45},
      {FLT_MAX, 38}, {kInf, 38}, {-kInf, 38}, {kNaN, 0}};
  for (auto [v, n] : rows) EXPECT_EQ(xypK_XYPlot::NoOfPower(v), n) << v;

  // The increment size widens the ends to multiples (in the comments); the increment follows
  // from their difference d.
  const std::vector<std::tuple<int, int, int>> increments = {
      {0, 9, 2},     // r = 9 <= 10: to 0..10, d 10 even
      {13, 27, 4},   // 10..30 (q5 20/14) loses to 12..28 (q4 16/14): d 16
      {21, 57, 5},   // 20..60 and q4 == q5: d 40
      {24, 43, 4},   // 20..45, then 20 stays and 45 -> 44: d 24, not a multiple of 5
      {-7, 12, 5},   // a5 -10, a4 -8, b5 15, b4 12; q4 < q5 gives -8..12: d 20
      {-9, 0, 2},    // r 9: a2 = (-10/2)*2 = -10, b2 0: d 10
      {-13, -1, 5},  // -15..0 (q5 15/12 < q4 16/12): d 15
      {-20, -5, 5},  // both multiples of 5, d 15
      {0, 16, 4},   {0, 12, 2}, {0, 8, 2}, {0, 5, 1}, {1, 2, 1},  // 1..2 -> 0..2
      {5, 5, 1},    {3, 3, 1},  {7, 3, 1}};                       // d <= 0
  for (auto [a, b, want] : increments)
    EXPECT_EQ(xypK_XYPlot::CalculateIncrementSize(a, b), want) << a << ", " << b;
}

TEST_F(AxisLayout, AutomaticLinearAxes) {
  const std::vector<std::tuple<float, float, Axis>> rows = {
      // p 1, units 0 and 1 scaled to 0 and 10: increment 2.
      {0.0f, 10.0f, {0, 10, 2, 5, 4}},
      // Units 0 and 9 -> increment 2; offsets 1.87 and 1.7 exceed 0.8 increments: ends snap.
      {0.13f, 9.7f, {0, 10, 2, 5, 4}},
      // Unit 10, units 0 and 9 -> 20; offsets 17 (0.85 increments) snap.
      {3.0f, 97.0f, {0, 100, 20, 5, 4}},
      // Units -7 and 12 -> 5; offsets 2.3 and 2.1 stay; (19.4 - 4.4) / 5 = 3 intervals.
      {-7.3f, 12.1f, {-7.3f, 12.1f, 5, 3, 2, 2.3f, 2.1f}},
      // Range capped at the largest float: p 38, units -3 and 3 -> 2e38; ticks at -2e38 and
      // 2e38, offsets 1e38, (6e38 - 2e38) / 2e38 = 2 intervals.
      {-3e38f, 3e38f, {-3e38f, 3e38f, 2e38f, 2, 1, 1e38f, 1e38f}}};
  for (const auto& [lo, hi, want] : rows) {
    SCOPED_TRACE(testing::Message() << lo << ".." << hi);
    xypK_XYPlot plot = PlotOf({{lo, lo}, {lo / 2 + hi / 2, hi}, {hi, hi}});
    ASSERT_EQ(Refusal(plot), "");
    ExpectAxis(plot, true, want);
    ExpectAxis(plot, false, want);
    EXPECT_NEAR(plot.xAutoIncrement, want.increment, want.increment * 1e-5f);
    // Write-back: never-set limits and increment take the raw extent and the increment.
    const xypC_XYPlotOptions& o = plot.options;
    EXPECT_EQ(plot.rawXMin, lo);
    EXPECT_EQ(plot.rawYMax, hi);
    EXPECT_EQ(o.xAutoMinValue, lo);
    EXPECT_EQ(o.xAutoMaxValue, hi);
    EXPECT_EQ(o.xMinValue, lo);
    EXPECT_EQ(o.xMaxValue, hi);
    EXPECT_NEAR(o.xMajorTickIncrement, want.increment, want.increment * 1e-5f);
    EXPECT_NEAR(o.xAutoMajorTickIncrement, want.increment, want.increment * 1e-5f);
    EXPECT_EQ(o.numXMajorTicks, want.ticks);
    EXPECT_EQ(plot.GetExtent().center[0], 0.25f);
    EXPECT_EQ(plot.GetExtent().radius, 1.0f);
  }
}

TEST_F(AxisLayout, ConstantCurvesGetARangeAroundTheValue) {
  // y = 5: centre 5, range/centre 0 < 0.01 -> 4.75..5.25. Range 0.5: p -1, units 47.5 and 52.5
  // (5 apart, no rescale), 47..52 widened to 46..52: d 6 -> increment 1 unit = 0.1. First tick
  // 4.8 (offset 0.05), last 5.2 (offset 0.05), both below 0.8 increments: 4 intervals.
  xypK_XYPlot plot = PlotOf({{0, 5}, {10, 5}});
  ASSERT_EQ(Refusal(plot), "");
  ExpectAxis(plot, false, {4.75f, 5.25f, 0.1f, 4, 3, 0.05f, 0.05f});
  // y = 0: |centre| < precis and range 0 -> -1..1; units -10..10: increment 5 units = 0.5.
  xypK_XYPlot zero = PlotOf({{0, 0}, {10, 0}});
  ASSERT_EQ(Refusal(zero), "");
  ExpectAxis(zero, false, {-1, 1, 0.5f, 4, 3});
  // x = 3.3e38: 1.05 x centre is beyond the float range and is held at FLT_MAX. Range 2.68e37:
  // p 37, units 31.35..34.03 rescaled to 313.5..340.3 (unit 1e36); 313..340 widens to 312..340,
  // d 28 -> increment 4 units = 4e36. First tick 79 x 4e36 (offset 2.5e36, 0.63 increments),
  // last 85 x 4e36 (offset 2.8e35): (2.68e37 - 2.78e36) / 4e36 = 6 intervals.
  xypK_XYPlot huge = PlotOf({{3.3e38f, 0}, {3.3e38f, 1}});
  ASSERT_EQ(Refusal(huge), "");
  ExpectAxis(huge, true, {0.95f * 3.3e38f, FLT_MAX, 4e36f, 6, 5, 2.5e36f, FLT_MAX - 3.4e38f});
}

TEST_F(AxisLayout, LogAxesSpanWholeDecades) {
  const std::vector<std::tuple<float, float, Axis, float, float>> rows = {
      {1, 1000, {0, 3, 1, 3, 2}, 1, 1000},
      // Constant 100: decades 2..2 widen to 1.9..2.1, rounded out to 1..3.
      {100, 100, {1, 3, 1, 2, 1}, 10, 1000},
      // log10(3e38) = 38.48 would round up to 39; the axis stops at decade 38.
      {1, 3e38f, {0, 38, 1, 38, 37}, 1, 1e38f}};
  for (const auto& [lo, hi, want, optionMin, optionMax] : rows) {
    SCOPED_TRACE(hi);
    xypK_XYPlot plot = PlotOf({{lo, 1}, {hi, 2}});
    plot.options.xAxisScale = xypC_LOG;
    ASSERT_EQ(Refusal(plot), "");
    ExpectAxis(plot, true, want);
    EXPECT_FLOAT_EQ(plot.options.xMinValue, optionMin);
    EXPECT_FLOAT_EQ(plot.options.xAutoMinValue, optionMin);
    EXPECT_FLOAT_EQ(plot.options.xMaxValue, optionMax);
    EXPECT_FLOAT_EQ(plot.options.xAutoMaxValue, optionMax);
  }
}

TEST_F(AxisLayout, LogAxisLeavesOutOnlyAFirstPointAtZero) {
  // The first pair (0, 50) is left out: its y does not widen the extent either.
  xypK_XYPlot plot = PlotOf({{0, 50}, {1, 1}, {100, 3}});
  plot.options.xAxisScale = xypC_LOG;
  ASSERT_EQ(Refusal(plot), "");
  EXPECT_TRUE(plot.curves.ConstGet("c1").skipFirstPoint);
  EXPECT_EQ(plot.rawXMin, 1.0f);
  EXPECT_EQ(plot.rawYMax, 3.0f);
  EXPECT_EQ(plot.xAxisMax, 2.0f);

  const std::string refused =
      "For plotting of xy data using a logarithmic scale, all data points must be greater than "
      "zero. Curves that may be violating this condition include - c1.|55";
  for (const Pairs& bad : {Pairs{{1, 1}, {0, 2}, {10, 3}}, Pairs{{0, 1}}, Pairs{{-1, 1}, {1, 2}}}) {
    xypK_XYPlot p = PlotOf(bad);
    p.options.xAxisScale = xypC_LOG;
    EXPECT_EQ(Refusal(p), refused);
    EXPECT_FALSE(p.curves.ConstGet("c1").skipFirstPoint);
  }
  xypK_XYPlot y = PlotOf({{1, 0}, {2, 0}});
  y.options.yAxisScale = xypC_LOG;
  EXPECT_EQ(Refusal(y), refused);
}

TEST_F(AxisLayout, TickModesBoundTheNumberOfTicks) {
  xypK_XYPlot plot = PlotOf({{0, 0}, {10, 10}});
  xypC_XYPlotOptions& o = plot.options;
  o.xMajorTickMode = xypC_TOTAL_NUMBER;
  o.numXMajorTicks = 100;
  ASSERT_EQ(Refusal(plot), "");
  ExpectAxis(plot, true, {0, 10, 10.0f / 101, 101, 100});
  EXPECT_EQ(o.numXMajorTicks, 100);  // the user's number is kept
  EXPECT_NEAR(o.xMajorTickIncrement, 10.0f / 101, 1e-6f);
  EXPECT_EQ(o.xAutoMajorTickIncrement, 2.0f);
  for (int n : {101, -1, INT_MAX}) {
    o.numXMajorTicks = n;
    EXPECT_EQ(Refusal(plot), kExcessiveX) << n;
    EXPECT_EQ(o.numXMajorTicks, n);
  }

  // By increment: 2.5 over 0..10 gives 4 intervals; the automatic rule still says 2.
  o.xMajorTickMode = xypC_INCREMENT;
  o.xMajorTickIncrement = 2.5f;
  ASSERT_EQ(Refusal(plot), "");
  ExpectAxis(plot, true, {0, 10, 2.5f, 4, 3});
  EXPECT_EQ(plot.xAutoIncrement, 2.0f);
  EXPECT_EQ(o.xMajorTickIncrement, 2.5f);
  EXPECT_EQ(o.xAutoMajorTickIncrement, 2.0f);
  EXPECT_EQ(o.numXMajorTicks, 3);
  o.xMajorTickIncrement = 0.1f;  // 100 intervals
  ASSERT_EQ(Refusal(plot), "");
  EXPECT_EQ(plot.xNumTicks, 99);
  // 10 / 0.099 = 101.01: the last tick at 101 x 0.099 leaves 0.001, (10 - 0.001) / 0.099 =
  // 100.99 rounds to 101 intervals, 100 ticks, the most allowed.
  o.xMajorTickIncrement = 0.099f;
  ASSERT_EQ(Refusal(plot), "");
  EXPECT_EQ(plot.xNumTicks, 100);
  for (float inc : {0.0f, -2.0f, kNaN, kInf, 0.05f, 1e-30f}) {
    o.xMajorTickIncrement = inc;
    EXPECT_EQ(Refusal(plot), kExcessiveX) << inc;
  }
  // By number over a range wider than the largest float: 6e38 / 5 = 1.2e38, still finite.
  xypK_XYPlot wide = PlotOf({{-3e38f, 0}, {3e38f, 10}});
  wide.options.xMajorTickMode = xypC_TOTAL_NUMBER;
  wide.options.numXMajorTicks = 4;
  ASSERT_EQ(Refusal(wide), "");
  ExpectAxis(wide, true, {-3e38f, 3e38f, 1.2e38f, 5, 4});
  EXPECT_EQ(wide.options.xMajorTickIncrement, wide.xIncrement);

  o.xMajorTickMode = xypC_AUTOCOMPUTE;
  o.yMajorTickMode = xypC_INCREMENT;
  o.yMajorTickIncrement = 0.0f;
  EXPECT_EQ(Refusal(plot), "The value of Y TICKMARK gives an excessive number of tickmarks|53");
}

TEST_F(AxisLayout, LabelFrequencyIsCheckedAfterTheLayout) {
  xypK_XYPlot plot = PlotOf({{0, 0}, {10, 10}});
  plot.options.xAxisLabelFrequency = plot.options.yAxisLabelFrequency = 0;
  EXPECT_EQ(Refusal(plot), "");
  plot.curves.Insert("c1", MakeCurve("c1", {{0, 0}, {20, 20}}));
  plot.options.yAxisLabelFrequency = -1;
  EXPECT_EQ(Refusal(plot), "Frequency value should be larger than zero|56");
  EXPECT_EQ(plot.xAxisMax, 20.0f);
  EXPECT_EQ(plot.options.xMaxValue, 20.0f);
  EXPECT_EQ(plot.options.yAxisLabelFrequency, -1);
}

TEST_F(AxisLayout, NothingToDrawGivesTheEmptyLayout) {
  const Axis linear{0, 1, 0.1f, 10, 9}, logAxis{0.1f, 1, 1, 10, 9};
  xypK_XYPlot hidden = PlotOf({{-5, -5}, {50, 50}});
  hidden.curves.Get("c1").options.showLine = false;
  hidden.curves.Get("c1").options.showSymbol = false;
  for (bool xLog : {false, true}) {
    hidden.options.xAxisScale = xLog ? xypC_LOG : xypC_LINEAR;
    ASSERT_EQ(Refusal(hidden), "");
    EXPECT_EQ(hidden.numDisplayedCurves, 0);
    ExpectAxis(hidden, true, xLog ? logAxis : linear);
    EXPECT_EQ(hidden.xAutoIncrement, xLog ? 1.0f : 0.1f);
    ExpectAxis(hidden, false, linear);
  }
  xypK_XYPlot unlisted;
  Add(unlisted, MakeCurve("c1", {{-5, -5}, {50, 50}}), false);
  ASSERT_EQ(Refusal(unlisted), "");
  ExpectAxis(unlisted, true, linear);
  xypK_XYPlot nonFinite = PlotOf({{kInf, 1}, {2, kNaN}, {kNaN, kNaN}, {-kInf, kInf}});
  ASSERT_EQ(Refusal(nonFinite), "");
  EXPECT_EQ(nonFinite.numDisplayedCurves, 1);
  ExpectAxis(nonFinite, true, linear);
  ExpectAxis(nonFinite, false, linear);

  // Symbols alone display a curve; non-finite pairs stay out of its extent.
  hidden.curves.Get("c1").options.showSymbol = true;
  hidden.options.xAxisScale = xypC_LINEAR;
  Add(hidden, MakeCurve("c2", {{0, 0}, {kInf, 5}, {5, kNaN}, {10, 10}}));
  ASSERT_EQ(Refusal(hidden), "");
  EXPECT_EQ(hidden.numDisplayedCurves, 2);
  EXPECT_EQ(hidden.rawXMin, -5.0f);
  EXPECT_EQ(hidden.rawXMax, 50.0f);
  EXPECT_EQ(hidden.curves.ConstGet("c2").xMax, 10.0f);
  EXPECT_EQ(hidden.curves.ConstGet("c2").yMax, 10.0f);
}

TEST_F(AxisLayout, SpecifiedLimitsAreCheckedAgainstTheDataBoundTheAxisAndAreKept) {
  using Limit = std::optional<float>;  // none: automatic
  const std::vector<std::tuple<Limit, Limit, bool, std::string>> rows = {
      {20, {}, false, kSpecMinX},
      {{}, -5, false, kSpecMaxX},
      {kNaN, {}, false, kSpecMinX},
      {-kInf, {}, false, kSpecMinX},
      {{}, kInf, false, kSpecMaxX},
      {{}, kNaN, false, kSpecMaxX},
      {8, 2, false, "Minimum X-value is greater than the maximum X-value|51"},  // each within
      {5, 5, false, "X-axis range can not be 0|52"},
      {0, {}, true, "X-axis limits should be greater than zero when using a logarithmic scale|54"}};
  auto same = [](float a, float b) { return a == b || (std::isnan(a) && std::isnan(b)); };
  for (const auto& [min, max, isLog, refusal] : rows) {
    xypK_XYPlot plot = PlotOf({{1, 1}, {10, 10}});
    xypC_XYPlotOptions& o = plot.options;
    o.xAxisScale = isLog ? xypC_LOG : xypC_LINEAR;
    o.xMinAutoCompute = !min;
    o.xMaxAutoCompute = !max;
    o.xMinValue = min.value_or(xypC_XYPlotOptions::kNeverSet);
    o.xMaxValue = max.value_or(xypC_XYPlotOptions::kNeverSet);
    const xypC_XYPlotOptions before = o;
    EXPECT_EQ(Refusal(plot), refusal) << min.value_or(0) << " " << max.value_or(0);
    EXPECT_TRUE(same(before.xMinValue, o.xMinValue) && same(before.xMaxValue, o.xMaxValue));
  }
  xypK_XYPlot plot = PlotOf({{1, 1}, {10, 10}});
  plot.options.yMinAutoCompute = false;
  plot.options.yMinValue = 20;
  EXPECT_EQ(Refusal(plot),
            "The current plot options specify a minimum Y-Axis value that\nis greater than the "
            "maximum Y value contained in the XY data.|50");

  // Limits within the data bound the axis and are kept. -2..12 over data 0..10: units -2..12
  // widen to -4..12, d 16 -> increment 4; first tick 0 (offset 2, a user minimum does not move),
  // last tick 12; (14 - 2) / 4 = 3 intervals.
  plot = PlotOf({{0, 0}, {10, 10}});
  xypC_XYPlotOptions& o = plot.options;
  o.xMinAutoCompute = o.xMaxAutoCompute = false;
  o.xMinValue = -2;
  o.xMaxValue = 12;
  ASSERT_EQ(Refusal(plot), "");
  ExpectAxis(plot, true, {-2, 12, 4, 3, 2, 2, 0});
  EXPECT_EQ(o.xMinValue, -2.0f);
  EXPECT_EQ(o.xMaxValue, 12.0f);
  EXPECT_EQ(o.xAutoMinValue, 0.0f);
  EXPECT_EQ(o.xAutoMaxValue, 10.0f);

  // A user minimum of 0.13 stays although its offset (1.87) exceeds 0.8 increments; the
  // automatic maximum still moves out to 10: (10 - 0.13 - 1.87) / 2 = 4 intervals.
  xypK_XYPlot fixedMin = PlotOf({{0.13f, 0}, {9.7f, 1}});
  fixedMin.options.xMinAutoCompute = false;
  fixedMin.options.xMinValue = 0.13f;
  ASSERT_EQ(Refusal(fixedMin), "");
  ExpectAxis(fixedMin, true, {0.13f, 10, 2, 4, 3, 1.87f, 0});
}

TEST_F(AxisLayout, WriteBackFollowsTheDataUntilTheUserSetsAValue) {
  xypK_XYPlot plot = PlotOf({{0, 0}, {10, 10}});
  xypC_XYPlotOptions& o = plot.options;
  ASSERT_EQ(Refusal(plot), "");
  ASSERT_EQ(o.xMaxValue, 10.0f);
  ASSERT_EQ(o.xMajorTickIncrement, 2.0f);
  // Still equal to the automatic values: they follow data 0..20 (increment 5 units of 1).
  plot.curves.Insert("c1", MakeCurve("c1", {{0, 0}, {20, 20}}));
  ASSERT_EQ(Refusal(plot), "");
  EXPECT_EQ(o.xMaxValue, 20.0f);
  EXPECT_EQ(o.xMajorTickIncrement, 5.0f);
  // Values the user set while automatic stay; the layout uses the automatic ones.
  o.xMaxValue = 15;
  o.xMajorTickIncrement = 3;
  plot.curves.Insert("c1", MakeCurve("c1", {{0, 0}, {30, 30}}));
  ASSERT_EQ(Refusal(plot), "");
  EXPECT_EQ(o.xMaxValue, 15.0f);
  EXPECT_EQ(o.xMajorTickIncrement, 3.0f);
  EXPECT_EQ(o.xAutoMaxValue, 30.0f);
  EXPECT_EQ(plot.xIncrement, 5.0f);  // 30: p 1, units 0..3 -> 0..30, d 30 -> 5
  EXPECT_EQ(o.xAutoMajorTickIncrement, 5.0f);
  // By number of ticks the specified increment always takes the computed one: 30 / 4.
  o.xMajorTickMode = xypC_TOTAL_NUMBER;
  o.numXMajorTicks = 3;
  ASSERT_EQ(Refusal(plot), "");
  EXPECT_EQ(o.xMajorTickIncrement, 7.5f);
  EXPECT_EQ(o.numXMajorTicks, 3);
}

TEST_F(AxisLayout, CurveAndPlotIntervalQueries) {
  xypK_Curve c = MakeCurve("c", {{0, 1}, {1, 5}, {1.5f, kInf}, {2, 3}, {kNaN, 4}, {3, -2}});
  EXPECT_EQ(c.xMax, 3.0f);
  EXPECT_EQ(c.yMax, 5.0f);
  float lo, hi;
  c.GetYMaxMinInXInterval(1, 2, lo, hi, false);  // both bounds included
  EXPECT_EQ(std::pair(lo, hi), std::pair(3.0f, 5.0f));
  c.GetYMaxMinInXInterval(1.2f, 1.8f, lo, hi, false);
  EXPECT_EQ(std::pair(lo, hi), std::pair(FLT_MAX, -FLT_MAX));
  c.GetYMaxMinInXInterval(0, 0, lo, hi, true);  // the only pair inside is skipped
  EXPECT_EQ(lo, FLT_MAX);
  c.GetXMaxMinInYInterval(lo, hi, 3, 5, false);
  EXPECT_EQ(std::pair(lo, hi), std::pair(1.0f, 2.0f));
  const xypK_Curve single = MakeCurve("s", {{4, 7}});
  single.GetYMaxMinInXInterval(0, 10, lo, hi, true);
  EXPECT_EQ(std::pair(lo, hi), std::pair(0.0f, -FLT_MAX));
  single.GetXMaxMinInYInterval(lo, hi, 0, 10, true);
  EXPECT_EQ(lo, 0.0f);
  const xypK_Curve empty = MakeCurve("e", {});
  EXPECT_EQ(std::pair(empty.xMin, empty.yMax), std::pair(FLT_MAX, -FLT_MAX));

  // The plot's queries.
  xypK_XYPlot plot;
  Add(plot, MakeCurve("a", {{0, 1}, {1, 5}, {2, 3}, {3, -2}}));
  Add(plot, MakeCurve("b", {{0, 0}, {1, 7}, {2, 4}, {3, 10}}));
  xypK_Curve hidden = MakeCurve("h", {{1.5f, 6}, {1.5f, 0}});  // would lower 3 to 0
  hidden.options.showLine = false;
  Add(plot, hidden);
  ASSERT_EQ(Refusal(plot), "");
  plot.GetYMaxMinInXInterval(1, 2, lo, hi);  // a: 3..5, b: 4..7
  EXPECT_EQ(std::pair(lo, hi), std::pair(3.0f, 7.0f));
  plot.GetYMaxMinInXInterval(1.2f, 1.8f, lo, hi);  // nothing inside: the raw y extent
  EXPECT_EQ(std::pair(lo, hi), std::pair(-2.0f, 10.0f));
  plot.GetXMaxMinInYInterval(lo, hi, 4, 10);  // a: (1, 5); b: (1, 7), (2, 4), (3, 10)
  EXPECT_EQ(std::pair(lo, hi), std::pair(1.0f, 3.0f));
  plot.clipYMin = -1;
  plot.clipYMax = 100;
  plot.GetYMaxMinInXInterval(1, 2, lo, hi);
  EXPECT_EQ(std::pair(lo, hi), std::pair(-1.0f, 100.0f));
  // Specified y limits 4..6: a curve minimum below 4 or maximum above 6 does not count.
  plot.options.yMinAutoCompute = plot.options.yMaxAutoCompute = false;
  plot.options.yMinValue = 4;
  plot.options.yMaxValue = 6;
  ASSERT_EQ(Refusal(plot), "");
  plot.GetYMaxMinInXInterval(1, 2, lo, hi);
  EXPECT_EQ(std::pair(lo, hi), std::pair(4.0f, 5.0f));
}

TEST_F(AxisLayout, DefaultTitlesAndTheCurveList) {
  xypK_XYPlot plot;
  EXPECT_EQ(plot.DefaultTitle(true).Std(), "No curve created in the current plot");
  auto curve = [](const char* name, const char* label, const char* content, const char* source) {
    xypK_Curve c = MakeCurve(name, {{0, 0}});
    c.xyData.SetXAxisLabel(label);
    c.xyData.SetYAxisLabel(label);
    c.xyData.SetContentDescription(content);
    c.xyData.SetSourceDescription(source);
    return c;
  };
  Add(plot, curve("a", "Stress S11", "Stress", "run1"), false);
  Add(plot, curve("b", "Stress S22", "Stress S22 long", "run1"), false);
  EXPECT_EQ(plot.DefaultTitle(false).Std(), "No curve in plot list");
  auto title = [&](std::vector<const char*> list, bool isX) {
    plot.curvesToPlot = cow_1DArrayList<cow_String>();
    for (const char* n : list) plot.curvesToPlot.Append(n);
    return plot.DefaultTitle(isX).Std();
  };
  EXPECT_EQ(title({"b"}, true), "Stress S22");
  // First curve b: its description is longer than the common part; y takes the shared source.
  EXPECT_EQ(title({"b", "a"}, true), "");
  EXPECT_EQ(title({"b", "a"}, false), "run1");
  Add(plot, curve("c", "Stress S22 mean", "Mean", "run2"), false);
  EXPECT_EQ(title({"b", "c"}, true), "Stress S22");  // the whole first label is common
  EXPECT_EQ(title({"b", "a", "c"}, false), "");      // sources differ
  Add(plot, curve("d", "Time", "Zeit", "run1"), false);
  EXPECT_EQ(title({"b", "d"}, false), "run1");   // no common part at all
  EXPECT_EQ(title({"a", "b"}, true), "Stress");  // common "Stress S" begins with "Stress"

  xypK_XYToolset::Instance().GetXYPlotDictionary().Insert("P", plot);
  EXPECT_EQ(xypK_XYPlot::GetDefaultTitle("P", false).Std(), "Stress");
  xypK_XYToolset::Instance().GetXYPlotDictionary().Insert("E", xypK_XYPlot());
  EXPECT_EQ(xypK_XYPlot::GetDefaultTitle("E", false).Std(), "No curve created in the current plot");

  // The curve list names each curve once.
  cow_1DArrayList<cow_String> names;
  for (const char* n : {"a", "b", "a", "c", "b"}) names.Append(n);
  plot.SetCurvesToPlot(names);
  ASSERT_EQ(plot.curvesToPlot.Size(), 3u);
  EXPECT_EQ(plot.curvesToPlot[0].Std() + plot.curvesToPlot[1].Std() + plot.curvesToPlot[2].Std(),
            "abc");
  plot.curvesToPlot.Append("a");  // a list filled directly may repeat a name
  EXPECT_TRUE(plot.RemoveCurve("a"));
  EXPECT_FALSE(plot.IsInCurvesToPlot("a"));
  EXPECT_FALSE(plot.curves.IsMember("a"));
  EXPECT_EQ(plot.curvesToPlot.Size(), 2u);
  EXPECT_FALSE(plot.RemoveCurve("zz"));
  EXPECT_EQ(plot.curves.Size(), 3u);  // b, c, d
}

}  // namespace
