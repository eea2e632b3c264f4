// Scenes of viewports: a new viewport's copy of the plot shown beside it, views saved per plot,
// freeing a viewport's scene (which deletes only the plot the viewport owned), the id map that
// picking reads, the view kept clear of the legend, and highlights in a saved picture.
#include <cairo/cairo.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "gdr_ImageWriter.h"
#include "gdr_RecordingRenderer.h"
#include "gru_Font.h"
#include "sesK_SessionState.h"
#include "smg_SceneManagerRole.h"
#include "xmd_VisMaps.h"
#include "xypC_Utils.h"
#include "xypK_Module.h"
#include "xypK_PlotLayout.h"
#include "xypK_Scene.h"
#include "xypK_SceneManager.h"
#include "xypK_Utils.h"
#include "xypK_XYPlot.h"
#include "xypK_XYPlotEditor.h"
#include "xypK_XYPlotIntObj.h"
#include "xypK_XYToolset.h"

namespace {
class Scenes : public ::testing::Test {
 protected:
  void SetUp() override {
    xypK_initialize(modules_);
    for (const char* name : {"user", "other"}) {
      xypK_XYPlot plot;
      xypK_Curve curve("c");
      curve.xyData.AppendPair(0, 0);
      curve.xyData.AppendPair(10, 5);
      curve.CalculateMinMax();
      plot.curves.Insert("c", curve);
      plot.curvesToPlot.Append("c");
      Toolset().GetXYPlotDictionary().Insert(name, plot);
    }
  }
  void TearDown() override {
    Toolset().GetXYPlotDictionary().Clear();
    xypK_finalize(modules_);
  }
  static xypK_XYToolset& Toolset() { return xypK_XYToolset::Instance(); }
  int modules_ = 0;
};
}  // namespace

TEST_F(Scenes, ANewViewportShowsItsOwnCopyAndFreeingItDeletesOnlyThatCopy) {
  xypK_SceneManager& manager = Toolset().SceneManager();
  xypK_Scene& first = manager.Scene(1);
  const xypK_XYPlotIntObj user("user", 1);
  first.SetXYPlotObject(&user);
  EXPECT_EQ(sesK_SessionState::Instance().GetPrimaryObjectPath(1), "session.xyPlots['user']");

  smg_SceneManagerRole::Instance().SetCurrentViewport(1);
  xypK_Scene& second = manager.Scene(2);
  const cow_String own = xypC_Utils::GetPlotNameFromVPID(2);
  EXPECT_EQ(second.PlotName(), own);
  ASSERT_TRUE(Toolset().IsXYPlot(own));
  EXPECT_TRUE(Toolset().ConstGetXYPlot(own).curves.IsMember("c"));
  EXPECT_EQ(Toolset().ConstGetXYPlot(own).xAxisMax, 10.0f);  // laid out on arrival

  manager.FreeScene(2);
  EXPECT_FALSE(Toolset().IsXYPlot(own));
  // Viewport 1's scene shows a user's plot: freeing it leaves that plot alone.
  manager.FreeScene(1);
  EXPECT_TRUE(Toolset().IsXYPlot("user"));
  EXPECT_FALSE(manager.IsAllocated(1));
}

TEST_F(Scenes, SwitchingPlotsRestoresEachPlotsView) {
  xypK_Scene& scene = Toolset().SceneManager().Scene(3);
  scene.Map();
  const xypK_XYPlotIntObj user("user", 3), other("other", 3);
  scene.SetXYPlotObject(&user);
  const g3d_Camera zoomed(0.5f, 0.5f, 0.2f, 0.2f);
  scene.SetCamera(zoomed);
  scene.SetXYPlotObject(&other);  // saves the zoomed view for "user"
  EXPECT_NE(scene.Camera().HalfWidth(), 0.2f);
  scene.SetXYPlotObject(&user);
  EXPECT_EQ(scene.Camera().HalfWidth(), 0.2f);
  EXPECT_EQ(scene.Camera().CenterX(), 0.5f);
}

TEST_F(Scenes, APlotThatCannotBeLaidOutIsMarkedInvalidAndNotDrawn) {
  xypK_Scene& scene = Toolset().SceneManager().Scene(4);
  const xypK_XYPlotIntObj user("user", 4);
  scene.SetXYPlotObject(&user);
  scene.EnableProbe();
  scene.UpdateScene();
  EXPECT_TRUE(Toolset().ConstGetXYPlot("user").valid);
  EXPECT_NE(scene.ProbeMapId(), 0);
  Toolset().GetXYPlot("user").options.xAxisLabelFrequency = -1;
  EXPECT_THROW(scene.UpdateScene(), std::exception);
  EXPECT_FALSE(Toolset().ConstGetXYPlot("user").valid);
  EXPECT_EQ(scene.ProbeMapId(), 0);  // no map of the old data is left to pick from
  // The manager's refresh swallows the failure: the plot stays invalid until it can be drawn.
  Toolset().SceneManager().RefreshPlot("user");
  EXPECT_FALSE(Toolset().ConstGetXYPlot("user").valid);
  Toolset().GetXYPlot("user").options.xAxisLabelFrequency = 1;
  Toolset().SceneManager().RefreshPlot("user");
  EXPECT_TRUE(Toolset().ConstGetXYPlot("user").valid);
}

namespace {
// Device position of a data point in a scene of the given size: the axis limits span the
// editor's frame in the scene's world, placed by the scene's view.
g3d_Point OnScreen(const xypK_Scene& scene, const xypK_XYPlot& plot, float x, float y, float width,
                   float height) {
  float x0 = 0.0f, y0 = 0.0f, x1 = 1.0f, y1 = 1.0f;
  EXPECT_TRUE(scene.Editor()->FrameBounds(x0, y0, x1, y1));
  const float u = x0 + (x1 - x0) * (x - plot.xAxisMin) / (plot.xAxisMax - plot.xAxisMin);
  const float v = y0 + (y1 - y0) * (y - plot.yAxisMin) / (plot.yAxisMax - plot.yAxisMin);
  const g3d_XForm::Point d = scene.ViewToDevice(width, height).Apply(u, v);
  return {static_cast<float>(d.x), static_cast<float>(d.y), 0.0f};
}

xypK_Curve CurveOf(const char* name, std::initializer_list<std::pair<float, float>> pairs) {
  xypK_Curve curve(name);
  for (const auto& [x, y] : pairs) curve.xyData.AppendPair(x, y);
  curve.CalculateMinMax();
  return curve;
}
}  // namespace

TEST_F(Scenes, TheIdMapNumbersSegmentsOverTheCurvesToPlotCountingHiddenOnes) {
  xypK_XYPlot plot;
  // A zigzag of 5 pairs low in the plot, a line of 3 pairs high up, and between them in the
  // list a curve of 4 pairs that is hidden later.
  plot.curves.Insert("a", CurveOf("a", {{0, 0}, {1, 1}, {2, 0}, {3, 1}, {4, 0}}));
  plot.curves.Insert("h", CurveOf("h", {{0, 2}, {1, 2}, {2, 2}, {4, 2}}));
  plot.curves.Insert("b", CurveOf("b", {{0, 4}, {2, 4}, {4, 4}}));
  for (const char* name : {"a", "h", "b"}) plot.curvesToPlot.Append(name);
  Toolset().GetXYPlotDictionary().Insert("probed", plot);

  xypK_Scene& scene = Toolset().SceneManager().Scene(5);
  smg_SceneManagerRole::Instance().SetCurrentViewport(5);
  const xypK_XYPlotIntObj handle("probed", 5);
  scene.SetXYPlotObject(&handle);
  scene.Map();
  scene.Resize(400, 300);
  EXPECT_EQ(scene.ProbeMapId(), 0);  // probing is off: no map is kept
  scene.EnableProbe();
  scene.Resize(400, 300);
  ASSERT_NE(scene.ProbeMapId(), 0);

  auto idAt = [&](float x, float y) {
    const xypK_XYPlot& laidOut = Toolset().ConstGetXYPlot("probed");
    return scene.Probe(OnScreen(scene, laidOut, x, y, 400, 300));
  };
  auto midpoints = [&](std::vector<int> expectedA, std::vector<int> expectedB) {
    for (int k = 0; k < 4; ++k)
      EXPECT_EQ(idAt(k + 0.5f, 0.5f), expectedA[static_cast<std::size_t>(k)]) << "a segment " << k;
    EXPECT_EQ(idAt(1.0f, 4.0f), expectedB[0]);
    EXPECT_EQ(idAt(3.0f, 4.0f), expectedB[1]);
  };
  midpoints({1, 2, 3, 4}, {8, 9});
  EXPECT_EQ(idAt(0.5f, 2.0f), 5);
  EXPECT_EQ(idAt(3.0f, 2.0f), 7);
  EXPECT_EQ(idAt(2.0f, 3.0f), 0);  // between the curves
  EXPECT_EQ(idAt(3.5f, 1.5f), 0);

  // Hiding the middle curve keeps its ids counted but draws none of them.
  Toolset().GetXYPlot("probed").curves.Get("h").options.showLine = false;
  Toolset().GetXYPlot("probed").curves.Get("h").options.showSymbol = false;
  scene.UpdateScene();
  midpoints({1, 2, 3, 4}, {8, 9});
  EXPECT_EQ(idAt(0.5f, 2.0f), 0);
  EXPECT_EQ(idAt(3.0f, 2.0f), 0);

  // Without the hidden curve the second curve's ids follow the first's directly.
  Toolset().GetXYPlot("probed").curvesToPlot.Set(1, "b");
  Toolset().GetXYPlot("probed").curvesToPlot.Resize(2);
  scene.UpdateScene();
  midpoints({1, 2, 3, 4}, {5, 6});

  scene.DisableProbe();
  EXPECT_EQ(scene.ProbeMapId(), 0);
  EXPECT_EQ(idAt(0.5f, 0.5f), 0);
  scene.UpdateScene();  // disabled: no map is filled again
  EXPECT_EQ(scene.ProbeMapId(), 0);
}

TEST_F(Scenes, PointsOnTheAxisLimitsArePickableAndPartsOutsideAreNot) {
  xypK_XYPlot plot;
  plot.curves.Insert("a", CurveOf("a", {{0, 0}, {10, 10}, {20, 0}}));
  plot.curvesToPlot.Append("a");
  // The X axis ends at the first segment's far end; the second segment lies outside.
  plot.options.xMinAutoCompute = false;
  plot.options.xMinValue = 0.0f;
  plot.options.xMaxAutoCompute = false;
  plot.options.xMaxValue = 10.0f;
  Toolset().GetXYPlotDictionary().Insert("limited", plot);
  xypK_Scene& scene = Toolset().SceneManager().Scene(6);
  const xypK_XYPlotIntObj handle("limited", 6);
  scene.SetXYPlotObject(&handle);
  scene.EnableProbe();
  scene.Map();
  scene.Resize(300, 300);
  const xypK_XYPlot& laidOut = Toolset().ConstGetXYPlot("limited");
  ASSERT_EQ(laidOut.xAxisMax, 10.0f);
  EXPECT_EQ(scene.Probe(OnScreen(scene, laidOut, 10.0f, 10.0f, 300, 300)), 1);
  EXPECT_EQ(scene.Probe(OnScreen(scene, laidOut, 5.0f, 5.0f, 300, 300)), 1);
  // Right of the frame, where the second segment would run, nothing is drawn.
  const g3d_Point outside = OnScreen(scene, laidOut, 12.0f, 8.0f, 300, 300);
  EXPECT_EQ(scene.Probe(outside), 0);
}

TEST_F(Scenes, TheLegendGoesWhereItHidesNoDataAndThePlotKeepsTheRest) {
  // Lines of long legends, from (0, c) to (10, count - 1 - c): two leave the top-left corner
  // free; many cross the plot from every corner.
  auto makePlot = [&](const char* name, int count) {
    xypK_XYPlot plot;
    for (int c = 0; c < count; ++c) {
      const cow_String curveName = cow_String("c") + cow_String::FromInt(c);
      const float y0 = count > 2 ? static_cast<float>(c) : 0.0f;
      xypK_Curve curve = CurveOf("c", {{0, y0}, {10, static_cast<float>(count - 1 - c)}});
      curve.name = curveName;
      curve.options.legendTextSource = xypC_USER_DEFINED;
      curve.options.legendText = "Von Mises stress at a node of a long named part instance";
      plot.curves.Insert(curveName, curve);
      plot.curvesToPlot.Append(curveName);
    }
    Toolset().GetXYPlotDictionary().Insert(name, plot);
  };
  makePlot("few", 2);
  makePlot("many", 12);
  using Place = xypK_PlotLayout::Place;
  struct Case {
    const char* plot;
    float width, height;
    Place place;
    double points;  // the legend's font size; 0: its own
    bool extremes;
  };
  smg_SceneManagerRole& role = smg_SceneManagerRole::Instance();
  const double own = gru_Font(xypK_DefaultFont()).PointSize();
  for (const Case& c : {Case{"few", 800, 600, Place::CORNER, 0, true},
                        Case{"many", 1600, 900, Place::BESIDE, 0, true},
                        Case{"many", 800, 600, Place::BELOW, 7.2, false},
                        Case{"many", 400, 300, Place::OVER_PLOT, 7, false}}) {
    xypK_Scene& scene = Toolset().SceneManager().Scene(7);
    const xypK_XYPlotIntObj handle(c.plot, 7);
    scene.SetXYPlotObject(&handle);
    scene.Map();
    scene.Resize(c.width, c.height);
    const xypK_PlotLayout& layout = scene.Layout(c.width, c.height);
    const std::string what = std::string(c.plot) + " at " + std::to_string(c.width);
    EXPECT_EQ(layout.LegendPlace(), c.place) << what;
    const gru_Font font(layout.Legend().legendFontName.IsEmpty() ? xypK_DefaultFont()
                                                                 : layout.Legend().legendFontName);
    EXPECT_NEAR(font.PointSize(), c.points > 0 ? c.points : own, 0.051) << what;
    EXPECT_EQ(layout.Legend().legendExtremes, c.extremes) << what;
    // The view stays inside the viewport's edge margin.
    const g3d_Camera& view = scene.Camera();
    const g3d_XForm::Point low = layout.ViewToDevice().Apply(view.CenterX() - view.HalfWidth(),
                                                             view.CenterY() - view.HalfHeight());
    const g3d_XForm::Point high = layout.ViewToDevice().Apply(view.CenterX() + view.HalfWidth(),
                                                              view.CenterY() + view.HalfHeight());
    EXPECT_GE(std::min(low.x, low.y), xypK_PlotLayout::kEdgeMargin - 1e-3) << what;
    EXPECT_LE(high.x, c.width - xypK_PlotLayout::kEdgeMargin + 1e-3) << what;
    EXPECT_LE(high.y, c.height - xypK_PlotLayout::kEdgeMargin + 1e-3) << what;
    // Beside or below, the legend box lies clear of the plot's view.
    if (c.place == Place::BESIDE || c.place == Place::BELOW) {
      float w = 0.0f, h = 0.0f;
      ASSERT_TRUE(scene.Editor()->LegendSize(layout.Legend().legendFontName, c.extremes, w, h));
      const float left = layout.Legend().legendXPosition / 100.0f * c.width;
      const float top = layout.Legend().legendYPosition / 100.0f * c.height;
      EXPECT_TRUE(left >= high.x || top - h >= high.y || top <= low.y) << what;
    }
    // The viewport's own settings are untouched by the layout's choice.
    EXPECT_TRUE(role.ConstGetViewAnnCTX(7).legendExtremes) << what;
  }

  // A position the user gave holds; the plot moves beside the legend when that leaves room.
  sesC_ViewAnnCTX& settings = role.GetViewAnnCTX(7);
  settings.legendAutoPosition = false;
  settings.legendXPosition = settings.legendYPosition = 98.0f;
  role.ViewAnnOptionsChanged(7);
  xypK_Scene& scene = Toolset().SceneManager().Scene(7);
  const xypK_XYPlotIntObj handle("few", 7);
  scene.SetXYPlotObject(&handle);
  const xypK_PlotLayout& layout = scene.Layout(800, 600);
  EXPECT_EQ(layout.LegendPlace(), Place::USER_POSITION);
  EXPECT_EQ(layout.Legend().legendXPosition, 98.0f);
  float w = 0.0f, h = 0.0f;
  ASSERT_TRUE(scene.Editor()->LegendSize("", true, w, h));
  // The box's top-left corner at 98 % of each side, moved in so that the box fits.
  const float left = 800.0f - w, bottom = 0.98f * 600.0f - h;
  const g3d_Camera& view = scene.Camera();
  const g3d_XForm::Point high = layout.ViewToDevice().Apply(view.CenterX() + view.HalfWidth(),
                                                            view.CenterY() + view.HalfHeight());
  EXPECT_TRUE(high.x <= left || high.y <= bottom) << high.x << ", " << high.y;
  settings = sesC_ViewAnnCTX();
}

// The defaults of the viewport settings: new viewports copy them, existing ones keep their own.
TEST_F(Scenes, DefaultAnnotationSettingsReachOnlyNewViewports) {
  smg_SceneManagerRole& role = smg_SceneManagerRole::Instance();
  const sesC_ViewAnnCTX saved = role.DefaultViewAnnCTX();
  sesC_ViewAnnCTX changed = saved;
  changed.legendExtremes = false;
  role.SetDefaultViewAnnCTX(changed, {1});
  EXPECT_TRUE(role.ConstGetViewAnnCTX(1).legendExtremes);
  EXPECT_FALSE(role.ConstGetViewAnnCTX(9).legendExtremes);
  role.SetDefaultViewAnnCTX(saved, {});
}

// A scene has its viewport's size from the start and follows it; a save at another size draws
// at that size and leaves the scene's size and its probe map as they were.
TEST_F(Scenes, AViewportKeepsItsSizeAndIdMapWhenSavedAtAnotherSize) {
  smg_SceneManagerRole& role = smg_SceneManagerRole::Instance();
  role.SetViewportSize(3, {640, 480});
  xypK_Scene& scene = Toolset().SceneManager().Scene(3);
  EXPECT_EQ(scene.Width(), 640.0f);
  EXPECT_EQ(scene.Height(), 480.0f);
  const xypK_XYPlotIntObj handle("user", 3);
  scene.SetXYPlotObject(&handle);
  role.SetTypeToDisplay(omu_DISPLAY_XYPLOT, 3, cow_String());
  scene.EnableProbe();
  scene.Map();
  const xmd_IdMap* map = xmd_VisMaps::Get(scene.ProbeMapId());
  ASSERT_NE(map, nullptr);
  EXPECT_EQ(map->Width(), 640);

  gdr_RecordingRenderer picture(200, 100);
  role.Draw(3, picture);
  double right = 0.0;
  for (const auto& record : picture.records)
    for (const gdr_Point& p : record.points) right = std::max(right, p.x);
  EXPECT_GT(right, 150.0);  // drawn across the picture's width ...
  EXPECT_LE(right, 200.0);  // ... and inside it
  EXPECT_EQ(scene.Width(), 640.0f);
  map = xmd_VisMaps::Get(scene.ProbeMapId());
  ASSERT_NE(map, nullptr);
  EXPECT_EQ(map->Width(), 640);
  EXPECT_EQ(map->Height(), 480);

  role.SetViewportSize(3, {300, 200});
  EXPECT_EQ(scene.Width(), 300.0f);
  EXPECT_EQ(xypK_XYToolset::Instance().SceneManager().FindScene(3)->Height(), 200.0f);
  role.SetViewportSize(3, {800, 600});
}

TEST_F(Scenes, AHighlightedPointIsRedInTheSavedPicture) {
  xypK_Scene& scene = Toolset().SceneManager().Scene(8);
  const xypK_XYPlotIntObj user("user", 8);
  scene.SetXYPlotObject(&user);
  scene.Map();
  scene.Resize(400, 300);
  scene.Highlight("c", 1, false);  // pair (10, 5), the curve's upper end
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("xyp_highlight_" + std::to_string(getpid()) + ".png"))
                               .string();
  gdr_ImageWriter::Save(cow_String(path), 400, 300, [&](gdr_Renderer& renderer) {
    scene.DraftCB(renderer);
    scene.SketchCB(renderer);
  });
  cairo_surface_t* image = cairo_image_surface_create_from_png(path.c_str());
  std::filesystem::remove(path);
  ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
  auto isRed = [&](const g3d_Point& p, int reach) {
    const unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    int count = 0;
    for (int dy = -reach; dy <= reach; ++dy)
      for (int dx = -reach; dx <= reach; ++dx) {
        const int col = static_cast<int>(p.x) + dx, row = 300 - 1 - static_cast<int>(p.y) + dy;
        const uint32_t argb = *reinterpret_cast<const uint32_t*>(data + row * stride + col * 4);
        count += ((argb >> 16) & 255) > 200 && ((argb >> 8) & 255) < 60 && (argb & 255) < 60;
      }
    return count > 0;
  };
  const xypK_XYPlot& plot = Toolset().ConstGetXYPlot("user");
  EXPECT_TRUE(isRed(OnScreen(scene, plot, 10.0f, 5.0f, 400, 300), 2));
  EXPECT_FALSE(isRed(OnScreen(scene, plot, 0.0f, 0.0f, 400, 300), 4));  // the other end
  EXPECT_FALSE(isRed(OnScreen(scene, plot, 5.0f, 2.5f, 400, 300), 4));  // the line between
  cairo_surface_destroy(image);
}
