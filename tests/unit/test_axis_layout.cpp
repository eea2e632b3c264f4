// Axis layout of an XY plot: ranges, tick increments and counts, the values written back into
// the plot options, the interval queries of curves and plots, and the default axis titles.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <functional>
#include <string>
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

// "text|code" of the catalogue error `f` raises, "" when it raises none.
std::string Refusal(const std::function<void()>& f) {
  try {
    f();
  } catch (const uti_XypException& e) {
    return e.Message().Std() + "|" + std::to_string(e.Code());
  }
  return "";
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

TEST_F(AxisLayout, NoOfPowerCountsPowersOfTen) {
  const std::vector<std::pair<float, int>> rows = {
      {0.0f, 0},   {1.0f, 0},    {9.99f, 0},   {10.0f, 1},       {999.0f, 2},     {-250.0f, 2},
      {0.5f, -1},  {0.05f, -2},  {0.005f, -3}, {FLT_TRUE_MIN, -45}, {FLT_MAX, 38}, {kInf, 38},
      {-kInf, 38}, {kNaN, 0}};
  for (auto [v, n] : rows) EXPECT_EQ(xypK_XYPlot::NoOfPower(v), n) << v;
}

TEST_F(AxisLayout, IncrementSizeWidensEndsToMultiples) {
  // Widened ends in the comments; the increment follows from their difference d.
  const std::vector<std::tuple<int, int, int>> rows = {
      {0, 9, 2},     // r = 9 <= 10: to 0..10, d 10 even
      {13, 27, 4},   // 10..30 (q5 20/14) loses to 12..28 (q4 16/14): d 16
      {21, 57, 5},   // 20..60 and q4 == q5: d 40
      {24, 43, 4},   // 20..45, then 20 stays and 45 -> 44: d 24, not a multiple of 5
      {-7, 12, 5},   // a5 -10, a4 -8, b5 15, b4 12; q4 < q5 gives -8..12: d 20
      {-9, 0, 2},    // r 9: a2 = (-10/2)*2 = -10, b2 0: d 10
      {-13, -1, 5},  // -15..0 (q5 15/12 < q4 16/12): d 15
      {-20, -5, 5},  // both multiples of 5, d 15
      {0, 16, 4},  {0, 12, 2}, {0, 8, 2}, {0, 5, 1}, {1, 2, 1},  // 1..2 -> 0..2
      {5, 5, 1},   {3, 3, 1},  {7, 3, 1}};                       // d <= 0
  for (auto [a, b, want] : rows)
    EXPECT_EQ(xypK_XYPlot::CalculateIncrementSize(a, b), want) << a << ", " << b;
}

struct LinearRow {
  float lo, hi;               // data from (lo, lo) to (hi, hi): both axes alike
  float min, max, increment;  // expected axis
  int intervals, ticks;
  float startOffset, endOffset;
};

TEST_F(AxisLayout, AutomaticLinearAxes) {
  const std::vector<LinearRow> rows = {
      // p 1, units 0 and 1 scaled to 0 and 10: increment 2.
      {0.0f, 10.0f, 0.0f, 10.0f, 2.0f, 5, 4, 0.0f, 0.0f},
      // Units 0 and 9 -> increment 2; offsets 1.87 and 1.7 exceed 0.8 increments: ends snap.
      {0.13f, 9.7f, 0.0f, 10.0f, 2.0f, 5, 4, 0.0f, 0.0f},
      // Unit 10, units 0 and 9 -> 20; offsets 17 (0.85 increments) snap.
      {3.0f, 97.0f, 0.0f, 100.0f, 20.0f, 5, 4, 0.0f, 0.0f},
      // Units -7 and 12 -> 5; offsets 2.3 and 2.1 stay; (19.4 - 4.4) / 5 = 3 intervals.
      {-7.3f, 12.1f, -7.3f, 12.1f, 5.0f, 3, 2, 2.3f, 2.1f},
      // Range capped at the largest float: p 38, units -3 and 3 -> 2e38; first tick -2e38,
      // last 2e38, offsets 1e38, (6e38 - 2e38) / 2e38 = 2 intervals.
      {-3e38f, 3e38f, -3e38f, 3e38f, 2e38f, 2, 1, 1e38f, 1e38f}};
  for (const LinearRow& r : rows) {
    SCOPED_TRACE(testing::Message() << r.lo << ".." << r.hi);
    xypK_XYPlot plot = PlotOf({{r.lo, r.lo}, {(r.lo + r.hi) / 2, r.hi}, {r.hi, r.hi}});
    ASSERT_EQ(Refusal([&] { plot.Recalculate(); }), "");
    const float tol = std::fabs(r.increment) * 1e-5f;
    for (bool x : {true, false}) {
      EXPECT_NEAR(x ? plot.xAxisMin : plot.yAxisMin, r.min, tol);
      EXPECT_NEAR(x ? plot.xAxisMax : plot.yAxisMax, r.max, tol);
      EXPECT_NEAR(x ? plot.xIncrement : plot.yIncrement, r.increment, tol);
      EXPECT_NEAR(x ? plot.xAutoIncrement : plot.yAutoIncrement, r.increment, tol);
      EXPECT_EQ(x ? plot.xNumIntervals : plot.yNumIntervals, r.intervals);
      EXPECT_EQ(x ? plot.xNumTicks : plot.yNumTicks, r.ticks);
      EXPECT_NEAR(x ? plot.xStartOffset : plot.yStartOffset, r.startOffset, tol);
      EXPECT_NEAR(x ? plot.xEndOffset : plot.yEndOffset, r.endOffset, tol);
    }
    // Write-back: never-set limits and increment take the raw extent and the increment.
    const xypC_XYPlotOptions& o = plot.options;
    EXPECT_EQ(plot.rawXMin, r.lo);
    EXPECT_EQ(plot.rawXMax, r.hi);
    EXPECT_EQ(o.xAutoMinValue, r.lo);
    EXPECT_EQ(o.xAutoMaxValue, r.hi);
    EXPECT_EQ(o.xMinValue, r.lo);
    EXPECT_EQ(o.xMaxValue, r.hi);
    EXPECT_NEAR(o.xMajorTickIncrement, r.increment, tol);
    EXPECT_NEAR(o.xAutoMajorTickIncrement, r.increment, tol);
    EXPECT_EQ(o.numXMajorTicks, r.ticks);
    EXPECT_EQ(plot.GetExtent().center[0], 0.25f);
    EXPECT_EQ(plot.GetExtent().radius, 1.0f);
  }
}

TEST_F(AxisLayout, ConstantCurvesGetARangeAroundTheValue) {
  // y = 5: centre 5, range/centre 0 < 0.01 -> 4.75..5.25. Range 0.5: p -1, units 47.5 and 52.5
  // (5 apart, no rescale), 47..52 widened to 46..52: d 6 -> increment 1 unit = 0.1. First tick
  // 4.8 (offset 0.05), last 5.2 (offset 0.05), both below 0.8 increments: 4 intervals.
  xypK_XYPlot plot = PlotOf({{0, 5}, {10, 5}});
  ASSERT_EQ(Refusal([&] { plot.Recalculate(); }), "");
  EXPECT_FLOAT_EQ(plot.yAxisMin, 4.75f);
  EXPECT_FLOAT_EQ(plot.yAxisMax, 5.25f);
  EXPECT_FLOAT_EQ(plot.yIncrement, 0.1f);
  EXPECT_NEAR(plot.yStartOffset, 0.05f, 1e-6f);
  EXPECT_NEAR(plot.yEndOffset, 0.05f, 1e-6f);
  EXPECT_EQ(plot.yNumIntervals, 4);
  EXPECT_EQ(plot.yNumTicks, 3);
  // y = 0: |centre| < precis and range 0 -> -1..1; units -10..10: increment 5 units = 0.5.
  xypK_XYPlot zero = PlotOf({{0, 0}, {10, 0}});
  ASSERT_EQ(Refusal([&] { zero.Recalculate(); }), "");
  EXPECT_EQ(zero.yAxisMin, -1.0f);
  EXPECT_EQ(zero.yAxisMax, 1.0f);
  EXPECT_EQ(zero.yIncrement, 0.5f);
  EXPECT_EQ(zero.yNumIntervals, 4);
}

TEST_F(AxisLayout, LogAxesSpanWholeDecades) {
  struct Row {
    float lo, hi;
    float decadeMin, decadeMax, optionMin, optionMax;
    int ticks;
  };
  const std::vector<Row> rows = {
      {1.0f, 1000.0f, 0, 3, 1.0f, 1000.0f, 2},
      // Constant 100: decades 2..2 widen to 1.9..2.1, rounded out to 1..3.
      {100.0f, 100.0f, 1, 3, 10.0f, 1000.0f, 1},
      // log10(3e38) = 38.48 would round up to 39; the axis stops at decade 38.
      {1.0f, 3e38f, 0, 38, 1.0f, 1e38f, 37}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.hi);
    xypK_XYPlot plot = PlotOf({{r.lo, 1}, {r.hi, 2}});
    plot.options.xAxisScale = xypC_LOG;
    ASSERT_EQ(Refusal([&] { plot.Recalculate(); }), "");
    EXPECT_FLOAT_EQ(plot.xAxisMin, r.decadeMin);
    EXPECT_FLOAT_EQ(plot.xAxisMax, r.decadeMax);
    EXPECT_EQ(plot.xIncrement, 1.0f);
    EXPECT_EQ(plot.xNumTicks, r.ticks);
    EXPECT_EQ(plot.xNumIntervals, r.ticks + 1);
    EXPECT_FLOAT_EQ(plot.options.xMinValue, r.optionMin);
    EXPECT_FLOAT_EQ(plot.options.xAutoMinValue, r.optionMin);
    EXPECT_FLOAT_EQ(plot.options.xMaxValue, r.optionMax);
    EXPECT_FLOAT_EQ(plot.options.xAutoMaxValue, r.optionMax);
  }
}

TEST_F(AxisLayout, LogAxisLeavesOutOnlyAFirstPointAtZero) {
  // The first pair (0, 50) is left out: its y does not widen the extent either.
  xypK_XYPlot plot = PlotOf({{0, 50}, {1, 1}, {100, 3}});
  plot.options.xAxisScale = xypC_LOG;
  ASSERT_EQ(Refusal([&] { plot.Recalculate(); }), "");
  EXPECT_TRUE(plot.curves.ConstGet("c1").skipFirstPoint);
  EXPECT_EQ(plot.rawXMin, 1.0f);
  EXPECT_EQ(plot.rawXMax, 100.0f);
  EXPECT_EQ(plot.rawYMin, 1.0f);
  EXPECT_EQ(plot.rawYMax, 3.0f);
  EXPECT_EQ(plot.xAxisMax, 2.0f);

  const std::string refused =
      "For plotting of xy data using a logarithmic scale, all data points must be greater than "
      "zero. Curves that may be violating this condition include - c1.|55";
  for (const Pairs& bad : {Pairs{{1, 1}, {0, 2}, {10, 3}}, Pairs{{0, 1}}, Pairs{{-1, 1}, {1, 2}}}) {
    xypK_XYPlot p = PlotOf(bad);
    p.options.xAxisScale = xypC_LOG;
    EXPECT_EQ(Refusal([&] { p.Recalculate(); }), refused);
    EXPECT_FALSE(p.curves.ConstGet("c1").skipFirstPoint);
  }
  xypK_XYPlot y = PlotOf({{1, 0}, {2, 0}});
  y.options.yAxisScale = xypC_LOG;
  EXPECT_EQ(Refusal([&] { y.Recalculate(); }), refused);
}

TEST_F(AxisLayout, TickModesBoundTheNumberOfTicks) {
  xypK_XYPlot plot = PlotOf({{0, 0}, {10, 10}});
  plot.options.xMajorTickMode = xypC_TOTAL_NUMBER;
  plot.options.numXMajorTicks = 100;
  ASSERT_EQ(Refusal([&] { plot.Recalculate(); }), "");
  EXPECT_EQ(plot.xNumTicks, 100);
  EXPECT_EQ(plot.xNumIntervals, 101);
  EXPECT_NEAR(plot.xIncrement, 10.0f / 101, 1e-6f);
  EXPECT_EQ(plot.xStartOffset, 0.0f);
  EXPECT_EQ(plot.xEndOffset, 0.0f);
  EXPECT_EQ(plot.options.numXMajorTicks, 100);  // the user's number is kept
  EXPECT_NEAR(plot.options.xMajorTickIncrement, 10.0f / 101, 1e-6f);
  EXPECT_EQ(plot.options.xAutoMajorTickIncrement, 2.0f);
  for (int n : {101, -1, INT_MAX}) {
    plot.options.numXMajorTicks = n;
    EXPECT_EQ(Refusal([&] { plot.Recalculate(); }), kExcessiveX) << n;
    EXPECT_EQ(plot.options.numXMajorTicks, n);
  }

  // By increment: 2.5 over 0..10 gives 4 intervals; the automatic rule still says 2.
  plot.options.xMajorTickMode = xypC_INCREMENT;
  plot.options.xMajorTickIncrement = 2.5f;
  ASSERT_EQ(Refusal([&] { plot.Recalculate(); }), "");
  EXPECT_EQ(plot.xIncrement, 2.5f);
  EXPECT_EQ(plot.xNumIntervals, 4);
  EXPECT_EQ(plot.xNumTicks, 3);
  EXPECT_EQ(plot.xAutoIncrement, 2.0f);
  EXPECT_EQ(plot.options.xMajorTickIncrement, 2.5f);
  EXPECT_EQ(plot.options.xAutoMajorTickIncrement, 2.0f);
  EXPECT_EQ(plot.options.numXMajorTicks, 3);
  plot.options.xMajorTickIncrement = 0.1f;  // 100 intervals, 99 ticks
  ASSERT_EQ(Refusal([&] { plot.Recalculate(); }), "");
  EXPECT_EQ(plot.xNumTicks, 99);
  for (float inc : {0.0f, -2.0f, kNaN, kInf, 0.05f, 1e-30f}) {
    plot.options.xMajorTickIncrement = inc;
    EXPECT_EQ(Refusal([&] { plot.Recalculate(); }), kExcessiveX) << inc;
  }
  plot.options.xMajorTickMode = xypC_AUTOCOMPUTE;
  plot.options.yMajorTickMode = xypC_INCREMENT;
  plot.options.yMajorTickIncrement = 0.0f;
  EXPECT_EQ(Refusal([&] { plot.Recalculate(); }),
            "The value of Y TICKMARK gives an excessive number of tickmarks|53");
}

TEST_F(AxisLayout, LabelFrequencyIsCheckedAfterTheLayout) {
  xypK_XYPlot plot = PlotOf({{0, 0}, {10, 10}});
  plot.options.xAxisLabelFrequency = 0;
  plot.options.yAxisLabelFrequency = 0;
  EXPECT_EQ(Refusal([&] { plot.Recalculate(); }), "");
  plot.curves.Insert("c1", MakeCurve("c1", {{0, 0}, {20, 20}}));
  plot.options.yAxisLabelFrequency = -1;
  EXPECT_EQ(Refusal([&] { plot.Recalculate(); }), "Frequency value should be larger than zero|56");
  EXPECT_EQ(plot.xAxisMax, 20.0f);
  EXPECT_EQ(plot.options.xMaxValue, 20.0f);
  EXPECT_EQ(plot.options.yAxisLabelFrequency, -1);
}

TEST_F(AxisLayout, NothingToDrawGivesTheEmptyLayout) {
  auto expectEmpty = [](const xypK_XYPlot& p, bool xLog) {
    EXPECT_EQ(p.xAxisMin, xLog ? 0.1f : 0.0f);
    EXPECT_EQ(p.xAxisMax, 1.0f);
    EXPECT_EQ(p.xIncrement, xLog ? 1.0f : 0.1f);
    EXPECT_EQ(p.xAutoIncrement, xLog ? 1.0f : 0.1f);
    EXPECT_EQ(p.yAxisMin, 0.0f);
    EXPECT_EQ(p.yIncrement, 0.1f);
    EXPECT_EQ(p.xNumTicks, 9);
    EXPECT_EQ(p.yNumIntervals, 10);
    EXPECT_EQ(p.xStartOffset, 0.0f);
    EXPECT_EQ(p.yEndOffset, 0.0f);
  };
  xypK_XYPlot hidden = PlotOf({{-5, -5}, {50, 50}});
  xypK_Curve& c = hidden.curves.Get("c1");
  c.options.showLine = false;
  c.options.showSymbol = false;
  for (bool xLog : {false, true}) {
    hidden.options.xAxisScale = xLog ? xypC_LOG : xypC_LINEAR;
    ASSERT_EQ(Refusal([&] { hidden.Recalculate(); }), "");
    EXPECT_EQ(hidden.numDisplayedCurves, 0);
    expectEmpty(hidden, xLog);
  }
  xypK_XYPlot unlisted;
  Add(unlisted, MakeCurve("c1", {{-5, -5}, {50, 50}}), false);
  ASSERT_EQ(Refusal([&] { unlisted.Recalculate(); }), "");
  expectEmpty(unlisted, false);
  xypK_XYPlot nonFinite = PlotOf({{kInf, 1}, {2, kNaN}, {kNaN, kNaN}, {-kInf, kInf}});
  ASSERT_EQ(Refusal([&] { nonFinite.Recalculate(); }), "");
  EXPECT_EQ(nonFinite.numDisplayedCurves, 1);
  expectEmpty(nonFinite, false);

  // Symbols alone display a curve; non-finite pairs stay out of its extent.
  c.options.showSymbol = true;
  hidden.options.xAxisScale = xypC_LINEAR;
  hidden.curves.Insert("c2", MakeCurve("c2", {{0, 0}, {kInf, 5}, {5, kNaN}, {10, 10}}));
  hidden.curvesToPlot.Append("c2");
  ASSERT_EQ(Refusal([&] { hidden.Recalculate(); }), "");
  EXPECT_EQ(hidden.numDisplayedCurves, 2);
  EXPECT_EQ(hidden.rawXMin, -5.0f);
  EXPECT_EQ(hidden.rawXMax, 50.0f);
  EXPECT_EQ(hidden.curves.ConstGet("c2").xMax, 10.0f);
  EXPECT_EQ(hidden.curves.ConstGet("c2").yMax, 10.0f);
}

TEST_F(AxisLayout, SpecifiedLimitsAreCheckedAgainstTheData) {
  struct Row {
    const char* what;
    std::function<void(xypC_XYPlotOptions&)> set;
    std::string refusal;
  };
  auto minX = [](float v) { return [v](xypC_XYPlotOptions& o) { o.xMinAutoCompute = false, o.xMinValue = v; }; };
  auto maxX = [](float v) { return [v](xypC_XYPlotOptions& o) { o.xMaxAutoCompute = false, o.xMaxValue = v; }; };
  const std::vector<Row> rows = {
      {"min above data", minX(20), kSpecMinX},
      {"max below data", maxX(-5), kSpecMaxX},
      {"min NaN", minX(kNaN), kSpecMinX},
      {"min -inf", minX(-kInf), kSpecMinX},
      {"max +inf", maxX(kInf), kSpecMaxX},
      {"max NaN", maxX(kNaN), kSpecMaxX},
      {"min > max", [&](xypC_XYPlotOptions& o) { minX(8)(o), maxX(2)(o); },
       "Minimum X-value is greater than the maximum X-value|51"},
      {"equal limits", [&](xypC_XYPlotOptions& o) { minX(5)(o), maxX(5)(o); },
       "X-axis range can not be 0|52"},
      {"log min 0", [&](xypC_XYPlotOptions& o) { minX(0)(o), o.xAxisScale = xypC_LOG; },
       "X-axis limits should be greater than zero when using a logarithmic scale|54"},
      {"y min above data", [](xypC_XYPlotOptions& o) { o.yMinAutoCompute = false, o.yMinValue = 20; },
       "The current plot options specify a minimum Y-Axis value that\nis greater than the maximum "
       "Y value contained in the XY data.|50"}};
  for (const Row& r : rows) {
    xypK_XYPlot plot = PlotOf({{1, 1}, {10, 10}});
    r.set(plot.options);
    const xypC_XYPlotOptions before = plot.options;
    EXPECT_EQ(Refusal([&] { plot.Recalculate(); }), r.refusal) << r.what;
    EXPECT_TRUE(std::memcmp(&before.xMinValue, &plot.options.xMinValue, sizeof(float)) == 0 &&
                std::memcmp(&before.xMaxValue, &plot.options.xMaxValue, sizeof(float)) == 0)
        << r.what << ": the user's limits are kept";
  }
}

TEST_F(AxisLayout, SpecifiedLimitsBoundTheAxisAndAreKept) {
  // -2..12 over data 0..10: units -2..12 widen to -4..12, d 16 -> increment 4; first tick 0
  // (offset 2, a user minimum does not move), last tick 12; (14 - 2) / 4 = 3 intervals.
  xypK_XYPlot plot = PlotOf({{0, 0}, {10, 10}});
  xypC_XYPlotOptions& o = plot.options;
  o.xMinAutoCompute = o.xMaxAutoCompute = false;
  o.xMinValue = -2;
  o.xMaxValue = 12;
  ASSERT_EQ(Refusal([&] { plot.Recalculate(); }), "");
  EXPECT_EQ(plot.xAxisMin, -2.0f);
  EXPECT_EQ(plot.xAxisMax, 12.0f);
  EXPECT_EQ(plot.xIncrement, 4.0f);
  EXPECT_EQ(plot.xStartOffset, 2.0f);
  EXPECT_EQ(plot.xEndOffset, 0.0f);
  EXPECT_EQ(plot.xNumIntervals, 3);
  EXPECT_EQ(o.xMinValue, -2.0f);
  EXPECT_EQ(o.xMaxValue, 12.0f);
  EXPECT_EQ(o.xAutoMinValue, 0.0f);
  EXPECT_EQ(o.xAutoMaxValue, 10.0f);

  // A user minimum of 0.13 stays although its offset (1.87) exceeds 0.8 increments; the
  // automatic maximum still moves out to 10: (10 - 0.13 - 1.87) / 2 = 4 intervals.
  xypK_XYPlot fixedMin = PlotOf({{0.13f, 0}, {9.7f, 1}});
  fixedMin.options.xMinAutoCompute = false;
  fixedMin.options.xMinValue = 0.13f;
  ASSERT_EQ(Refusal([&] { fixedMin.Recalculate(); }), "");
  EXPECT_EQ(fixedMin.xAxisMin, 0.13f);
  EXPECT_NEAR(fixedMin.xStartOffset, 1.87f, 1e-6f);
  EXPECT_EQ(fixedMin.xAxisMax, 10.0f);
  EXPECT_EQ(fixedMin.xNumIntervals, 4);
}

TEST_F(AxisLayout, WriteBackFollowsTheDataUntilTheUserSetsAValue) {
  xypK_XYPlot plot = PlotOf({{0, 0}, {10, 10}});
  xypC_XYPlotOptions& o = plot.options;
  ASSERT_EQ(Refusal([&] { plot.Recalculate(); }), "");
  ASSERT_EQ(o.xMaxValue, 10.0f);
  ASSERT_EQ(o.xMajorTickIncrement, 2.0f);
  // Still equal to the automatic values: they follow data 0..20 (increment 5 units of 1).
  plot.curves.Insert("c1", MakeCurve("c1", {{0, 0}, {20, 20}}));
  ASSERT_EQ(Refusal([&] { plot.Recalculate(); }), "");
  EXPECT_EQ(o.xMaxValue, 20.0f);
  EXPECT_EQ(o.xMajorTickIncrement, 5.0f);
  // Values the user set while automatic stay; the layout uses the automatic ones.
  o.xMaxValue = 15;
  o.xMajorTickIncrement = 3;
  plot.curves.Insert("c1", MakeCurve("c1", {{0, 0}, {30, 30}}));
  ASSERT_EQ(Refusal([&] { plot.Recalculate(); }), "");
  EXPECT_EQ(o.xMaxValue, 15.0f);
  EXPECT_EQ(o.xMajorTickIncrement, 3.0f);
  EXPECT_EQ(o.xAutoMaxValue, 30.0f);
  EXPECT_EQ(plot.xIncrement, 5.0f);  // 30: p 1, units 0..3 -> 0..30, d 30 -> 5
  EXPECT_EQ(o.xAutoMajorTickIncrement, 5.0f);
  // By number of ticks the specified increment always takes the computed one: 30 / 4.
  o.xMajorTickMode = xypC_TOTAL_NUMBER;
  o.numXMajorTicks = 3;
  ASSERT_EQ(Refusal([&] { plot.Recalculate(); }), "");
  EXPECT_EQ(o.xMajorTickIncrement, 7.5f);
  EXPECT_EQ(o.numXMajorTicks, 3);
}

TEST_F(AxisLayout, CurveIntervalQueries) {
  xypK_Curve c = MakeCurve("c", {{0, 1}, {1, 5}, {1.5f, kInf}, {2, 3}, {kNaN, 4}, {3, -2}});
  EXPECT_EQ(c.xMin, 0.0f);
  EXPECT_EQ(c.xMax, 3.0f);
  EXPECT_EQ(c.yMax, 5.0f);
  float lo, hi;
  c.GetYMaxMinInXInterval(1, 2, lo, hi, false);  // both bounds included
  EXPECT_EQ(lo, 3.0f);
  EXPECT_EQ(hi, 5.0f);
  c.GetYMaxMinInXInterval(1.2f, 1.8f, lo, hi, false);
  EXPECT_EQ(lo, FLT_MAX);
  EXPECT_EQ(hi, -FLT_MAX);
  c.GetYMaxMinInXInterval(0, 0, lo, hi, true);  // the only pair inside is skipped
  EXPECT_EQ(lo, FLT_MAX);
  c.GetXMaxMinInYInterval(lo, hi, 3, 5, false);
  EXPECT_EQ(lo, 1.0f);
  EXPECT_EQ(hi, 2.0f);
  const xypK_Curve single = MakeCurve("s", {{4, 7}});
  single.GetYMaxMinInXInterval(0, 10, lo, hi, true);
  EXPECT_EQ(lo, 0.0f);
  EXPECT_EQ(hi, -FLT_MAX);
  single.GetXMaxMinInYInterval(lo, hi, 0, 10, true);
  EXPECT_EQ(lo, 0.0f);
  const xypK_Curve empty = MakeCurve("e", {});
  EXPECT_EQ(empty.xMin, FLT_MAX);
  EXPECT_EQ(empty.yMax, -FLT_MAX);
}

TEST_F(AxisLayout, PlotIntervalQueries) {
  xypK_XYPlot plot;
  Add(plot, MakeCurve("a", {{0, 1}, {1, 5}, {2, 3}, {3, -2}}));
  Add(plot, MakeCurve("b", {{0, 0}, {1, 7}, {2, 4}, {3, 10}}));
  xypK_Curve hidden = MakeCurve("h", {{1.5f, 100}, {1.5f, -100}});
  hidden.options.showLine = false;
  Add(plot, hidden);
  ASSERT_EQ(Refusal([&] { plot.Recalculate(); }), "");
  float lo, hi;
  plot.GetYMaxMinInXInterval(1, 2, lo, hi);  // a: 3..5, b: 4..7; h is not drawn
  EXPECT_EQ(lo, 3.0f);
  EXPECT_EQ(hi, 7.0f);
  plot.GetYMaxMinInXInterval(1.2f, 1.8f, lo, hi);  // nothing inside: the raw y extent
  EXPECT_EQ(lo, -2.0f);
  EXPECT_EQ(hi, 10.0f);
  plot.GetXMaxMinInYInterval(lo, hi, 4, 10);  // a: (1, 5); b: (1, 7), (2, 4), (3, 10)
  EXPECT_EQ(lo, 1.0f);
  EXPECT_EQ(hi, 3.0f);
  plot.clipYMin = -1;
  plot.clipYMax = 100;
  plot.GetYMaxMinInXInterval(1, 2, lo, hi);
  EXPECT_EQ(lo, -1.0f);
  EXPECT_EQ(hi, 100.0f);
  // Specified y limits 4..6: a curve minimum below 4 or maximum above 6 does not count.
  plot.options.yMinAutoCompute = plot.options.yMaxAutoCompute = false;
  plot.options.yMinValue = 4;
  plot.options.yMaxValue = 6;
  ASSERT_EQ(Refusal([&] { plot.Recalculate(); }), "");
  plot.GetYMaxMinInXInterval(1, 2, lo, hi);
  EXPECT_EQ(lo, 4.0f);
  EXPECT_EQ(hi, 5.0f);
}

TEST_F(AxisLayout, DefaultTitles) {
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
  EXPECT_EQ(title({"a", "b"}, true), "Stress");  // common "Stress S" begins with "Stress"
  // First curve b: its description is longer than the common part; y takes the shared source.
  EXPECT_EQ(title({"b", "a"}, true), "");
  EXPECT_EQ(title({"b", "a"}, false), "run1");
  Add(plot, curve("c", "Stress S22 mean", "Mean", "run2"), false);
  EXPECT_EQ(title({"b", "c"}, true), "Stress S22");  // the whole first label is common
  EXPECT_EQ(title({"b", "a", "c"}, false), "");      // sources differ
  Add(plot, curve("d", "Time", "Zeit", "run1"), false);
  EXPECT_EQ(title({"b", "d"}, false), "run1");  // no common part at all

  xypK_XYToolset::Instance().GetXYPlotDictionary().Insert("P", plot);
  EXPECT_EQ(xypK_XYPlot::GetDefaultTitle("P", true).Std(), "Stress S22");
  xypK_XYToolset::Instance().GetXYPlotDictionary().Insert("E", xypK_XYPlot());
  EXPECT_EQ(xypK_XYPlot::GetDefaultTitle("E", false).Std(), "No curve created in the current plot");
}

TEST_F(AxisLayout, CurveListNamesEachCurveOnce) {
  xypK_XYPlot plot;
  for (const char* n : {"a", "b", "c"}) plot.curves.Insert(n, xypK_Curve(n));
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
  EXPECT_EQ(plot.curves.Size(), 2u);
}

}  // namespace
