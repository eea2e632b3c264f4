// The application services the plot objects call: named queries, the mode-factory registry,
// viewport names and the session state the options object updates.
#include <gtest/gtest.h>

#include <vector>

#include "mmgK_ModeFactory.h"
#include "omu_Arguments.h"
#include "omu_PrimNumber.h"
#include "qryK_QueryRegistrarRole.h"
#include "sesC_PostIdMap.h"
#include "sesK_SessionState.h"
#include "uti_XypException.h"
#include "xypK_Module.h"
#include "xypK_SceneManager.h"
#include "xypK_XYPlotOptionsIntObj.h"
#include "xypK_XYToolset.h"

TEST(QueryRegistrar, ListenersHearQueriesOverASnapshot) {
  qryK_QueryRegistrarRole& registrar = qryK_QueryRegistrarRole::Instance();
  std::vector<std::string> heard;
  int second = 0;
  int late = 0;
  const int first = registrar.AddListener([&](const cow_String& q) {
    heard.push_back("first:" + q.Std());
    registrar.RemoveListener(second);  // removed during the pass: not called in it
    late =
        registrar.AddListener([&](const cow_String& q2) { heard.push_back("late:" + q2.Std()); });
  });
  second =
      registrar.AddListener([&](const cow_String& q) { heard.push_back("second:" + q.Std()); });

  registrar.FireQuery("session.xyPlots.p.xyPlotOptions");
  EXPECT_EQ(heard, (std::vector<std::string>{"first:session.xyPlots.p.xyPlotOptions"}));

  heard.clear();
  registrar.RemoveListener(first);
  registrar.FireQuery("q");
  EXPECT_EQ(heard, (std::vector<std::string>{"late:q"}));
  registrar.RemoveListener(late);
  registrar.RemoveListener(late);  // removing twice is harmless
  heard.clear();
  registrar.FireQuery("q");
  EXPECT_TRUE(heard.empty());
  qryK_QueryRegistrarRole::Finalize();
}

TEST(ViewportNames, PostIdMapNamesRegisteredViewportsOnly) {
  EXPECT_EQ(sesC_PostIdMap::GetPostName(1), "Viewport: 1");
  EXPECT_EQ(sesC_PostIdMap::GetPostName(-1), "");
  sesC_PostIdMap::Instance().Register(12);
  EXPECT_EQ(sesC_PostIdMap::GetPostId("Viewport: 12"), 12);
  sesC_PostIdMap::Instance().Unregister(12);
  EXPECT_EQ(sesC_PostIdMap::GetPostName(12), "");
  EXPECT_EQ(sesC_PostIdMap::GetPostId("Viewport: 12"), -1);
  sesC_PostIdMap::Finalize();
}

class PlotServicesTest : public ::testing::Test {
 protected:
  void SetUp() override { xypK_initialize(modules_); }
  void TearDown() override { xypK_finalize(modules_); }
  int modules_ = 0;
};

TEST_F(PlotServicesTest, ModeFactoryIsRegisteredWhileTheModuleIsUp) {
  mmgK_ModeFactory* factory = mmgK_ModeFactory::Find("xyp");
  ASSERT_NE(factory, nullptr);
  EXPECT_EQ(factory->MakeProcedure("anything"), nullptr);
  EXPECT_EQ(factory->MakeProcedure(""), nullptr);
  int count = 0;
  xypK_finalize(modules_);
  EXPECT_EQ(mmgK_ModeFactory::Find("xyp"), nullptr);
  xypK_initialize(count);
  modules_ = count;
  EXPECT_NE(mmgK_ModeFactory::Find("xyp"), nullptr);
}

TEST_F(PlotServicesTest, FirstSuccessfulOptionsChangeMakesThePlotCurrent) {
  sesK_SessionState& state = sesK_SessionState::Instance();
  state.SetXYPlotName("");
  xypK_XYToolset& toolset = xypK_XYToolset::Instance();
  toolset.GetXYPlotDictionary().Insert("first", xypK_XYPlot());
  toolset.GetXYPlotDictionary().Insert("second", xypK_XYPlot());

  omu_Arguments refused("setValues");
  refused.AddKeyword("xAxisLabelFrequency", std::make_unique<omu_PrimNumber>(-1));
  EXPECT_THROW(xypK_XYPlotOptionsIntObj("first").SetAttributes(refused), uti_XypException);
  EXPECT_EQ(state.GetXYPlotName(), "");  // a refused change makes no plot current

  omu_Arguments none("setValues");
  xypK_XYPlotOptionsIntObj("first").SetAttributes(none);
  EXPECT_EQ(state.GetXYPlotName(), "first");
  omu_Arguments again("setValues");
  xypK_XYPlotOptionsIntObj("second").SetAttributes(again);
  EXPECT_EQ(state.GetXYPlotName(), "first");  // only set while there is none
  EXPECT_TRUE(toolset.SceneManager().HasPendingRefresh("second"));
  toolset.GetXYPlotDictionary().Clear();
}
