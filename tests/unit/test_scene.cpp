// Scenes of viewports: a new viewport's copy of the plot shown beside it, views saved per plot,
// and freeing a viewport's scene, which deletes only the plot the viewport owned.
#include <gtest/gtest.h>

#include "sesK_SessionState.h"
#include "smg_SceneManagerRole.h"
#include "xypC_Utils.h"
#include "xypK_Module.h"
#include "xypK_Scene.h"
#include "xypK_SceneManager.h"
#include "xypK_XYPlot.h"
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
  scene.UpdateScene();
  EXPECT_TRUE(Toolset().ConstGetXYPlot("user").valid);
  Toolset().GetXYPlot("user").options.xAxisLabelFrequency = -1;
  EXPECT_THROW(scene.UpdateScene(), std::exception);
  EXPECT_FALSE(Toolset().ConstGetXYPlot("user").valid);
  // The manager's refresh swallows the failure: the plot stays invalid until it can be drawn.
  Toolset().SceneManager().RefreshPlot("user");
  EXPECT_FALSE(Toolset().ConstGetXYPlot("user").valid);
  Toolset().GetXYPlot("user").options.xAxisLabelFrequency = 1;
  Toolset().SceneManager().RefreshPlot("user");
  EXPECT_TRUE(Toolset().ConstGetXYPlot("user").valid);
}
