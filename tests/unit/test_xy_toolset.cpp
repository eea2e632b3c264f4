// The XY toolset: carrying deleted, renamed and changed repository data into the plots that show
// it, the plot dictionary operations, default options and client notifications.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "xypK_Module.h"
#include "xypK_SceneManager.h"
#include "xypK_XYDataSessionCntr.h"
#include "xypK_XYToolset.h"
#include "xypK_XYToolsetClient.h"

namespace {

using Names = std::set<cow_String>;

class XYToolset : public ::testing::Test {
 protected:
  void SetUp() override {
    xypK_initialize(modules_);
    Toolset().GetXYPlotDictionary().Clear();
    Repository().Clear();
    Toolset().SceneManager().TakePendingPlots();
  }
  void TearDown() override {
    Toolset().GetXYPlotDictionary().Clear();
    Repository().Clear();
    xypK_finalize(modules_);
  }

  static xypK_XYToolset& Toolset() { return xypK_XYToolset::Instance(); }
  static xypK_XYDataSessionCntr& Repository() { return xypK_XYDataSessionCntr::Instance(); }

  static void Store(const char* name, std::vector<std::pair<float, float>> pairs,
                    int typeCode = 1) {
    udd_UserXYData data;
    data.SetName(name);
    data.SetTypeCode(typeCode);
    for (auto [x, y] : pairs) data.AppendPair(x, y);
    Repository().Insert(name, data);
  }
  // A plot of curves named after the repository data they show; `listed` are drawn.
  static void MakePlot(const char* plot, std::vector<std::pair<const char*, const char*>> curves,
                       std::vector<const char*> listed) {
    xypK_XYPlot p;
    for (auto [curveName, dataName] : curves) {
      xypK_Curve c(curveName);
      c.xyDataName = dataName;
      c.CalculateMinMax();
      p.curves.Insert(curveName, c);
    }
    for (const char* n : listed) p.curvesToPlot.Append(n);
    Toolset().GetXYPlotDictionary().Insert(plot, p);
  }
  static std::string CurvesOf(const char* plot) {
    std::string out;
    for (const cow_String& k : Toolset().ConstGetXYPlot(plot).curves.SortedKeys())
      out += k.Std() + " ";
    out += "|";
    const cow_1DArrayList<cow_String>& list = Toolset().ConstGetXYPlot(plot).curvesToPlot;
    for (std::size_t i = 0; i < list.Size(); ++i) out.append(1, ' ').append(list[i].Std());
    return out;
  }
  static Names Refreshed() { return Toolset().SceneManager().TakePendingPlots(); }

  int modules_ = 0;
};

TEST_F(XYToolset, DeleteXYDataRemovesCurvesAndRedrawsPlotsThatDrewThem) {
  Store("d1", {{0, 0}});
  Store("d2", {{1, 1}});
  MakePlot("P1", {{"a", "d1"}, {"b", "d2"}}, {"a", "b"});
  MakePlot("P2", {{"c", "d1"}, {"d", "d2"}}, {"d"});  // c shows d1 but is not drawn
  MakePlot("P3", {{"e", "d2"}}, {"e"});
  Repository().Remove("d1");
  Toolset().DeleteXYData("d1");
  EXPECT_EQ(CurvesOf("P1"), "b | b");
  EXPECT_EQ(CurvesOf("P2"), "d | d");
  EXPECT_EQ(CurvesOf("P3"), "e | e");
  EXPECT_EQ(Refreshed(), Names{"P1"});
  Toolset().DeleteXYData("unknown");
  Toolset().DeleteXYData("D2");  // names compare case-sensitively
  EXPECT_EQ(CurvesOf("P1"), "b | b");
  EXPECT_TRUE(Refreshed().empty());
}

TEST_F(XYToolset, RenameXYDataReplacesCurvesOfTheNewNameThenRepoints) {
  Store("old", {{0, 0}, {2, 2}});
  Store("new", {{5, 5}});
  MakePlot("P", {{"a", "old"}, {"b", "new"}}, {"a", "b"});
  MakePlot("Q", {{"c", "old"}}, {});
  MakePlot("R", {{"d", "new"}}, {});
  ASSERT_TRUE(Repository().Rename("old", "new"));
  Toolset().RenameXYData("old", "new");
  EXPECT_EQ(CurvesOf("P"), "a | a");
  EXPECT_EQ(Toolset().ConstGetXYPlot("P").curves.ConstGet("a").xyDataName, "new");
  EXPECT_EQ(Toolset().ConstGetXYPlot("Q").curves.ConstGet("c").xyDataName, "new");
  EXPECT_EQ(CurvesOf("R"), "|");  // removed, but it was not drawn: no redraw
  EXPECT_EQ(Refreshed(), Names{"P"});
}

TEST_F(XYToolset, RenamedLegendsFollowUnlessTheTypeCodeIsZero) {
  for (int typeCode : {0, 1, 7}) {
    SCOPED_TRACE(typeCode);
    Repository().Clear();
    Store("old", {{0, 0}}, typeCode);
    MakePlot("P", {{"a", "old"}, {"b", "old"}}, {"a"});
    xypK_XYPlot& p = Toolset().GetXYPlot("P");
    p.curves.Get("a").options.systemDefinedLegendText = "old";
    p.curves.Get("a").options.legendText = "old";
    p.curves.Get("b").options.legendText = "my old";
    ASSERT_TRUE(Repository().Rename("old", "new"));
    Toolset().RenameXYData("old", "new");
    const xypK_XYPlot& after = Toolset().ConstGetXYPlot("P");
    const char* follows = typeCode == 0 ? "old" : "new";
    EXPECT_EQ(after.curves.ConstGet("a").options.systemDefinedLegendText.Std(), follows);
    EXPECT_EQ(after.curves.ConstGet("a").options.legendText.Std(), follows);
    EXPECT_EQ(after.curves.ConstGet("b").options.legendText.Std(), "my old");
    EXPECT_EQ(after.curves.ConstGet("b").xyDataName, "new");
    EXPECT_EQ(Refreshed(), Names{"P"});
  }
}

TEST_F(XYToolset, UpdateXYDataRecomputesExtentsAndRedrawsPlotsThatDrawThem) {
  Store("d", {{0, 0}, {1, 1}});
  Store("other", {{0, 0}, {1, 1}});
  MakePlot("P", {{"a", "d"}}, {"a"});
  MakePlot("Q", {{"b", "d"}}, {});
  MakePlot("R", {{"c", "other"}}, {"c"});
  Store("d", {{-5, 2}, {7, 9}});
  Toolset().UpdateXYData("d");
  for (auto [plot, curve] : {std::pair{"P", "a"}, std::pair{"Q", "b"}}) {
    const xypK_Curve& c = Toolset().ConstGetXYPlot(plot).curves.ConstGet(curve);
    EXPECT_EQ(std::make_tuple(c.xMin, c.xMax, c.yMin, c.yMax),
              std::make_tuple(-5.f, 7.f, 2.f, 9.f));
  }
  EXPECT_EQ(Toolset().ConstGetXYPlot("R").curves.ConstGet("c").xMax, 1.0f);
  EXPECT_EQ(Refreshed(), Names{"P"});
}

TEST_F(XYToolset, CopyAndDeletePlots) {
  Store("d", {{0, 0}});
  MakePlot("P", {{"a", "d"}}, {"a"});
  MakePlot("Q", {{"q", "d"}}, {});
  Toolset().GetXYPlot("P").options.xAxisScale = xypC_LOG;
  EXPECT_TRUE(Toolset().CopyXYPlot("P", "Q"));  // replaces Q
  EXPECT_EQ(CurvesOf("Q"), "a | a");
  EXPECT_EQ(Toolset().ConstGetXYPlot("Q").options.xAxisScale, xypC_LOG);
  EXPECT_TRUE(Toolset().CopyXYPlot("P", "P"));
  EXPECT_EQ(CurvesOf("P"), "a | a");
  EXPECT_FALSE(Toolset().CopyXYPlot("missing", "Q"));
  EXPECT_FALSE(Toolset().IsXYPlot("missing"));
  EXPECT_EQ(CurvesOf("Q"), "a | a");
  EXPECT_EQ(Toolset().ConstGetXYPlotDictionary().Size(), 2u);
  EXPECT_TRUE(Refreshed().empty());

  EXPECT_TRUE(Toolset().DeleteXYPlot("Q"));
  EXPECT_FALSE(Toolset().IsXYPlot("Q"));
  EXPECT_EQ(Refreshed(), Names{"Q"});
  EXPECT_FALSE(Toolset().DeleteXYPlot("Q"));
  EXPECT_TRUE(Refreshed().empty());
  EXPECT_TRUE(Toolset().IsXYPlot("P"));
}

// Records what it hears; on activation it may unregister or register another client.
class Client : public xypK_XYToolsetClient {
 public:
  Client(const char* name, std::vector<std::string>& log) : name_(name), log_(log) {}
  void ActivateXYPlot(int viewport) override {
    log_.push_back(name_ + ":" + std::to_string(viewport));
    if (remove) xypK_XYToolset::Instance().RemoveClient(remove);
    if (add) xypK_XYToolset::Instance().AddClient(add);
    remove = add = nullptr;
  }
  void CleanupFromFile(const cow_String& fileName) override {
    log_.push_back(name_ + ":" + fileName.Std());
  }
  xypK_XYToolsetClient* remove = nullptr;
  xypK_XYToolsetClient* add = nullptr;

 private:
  std::string name_;
  std::vector<std::string>& log_;
};

TEST_F(XYToolset, ClientsHearEachNotificationOnce) {
  std::vector<std::string> log;
  auto* a = new Client("a", log);  // owned by the toolset once added
  auto* b = new Client("b", log);
  auto* c = new Client("c", log);
  Toolset().AddClient(a);
  Toolset().AddClient(a);
  Toolset().AddClient(b);
  Toolset().CleanupFromFile("f.odb");
  EXPECT_EQ(log, (std::vector<std::string>{"a:f.odb", "b:f.odb"}));

  // a unregisters b and registers c during the pass: b (now the test's) is not called again,
  // c only from the next pass on.
  log.clear();
  a->remove = b;
  a->add = c;
  Toolset().ActivateXYPlot(3);
  std::unique_ptr<Client> removed(b);
  EXPECT_EQ(log, (std::vector<std::string>{"a:3"}));
  log.clear();
  Toolset().ActivateXYPlot(4);
  EXPECT_EQ(log, (std::vector<std::string>{"a:4", "c:4"}));
}

}  // namespace
