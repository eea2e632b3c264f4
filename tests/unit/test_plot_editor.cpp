// The plot editor's drawing, recorded in device units: the frame and the aspect ratio, tick
// marks and grids kept off the frame, logarithmic minor ticks, label frequency, symbols, clipping
// at the frame, broken lines at non-finite values, and the legend box.
#include <gtest/gtest.h>

#include <array>
#include <cfloat>
#include <climits>
#include <cmath>
#include <vector>

#include "g3d_Utils.h"
#include "gdr_RecordingRenderer.h"
#include "gru_Text3D.h"
#include "xypC_Utils.h"
#include "xypK_Module.h"
#include "xypK_Scene.h"
#include "xypK_Utils.h"
#include "xypK_XYPlot.h"
#include "xypK_XYPlotEditor.h"
#include "xypK_XYPlotIntObj.h"
#include "xypK_XYToolset.h"

namespace {
using Record = gdr_RecordingRenderer::Record;

// World (the unit plot area) to device: 600 device units a world unit, offset 200, so that the
// margins with labels and titles stay inside the 1000 x 1000 viewport.
constexpr double kScale = 600.0, kOffset = 200.0;

class PlotEditor : public ::testing::Test {
 protected:
  void SetUp() override { xypK_initialize(modules_); }
  void TearDown() override {
    xypK_XYToolset::Instance().GetXYPlotDictionary().Clear();
    xypK_finalize(modules_);
  }

  xypK_XYPlot& Plot() { return xypK_XYToolset::Instance().GetXYPlot("p"); }

  // A plot "p" with curves of the given pairs, listed and laid out.
  xypK_XYPlot& MakePlot(const std::vector<std::vector<std::pair<float, float>>>& curves) {
    xypK_XYPlot plot;
    for (std::size_t c = 0; c < curves.size(); ++c) {
      xypK_Curve curve(cow_String("c") + cow_String::FromInt(static_cast<long long>(c)));
      for (auto [x, y] : curves[c]) curve.xyData.AppendPair(x, y);
      curve.CalculateMinMax();
      plot.curves.Insert(curve.name, curve);
      plot.curvesToPlot.Append(curve.name);
    }
    plot.options.numXMinorTicks = plot.options.numYMinorTicks = 0;
    plot.options.aspectRatio = 1.0f;  // the frame is the unit square, positions read off it
    xypK_XYToolset::Instance().GetXYPlotDictionary().Insert("p", plot);
    return Plot();
  }

  std::vector<Record> Draw(bool legend = false) {
    Plot().Recalculate();
    xypK_XYPlotEditor editor("p", nullptr);
    editor.SetLegendOptions(legend, true, 3, 2.0f, 98.0f, "", "Black", sesC_MATCH, "White", true);
    editor.Load(nullptr);
    gdr_RecordingRenderer renderer(1000, 1000);
    renderer.SetTransform(g3d_XForm::Translation(kOffset, kOffset) *
                          g3d_XForm::Scale(kScale, kScale));
    editor.Draft(renderer);
    return renderer.records;
  }

  // Vertical strokes of two points, as (x, y0, y1).
  static std::vector<std::array<double, 3>> Verticals(const std::vector<Record>& records) {
    std::vector<std::array<double, 3>> out;
    for (const Record& r : records)
      if (r.kind == gdr_RecordingRenderer::STROKE && r.points.size() == 2 &&
          std::fabs(r.points[0].x - r.points[1].x) < 1e-6)
        out.push_back({r.points[0].x, r.points[0].y, r.points[1].y});
    return out;
  }
  int modules_ = 0;
};
}  // namespace

TEST_F(PlotEditor, FrameFillsThePlotAreaAtTheAspectRatioAndTicksAndGridsStayOffIt) {
  MakePlot({{{0, 0}, {10, 10}}});
  std::vector<Record> records = Draw();
  ASSERT_FALSE(records.empty());
  const Record& frame = records[0];
  ASSERT_EQ(frame.points.size(), 4u);
  EXPECT_TRUE(frame.closed);
  EXPECT_NEAR(frame.points[0].x, 200, 1e-3);
  EXPECT_NEAR(frame.points[0].y, 200, 1e-3);
  EXPECT_NEAR(frame.points[2].x, 800, 1e-3);
  EXPECT_NEAR(frame.points[2].y, 800, 1e-3);

  // Aspect ratio 2: 1 wide, 0.5 high, centred vertically (0.25 to 0.75).
  Plot().options.aspectRatio = 2.0f;
  records = Draw();
  EXPECT_NEAR(records[0].points[0].y, 200 + 0.25 * kScale, 1e-3);
  EXPECT_NEAR(records[0].points[2].y, 200 + 0.75 * kScale, 1e-3);
  EXPECT_NEAR(records[0].points[2].x - records[0].points[0].x,
              2 * (records[0].points[2].y - records[0].points[0].y), 1e-3);

  // Ticks and grids stay off the frame. 0..10 by 2: majors at 0, 2, ... 10; those at the ends
  // (within 0.05 increments) are left out.
  Plot().options.aspectRatio = 1.0f;
  Plot().options.xMajorGridLines = true;
  std::vector<double> ticks, grid;
  for (const auto& v : Verticals(Draw())) {
    if (std::fabs(v[2] - v[1] - 600.0) < 1e-3) grid.push_back(v[0]);
    if (std::fabs(v[1] - 200) < 1e-3 && std::fabs(v[2] - v[1] - 24.0) < 1e-3)
      ticks.push_back(v[0]);  // major ticks up from the bottom, (10 - 0) / 25 long
  }
  const std::vector<double> inner = {320, 440, 560, 680};
  EXPECT_EQ(ticks.size(), inner.size());
  EXPECT_EQ(grid.size(), inner.size());
  for (std::size_t i = 0; i < inner.size() && i < ticks.size() && i < grid.size(); ++i) {
    EXPECT_NEAR(ticks[i], inner[i], 1e-3);
    EXPECT_NEAR(grid[i], inner[i], 1e-3);
  }
}

TEST_F(PlotEditor, LogMinorTicksFallOnTheDigitsOfEachDecade) {
  MakePlot({{{1, 1}, {1000, 2}}});
  Plot().options.xAxisScale = xypC_LOG;
  Plot().options.numXMinorTicks = 7;  // a log axis takes 2 ... 9 whatever the number
  std::vector<double> minor;
  for (const auto& v : Verticals(Draw()))
    if (std::fabs(v[1] - 200) < 1e-3 && std::fabs(v[2] - v[1] - 12.0) < 1e-3) minor.push_back(v[0]);
  ASSERT_EQ(minor.size(), 24u);  // 8 a decade, 3 decades
  for (int k = 2; k <= 9; ++k)
    EXPECT_NEAR(minor[static_cast<std::size_t>(k - 2)], 200 + kScale * std::log10(k) / 3, 1e-2);
}

TEST_F(PlotEditor, CrowdedLabelsRaiseTheFrequencyAndTheOptionReadsIt) {
  MakePlot({{{0, 0}, {10, 10}}});
  xypC_XYPlotOptions& o = Plot().options;
  o.xAxisLabelDecimalPlaces = 12;  // "10.000000000000": far wider than an interval
  o.xAxisLabelFrequency = 1;
  auto labels = [&] {
    std::size_t count = 0;
    for (const Record& r : Draw())
      count +=
          r.kind == gdr_RecordingRenderer::TEXT && r.text.find("000000000") != std::string::npos;
    return count;
  };
  const std::size_t shown = labels();
  EXPECT_GT(o.xAxisLabelFrequency, 1);
  EXPECT_EQ(shown, static_cast<std::size_t>(5 / o.xAxisLabelFrequency + 1));  // positions 0 ... 5
  o.xAxisLabelFrequency = 0;
  EXPECT_EQ(labels(), 0u);
}

TEST_F(PlotEditor, SymbolsAtEveryThirdPairAndTheDefaultMarkerIsKept) {
  std::vector<std::pair<float, float>> pairs;
  for (int i = 0; i < 8; ++i) pairs.push_back({static_cast<float>(i), static_cast<float>(i)});
  MakePlot({{{0, 0}, {7, 7}}, pairs});
  xypC_CurveOptions& o = Plot().curves.Get("c1").options;
  o.showLine = false;
  o.showSymbol = true;
  o.symbolFrequency = 3;
  std::vector<Record> markers;
  for (const Record& r : Draw())
    if (r.kind == gdr_RecordingRenderer::MARKER) markers.push_back(r);
  ASSERT_EQ(markers.size(), 3u);
  for (std::size_t k = 0; k < 3; ++k) {
    EXPECT_NEAR(markers[k].points[0].x, 200 + kScale * 3.0 * k / 7.0, 1e-3);
    EXPECT_EQ(markers[k].marker, xypC_Utils::GetDefaultMarker(1));
  }
  EXPECT_EQ(Plot().curves.ConstGet("c1").options.symbolMarker, xypC_Utils::GetDefaultMarker(1));
}

TEST_F(PlotEditor, LinesStopAtTheFrameAndBreakAtNonFiniteValues) {
  const float inf = INFINITY;
  MakePlot({{{0, 0}, {10, 10}}, {{0, 1}, {1, 2}, {2, inf}, {3, 4}, {4, 5}}});
  Plot().options.yMaxAutoCompute = false;
  Plot().options.yMaxValue = 5.0f;
  Plot().options.xMaxAutoCompute = false;
  Plot().options.xMaxValue = 10.0f;
  Plot().options.axisThickness = g3d_VERY_THIN;  // curves are thicker: told apart by width
  std::vector<Record> strokes;
  for (const Record& r : Draw())
    if (r.kind == gdr_RecordingRenderer::STROKE && r.lineWidth > 1.0 && r.points.size() >= 2 &&
        !r.closed)
      strokes.push_back(r);
  // The axis runs 0..6 (5 snapped up to a tick); the first curve leaves at y = 6, x = 6.
  ASSERT_GE(strokes.size(), 3u);
  const Record& diagonal = strokes[0];
  const float top = Plot().yAxisMax;
  EXPECT_NEAR(diagonal.points.back().y, 800, 1e-2);
  EXPECT_NEAR(diagonal.points.back().x, 200 + kScale * top / 10.0, 1e-2);
  EXPECT_EQ(Plot().clipYMax, top);
  EXPECT_EQ(Plot().clipXMax, top);
  // The second curve: two pieces, either side of the infinite value.
  EXPECT_EQ(strokes[1].points.size(), 2u);
  EXPECT_EQ(strokes[2].points.size(), 2u);
}

TEST_F(PlotEditor, LegendBoxOfOneCurveWithTheExtremesAndItsSamples) {
  MakePlot({{{0, -3}, {10, 10}}});
  std::vector<Record> fills, texts;
  for (const Record& r : Draw(true)) {
    if (r.kind == gdr_RecordingRenderer::FILL) fills.push_back(r);
    if (r.kind == gdr_RecordingRenderer::TEXT) texts.push_back(r);
  }
  ASSERT_EQ(fills.size(), 1u);
  // The extremes: YMIN is negative, so a "-" follows its heading, and every value starts at
  // the same x, whatever its sign.
  auto startOf = [&](const std::string& t) {
    for (const Record& r : texts)
      if (r.text == t) return r.textToDevice.Apply(0, 0);
    ADD_FAILURE() << "no text " << t;
    return g3d_XForm::Point{0, 0};
  };
  const g3d_XForm::Point heading = startOf("YMIN "), minus = startOf("-");
  const g3d_XForm::Point yMin = startOf("3.000E+00"), yMax = startOf("1.000E+01");
  EXPECT_GT(minus.x, heading.x);
  EXPECT_NEAR(minus.y, heading.y, 1e-9);
  EXPECT_GT(yMin.x, minus.x);
  EXPECT_NEAR(yMin.x, yMax.x, 1e-9);
  EXPECT_NEAR(yMin.x, startOf("0.000E+00").x, 1e-9);  // XMIN
  // Row height h is the text height; the box is h + g4 (1.6 h) high, plus 6.5 h for the
  // four extremes lines, with its top-left corner at 2 % and 98 % of the viewport.
  gru_Text3D text(xypK_DefaultFont());
  float lo[2], hi[2];
  text.Extent("textHeight", lo, hi);
  const double h = (hi[1] - lo[1]) * text.Font().PointSize();
  double minY = 1e9, maxY = -1e9, minX = 1e9;
  for (const gdr_Point& p : fills[0].points) {
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
    minX = std::min(minX, p.x);
  }
  EXPECT_NEAR(maxY, 980, 1e-3);
  EXPECT_NEAR(minX, 20, 1e-3);
  EXPECT_NEAR(maxY - minY, 9.1 * h, 1e-2);

  // The legend samples are long enough to show three dash periods.
  xypK_XYPlotEditor editor("p", nullptr);
  float solidW = 0.0f, solidH = 0.0f, dashedW = 0.0f, dashedH = 0.0f;
  ASSERT_TRUE(editor.LegendSize("", false, solidW, solidH));
  xypC_CurveOptions& options = Plot().curves.Get("c0").options;
  options.lineStyle = g3d_DASHED;
  ASSERT_TRUE(editor.LegendSize("", false, dashedW, dashedH));
  double period = 0.0;
  for (double d : gdr_Renderer::DashPattern(g3d_DASHED,
                                            g3d_Utils::ConvertLineThickness(options.lineThickness)))
    period += d;
  ASSERT_GT(3.0 * period, 10.0);
  // The solid sample has the minimum length of 10; the dashed one three periods.
  EXPECT_NEAR(dashedW - solidW, 3.0 * period - 10.0, 1e-3);
  EXPECT_EQ(dashedH, solidH);
}

TEST_F(PlotEditor, HelpersAndBoundedLoops) {
  EXPECT_EQ(xypK_XYPlotEditor::LabelExponent(0, 12000, xypC_AUTOMATIC), 3);
  EXPECT_EQ(xypK_XYPlotEditor::LabelExponent(0, 12000, xypC_POWER), 4);
  EXPECT_EQ(xypK_XYPlotEditor::LabelExponent(0, 12000, xypC_DECIMAL), 0);
  EXPECT_EQ(xypK_XYPlotEditor::LabelText(2.5f, -3), "2");
  EXPECT_EQ(xypK_XYPlotEditor::LabelText(0.5f, 99).Length(), 17u);  // 15 decimals at most
  EXPECT_EQ(xypK_XYPlotEditor::LinearSnap(0, 0, 10, 20, 5, true), 10.0f);
  EXPECT_EQ(xypK_XYPlotEditor::LinearSnap(0, 0, 10, 20, 10, true), FLT_MAX);  // not strictly inside
  // Automatic label decimals: the fewest that print first + k * increment exactly, for every k.
  struct Decimals {
    double first, increment;
    int count, expected;
  };
  for (const Decimals& d : {Decimals{0, 2, 5, 0}, Decimals{0, 0.5, 4, 1}, Decimals{0.5, 1, 3, 1},
                            Decimals{0, 0.025, 4, 3}, Decimals{-1.2, 0.4, 6, 1},
                            Decimals{0, 1.0 / 3.0, 3, 4},  // within a thousandth of a step
                            Decimals{0, 1e-7, 3, xypK_XYPlotEditor::kMaxAutoDecimals},
                            Decimals{0, std::nan(""), 3, 0}, Decimals{0, 0, 3, 0}})
    EXPECT_EQ(xypK_XYPlotEditor::AutomaticDecimals(d.first, d.increment, d.count), d.expected)
        << d.first << " + k * " << d.increment;

  // More minor ticks than pixels: bounded by the pixels of an interval, and the draw ends.
  MakePlot({{{0, 0}, {10, 10}}});
  Plot().options.numXMinorTicks = INT_MAX;
  std::size_t strokes = 0;
  for (const Record& r : Draw())
    if (r.kind == gdr_RecordingRenderer::STROKE) ++strokes;
  EXPECT_LT(strokes, 5u * 120u * 2u + 200u);
}

TEST_F(PlotEditor, SceneHighlightsPointsOfListedCurvesInRed) {
  std::vector<std::pair<float, float>> pairs;
  for (int i = 0; i < 8; ++i) pairs.push_back({static_cast<float>(i), static_cast<float>(i)});
  MakePlot({pairs});
  xypK_Scene scene(7);
  const xypK_XYPlotIntObj handle("p", 7);
  scene.SetXYPlotObject(&handle);
  scene.UpdateScene();
  scene.Highlight("c0", 3, false);
  scene.Highlight("c0", 5, true);     // the same curve's info grows
  scene.Highlight("c0", 100, true);   // no such pair: not drawn
  scene.Highlight("c0", -1, true);    // no such pair: not stored
  scene.Highlight("other", 1, true);  // a curve that is not listed: not drawn
  ASSERT_EQ(scene.Highlights().size(), 2u);
  EXPECT_EQ(scene.Highlights()[0]->Count(), 3);

  gdr_RecordingRenderer renderer(1000, 1000);
  scene.SketchCB(renderer);
  const std::vector<Record> markers = renderer.OfKind(gdr_RecordingRenderer::MARKER);
  ASSERT_EQ(markers.size(), 2u);
  EXPECT_LT(markers[0].points[0].x, markers[1].points[0].x);  // pair 3, then pair 5
  for (const Record& m : markers) EXPECT_EQ(m.color, gdr_Color::FromBytes(255, 0, 0));

  // Not the current viewport: clearing leaves the highlights; a new highlight without add
  // replaces them all.
  scene.ClearHighlights();
  EXPECT_EQ(scene.Highlights().size(), 2u);
  scene.Highlight("c0", 2, false);
  ASSERT_EQ(scene.Highlights().size(), 1u);
  EXPECT_EQ(scene.Highlights()[0]->Count(), 1);
}

TEST_F(PlotEditor, LongTitlesShrinkToStayInsideTheViewAndApart) {
  xypK_XYPlot& plot = MakePlot({{{0, 0}, {10, 10}}});
  const cow_String longText =
      "A very long title that goes on and on, as titles made from file names and units do [MPa]";
  plot.xAxisTitleSource = plot.yAxisTitleSource = xypC_USER_DEFINED;
  plot.xAxisTitle = "X: " + longText;
  plot.yAxisTitle = "Y: " + longText;
  // Device boxes of the two titles: their extents through their text transforms.
  std::array<double, 4> box[2] = {};
  int found = 0;
  for (const Record& r : Draw()) {
    if (r.kind != gdr_RecordingRenderer::TEXT || r.text.size() < longText.View().size()) continue;
    float lo[2], hi[2];
    gru_Text3D(r.font.Description()).Extent(cow_String(r.text), lo, hi);
    std::array<double, 4> b = {1e9, 1e9, -1e9, -1e9};
    for (float x : {lo[0], hi[0]})
      for (float y : {lo[1], hi[1]}) {
        const g3d_XForm::Point p = r.textToDevice.Apply(x, y);
        b = {std::min(b[0], p.x), std::min(b[1], p.y), std::max(b[2], p.x), std::max(b[3], p.y)};
      }
    box[r.text[0] == 'X' ? 0 : 1] = b;
    ++found;
  }
  ASSERT_EQ(found, 2);
  // X title: at most 1.3 world units (600 device units each) wide; the Y title at most as long as
  // the frame is high; both inside the view of world -0.33 .. 1.33.
  EXPECT_LE(box[0][2] - box[0][0], 1.3 * kScale + 1.0);
  EXPECT_LE(box[1][3] - box[1][1], 1.0 * kScale + 1.0);
  for (const auto& b : box) {
    EXPECT_GE(b[0], 0.0);
    EXPECT_GE(b[1], 0.0);
    EXPECT_LE(b[2], 1000.0);
    EXPECT_LE(b[3], 1000.0);
  }
  const bool apart = box[0][0] >= box[1][2] || box[0][3] <= box[1][1];
  EXPECT_TRUE(apart);
}
