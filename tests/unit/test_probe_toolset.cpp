// The probe toolset with a stand-in results-model client and the XY plot client, and the
// selected-values table: clients and tuple sizes, what a change of entity, position or results
// does, the records before their first use, the table's rows, deletions, sorts and undo, the
// XY client's answer for points on, between and past the pairs of a plot's curves, and the XY
// probe report written from the table.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cmdC_PrbException.h"
#include "cmdC_WIP.h"
#include "modC_MethodFactory.h"
#include "modC_ModeManager.h"
#include "prbK_CurrentProbeValues.h"
#include "prbK_ProbeReportUtils.h"
#include "prbK_ProbeToolset.h"
#include "prbK_SelectedProbeValues.h"
#include "qryK_QueryRegistrarRole.h"
#include "sesK_SessionState.h"
#include "smg_SceneManagerRole.h"
#include "uti_FileException.h"
#include "xypK_Module.h"
#include "xypK_ProbeToolsetClient.h"
#include "xypK_Scene.h"
#include "xypK_SceneManager.h"
#include "xypK_XYPlot.h"
#include "xypK_XYPlotEditor.h"
#include "xypK_XYPlotIntObj.h"
#include "xypK_XYToolset.h"

namespace {
// A results-model client as the application would register one: what it was asked is counted.
class ModelClient : public prbK_ProbeToolsetClient {
 public:
  ModelClient() : prbK_ProbeToolsetClient(prbK_ProbeToolset::kOdb) {}
  bool shown = true, results = true;
  std::vector<int> elementPositions{res_INTEGRATION_POINT, res_CENTROID};
  res_OutputPositionEnm told = res_UNKNOWN_POSITION;
  int releases = 0, updates = 0, clears = 0;

  bool DisplayOn() override { return shown; }
  void ReleaseMapId() override { ++releases; }
  void Refresh() override {}
  void UpdateScene() override { ++updates; }
  void DisableProbe() override {}
  void EnableProbe() override {}
  int Probe(const g3d_Point&) override { return 0; }
  void ClearHighlights() override { ++clears; }
  void ObjectName(cow_String& name) override { name = "beam.odb"; }
  void VariableLabel(cow_String& label) override { label = variable; }
  cow_String variable = "S, Mises";
  void StepFrameLabel(cow_String& step, cow_String& frame, cow_String& extra) override {
    step = "Impact";
    frame = "Frame 4, value 0.01";
    extra = cow_String();
  }
  const cow_1DArrayList<cow_String>& CategorySectionPointList() override {
    return categorySectionPoints_;
  }
  void SetOutputPosition(res_OutputPositionEnm position) override { told = position; }
  bool SetFieldModel() override { return results; }
  void ComputeAvailableOutputPositions(bool node) override {
    outputPositions_ = cow_1DArrayList<int>();
    if (node)
      outputPositions_.Append(res_NODAL);
    else
      for (int p : elementPositions) outputPositions_.Append(p);
  }
};

cow_1DArray<cow_String> Row(std::initializer_list<const char*> cells) {
  cow_1DArray<cow_String> row(cells.size());
  std::size_t i = 0;
  for (const char* c : cells) row.Set(i++, c);
  return row;
}

std::vector<std::string> Column(int column) {
  const prbK_SelectedProbeValues& t = prbK_SelectedProbeValues::Instance();
  std::vector<std::string> out;
  for (int r = 0; r < t.NumRows(); ++r) out.push_back(t.GetValue(r)[column].Std());
  return out;
}

std::vector<std::string> Titles(const cow_List<cow_String>& list) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < list.Size(); ++i) out.push_back(list[i].Std());
  return out;
}

xypK_Curve CurveOf(const char* name, std::initializer_list<std::pair<float, float>> pairs) {
  xypK_Curve curve(name);
  for (const auto& [x, y] : pairs) curve.xyData.AppendPair(x, y);
  curve.CalculateMinMax();
  curve.options.legendTextSource = xypC_USER_DEFINED;
  curve.options.legendText = cow_String("legend ") + name;
  return curve;
}

class Probing : public ::testing::Test {
 protected:
  void SetUp() override {
    xypK_initialize(modules_);
    model_ = new ModelClient;  // the toolset owns what is registered
    Toolset().AddClient(model_);
    queryKey_ = qryK_QueryRegistrarRole::Instance().AddListener(
        [this](const cow_String& q) { queries_.push_back(q.Std()); });
  }
  void TearDown() override {
    qryK_QueryRegistrarRole::Instance().RemoveListener(queryKey_);
    xypK_XYToolset::Instance().GetXYPlotDictionary().Clear();
    xypK_finalize(modules_);
  }
  static prbK_ProbeToolset& Toolset() { return prbK_ProbeToolset::Instance(); }
  static prbK_SelectedProbeValues& Table() { return prbK_SelectedProbeValues::Instance(); }

  // Shows a plot in viewport 1 (the current one) and lays it out at 400 x 300.
  xypK_Scene& Show(const xypK_XYPlot& plot) {
    xypK_XYToolset::Instance().GetXYPlotDictionary().Insert("probed", plot);
    smg_SceneManagerRole& role = smg_SceneManagerRole::Instance();
    role.SetCurrentViewport(1);
    role.SetTypeToDisplay(omu_DISPLAY_XYPLOT, 1, cow_String());
    xypK_Scene& scene = xypK_XYToolset::Instance().SceneManager().Scene(1);
    const xypK_XYPlotIntObj handle("probed", 1);
    scene.SetXYPlotObject(&handle);
    scene.Map();
    scene.EnableProbe();
    scene.Resize(400, 300);
    return scene;
  }

  // The viewport pixel of a data point (linear axes).
  static g3d_Point Pixel(const xypK_Scene& scene, float x, float y) {
    const xypK_XYPlot& plot = xypK_XYToolset::Instance().ConstGetXYPlot("probed");
    float x0, y0, x1, y1;
    EXPECT_TRUE(scene.Editor()->FrameBounds(x0, y0, x1, y1));
    const float u = x0 + (x1 - x0) * (x - plot.xAxisMin) / (plot.xAxisMax - plot.xAxisMin);
    const float v = y0 + (y1 - y0) * (y - plot.yAxisMin) / (plot.yAxisMax - plot.yAxisMin);
    const g3d_XForm::Point d = scene.ViewToDevice(400, 300).Apply(u, v);
    return {static_cast<float>(d.x), static_cast<float>(d.y), 0.0f};
  }

  // The cells probed at a point, or none.
  static std::vector<std::string> At(const xypK_Scene&, g3d_Point p) {
    cow_1DArray<cow_String> cells;
    const int id = Toolset().Probe(p);
    if (id == 0 || !Toolset().PrepareValue(cells, id, p)) return {};
    std::vector<std::string> out;
    for (const cow_String& c : cells) out.push_back(c.Std());
    return out;
  }

  int modules_ = 0;
  ModelClient* model_ = nullptr;
  int queryKey_ = 0;
  std::vector<std::string> queries_;
};
}  // namespace

TEST_F(Probing, ClientsSetTheTupleSizeAndTheTitles) {
  EXPECT_EQ(Toolset().TupleSize(), 1);
  EXPECT_EQ(Titles(Table().Header()), std::vector<std::string>{""});
  EXPECT_FALSE(Toolset().SetClient(7));
  EXPECT_EQ(Toolset().ProbeObject(), 0);

  ASSERT_TRUE(Toolset().SetClient(prbK_ProbeToolset::kOdb));
  EXPECT_EQ(Toolset().TupleSize(), 6);
  EXPECT_EQ(Table().BlockSize(), 6);
  EXPECT_EQ(prbK_CurrentProbeValues::Instance().GetValues().Size(), 6u);
  EXPECT_EQ(Titles(Table().Header()).back(), "S, Mises");  // the field output's own label
  EXPECT_EQ(Titles(Table().SortHeader()).back(), "S, Mises");
  EXPECT_EQ(model_->told, res_NODAL);
  EXPECT_EQ(queries_, std::vector<std::string>{"session.probeOptions"});

  // An object that is not shown: false, and the client stays current.
  model_->shown = false;
  EXPECT_FALSE(Toolset().SetClient(prbK_ProbeToolset::kOdb));
  EXPECT_EQ(Toolset().ProbeObject(), prbK_ProbeToolset::kOdb);
}

TEST_F(Probing, ANewEntityPositionOrFieldModelRenewsTheTables) {
  ASSERT_TRUE(Toolset().SetClient(prbK_ProbeToolset::kOdb));
  Table().AppendValues(Row({"PART-1-1", "7", "(0, 0, 0)", "(0, 0, 1)", "3", "12.5"}));
  Table().ClearValues({});  // something to undo
  prbC_ProbeOptionsCTX options = Toolset().ProbeOptions();
  options.probeEntity = prbC_ELEMENTS;
  options.probeOutputPosition = res_ELEMENT_FACE;  // not among the element's positions
  model_->results = false;
  queries_.clear();
  Toolset().SetProbeOptionsCTX(options);
  EXPECT_EQ(Toolset().TupleSize(), 5);
  EXPECT_EQ(Table().BlockSize(), 5);
  EXPECT_TRUE(Table().IsEmpty());
  EXPECT_FALSE(Table().CanUndo());  // rows of another width are never brought back
  EXPECT_EQ(Toolset().ProbeOptions().probeOutputPosition, res_INTEGRATION_POINT);
  EXPECT_EQ(model_->told, res_INTEGRATION_POINT);
  EXPECT_FALSE(Toolset().ProbeOptions().isFieldOutputAvailable);
  EXPECT_FALSE(Toolset().ProbeOptions().elementFieldResults);
  EXPECT_EQ(model_->releases, 1);
  EXPECT_EQ(model_->updates, 1);
  EXPECT_EQ(model_->clears, 1);
  EXPECT_EQ(queries_, std::vector<std::string>{"session.probeOptions"});

  // The same entity at another listed position: the tables renew, the map stays.
  options = Toolset().ProbeOptions();
  options.probeOutputPosition = res_CENTROID;
  Toolset().SetProbeOptionsCTX(options);
  EXPECT_EQ(model_->told, res_CENTROID);
  EXPECT_EQ(model_->releases, 1);
  // Back to nodes: the position is nodal whatever was asked.
  options.probeEntity = prbC_NODES;
  Toolset().SetProbeOptionsCTX(options);
  EXPECT_EQ(Toolset().ProbeOptions().probeOutputPosition, res_NODAL);
  EXPECT_EQ(Toolset().TupleSize(), 6);
}

TEST_F(Probing, RecordsShowTheirDefaultsUntilTheFirstUseAndTotalsNeedFieldOutput) {
  Toolset().DefaultProbeOptions().interpolateXy = true;
  Toolset().DefaultReportOptions().numDigits = 9;
  EXPECT_TRUE(Toolset().ProbeOptions().interpolateXy);  // not initialised: the defaults show
  EXPECT_EQ(Toolset().ReportOptions().numDigits, 9);
  ASSERT_TRUE(Toolset().SetClient(prbK_ProbeToolset::kOdb));
  Toolset().EnableProbe();
  Toolset().DefaultProbeOptions().interpolateXy = false;
  EXPECT_TRUE(Toolset().ProbeOptions().interpolateXy);  // copied in, now its own

  prbC_ProbeReportCTX report = Toolset().ReportOptions();
  report.printTotal = report.printMinMax = true;
  Toolset().SetProbeReportCTX(report);
  EXPECT_FALSE(Toolset().ReportOptions().printTotal || Toolset().ReportOptions().printMinMax);
  Table().AppendValues(Row({"PART-1-1", "7", "", "", "3", "12.5"}));
  EXPECT_EQ(Table().FieldOutputRow(), 1);
  Toolset().SetProbeReportCTX(report);
  EXPECT_TRUE(Toolset().ReportOptions().printTotal && Toolset().ReportOptions().printMinMax);
}

TEST_F(Probing, TheTableAppendsDeletesAndUndoesOneStep) {
  xypK_XYPlot plot;
  plot.curves.Insert("a", CurveOf("a", {{0, 0}, {1, 1}}));
  plot.curvesToPlot.Append("a");
  Show(plot);
  ASSERT_TRUE(Toolset().SetClient(prbK_ProbeToolset::kXyPlot));
  EXPECT_EQ(Titles(Table().Header()),
            (std::vector<std::string>{"Legend", "Sequence ID", "X", "Y"}));
  EXPECT_TRUE(Table().IsEmpty());
  EXPECT_EQ(Table().GetValue(0)[0], "");  // the blank row an empty table shows

  // A row with an empty legend is a row: the next one does not overwrite it.
  Table().AppendValues(Row({"", "1", "0", "0"}));
  Table().AppendValues(Row({"b", "2", "1", "1"}));
  Table().AppendValues(Row({"c", "3", "2", "2"}));
  EXPECT_EQ(Column(0), (std::vector<std::string>{"", "b", "c"}));
  Table().Undo();  // appending cannot be undone
  EXPECT_EQ(Table().NumRows(), 3);

  Table().ClearValues({2, 2, 9, -1});  // row 2 once; the others name no row
  EXPECT_EQ(Column(0), (std::vector<std::string>{"", "c"}));
  Table().Undo();
  EXPECT_EQ(Column(0), (std::vector<std::string>{"", "b", "c"}));
  Table().Undo();  // one step only
  EXPECT_EQ(Table().NumRows(), 3);
  Table().ClearValues({1, 2, 3});
  EXPECT_TRUE(Table().IsEmpty());
  Table().Undo();
  Table().ClearValues({});
  EXPECT_TRUE(Table().IsEmpty());
  Table().AppendValues(Row({"d", "1", "5", "5"}));
  EXPECT_EQ(Column(0), std::vector<std::string>{"d"});
  Table().Undo();  // the append ended what the clear could undo
  EXPECT_EQ(Column(0), std::vector<std::string>{"d"});
}

TEST_F(Probing, SortsAreStableNumbersByValueTextsBelowThem) {
  xypK_XYPlot plot;
  plot.curves.Insert("a", CurveOf("a", {{0, 0}, {1, 1}}));
  plot.curvesToPlot.Append("a");
  Show(plot);
  ASSERT_TRUE(Toolset().SetClient(prbK_ProbeToolset::kXyPlot));
  const std::vector<std::pair<const char*, const char*>> rows = {
      {"r1", "2"}, {"r2", "10"}, {"r3", "abc"}, {"r4", "2"}, {"r5", "9"}, {"r6", ""}};
  for (const auto& [legend, x] : rows) Table().AppendValues(Row({legend, "1", x, "0"}));
  Table().Sort("X", 0);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"r6", "r3", "r1", "r4", "r5", "r2"}));
  Table().Sort("X", 1);  // the reverse; equal keys still in their order
  EXPECT_EQ(Column(0), (std::vector<std::string>{"r2", "r5", "r1", "r4", "r3", "r6"}));
  Table().Undo();
  EXPECT_EQ(Column(0), (std::vector<std::string>{"r6", "r3", "r1", "r4", "r5", "r2"}));

  // A title that cannot be sorted by: a warning, nothing changes, nothing to undo.
  std::vector<std::string> warnings;
  static std::vector<std::string>* seen = nullptr;
  seen = &warnings;
  cmdC_WIP::SetListener([](const char* kind, const cow_String& text) {
    if (std::string(kind) == "Warning") seen->push_back(text.Std());
  });
  Table().Sort("Nothing", 0);
  cmdC_WIP::SetListener(nullptr);
  EXPECT_EQ(warnings.size(), 1u);
  EXPECT_FALSE(Table().CanUndo());
  EXPECT_EQ(Column(0), (std::vector<std::string>{"r6", "r3", "r1", "r4", "r5", "r2"}));
}

TEST_F(Probing, ResultsModelColumnsOfListsCannotBeSorted) {
  ASSERT_TRUE(Toolset().SetClient(prbK_ProbeToolset::kOdb));
  Table().AppendValues(Row({"PART-1-1", "7", "", "", "(3, 4)", "1.5, 2.5"}));
  Table().AppendValues(Row({"PART-1-1", "2", "", "", "3", "0.5"}));
  try {
    Table().Sort("S, Mises", 0);
    ADD_FAILURE() << "sorted a column of lists";
  } catch (const cmdC_PrbException& e) {
    EXPECT_EQ(e.Message(), "Sorting cannot be performed for the values in column S, Mises");
    EXPECT_EQ(e.Code(), 1);
  }
  EXPECT_EQ(Column(1), (std::vector<std::string>{"7", "2"}));
  EXPECT_FALSE(Table().CanUndo());
  Table().Sort("Node ID", 0);
  EXPECT_EQ(Column(1), (std::vector<std::string>{"2", "7"}));
}

TEST_F(Probing, TheXyClientAnswersWithTheNearestOrTheInterpolatedPoint) {
  // Curve "a" of 5 pairs, then "h" (hidden, 2 pairs: its id counts), a name without a curve,
  // a one-pair curve (no segment), then "b" of 3 pairs.
  xypK_XYPlot plot;
  plot.curves.Insert("a", CurveOf("a", {{0, 0}, {1, 2}, {2, 0}, {3, 2}, {4, 0}}));
  plot.curves.Insert("h", CurveOf("h", {{0, 9}, {4, 9}}));
  plot.curves.Insert("one", CurveOf("one", {{2, 5}}));
  plot.curves.Insert("b", CurveOf("b", {{0, 6}, {2, 6}, {2, 8}}));
  for (const char* name : {"a", "h", "missing", "one", "b"}) plot.curvesToPlot.Append(name);
  plot.curves.Get("h").options.showLine = false;
  xypK_Scene& scene = Show(plot);
  ASSERT_TRUE(Toolset().SetClient(prbK_ProbeToolset::kXyPlot));
  Toolset().EnableProbe();
  using V = std::vector<std::string>;
  // Near the end of a's last segment (pairs 4 and 5), and a third of the way along it.
  EXPECT_EQ(At(scene, Pixel(scene, 3.8f, 0.4f)), (V{"legend a", "5", "4", "0"}));
  EXPECT_EQ(At(scene, Pixel(scene, 3.3f, 1.4f)), (V{"legend a", "4", "3", "2"}));
  // Exactly halfway: the later pair.
  EXPECT_EQ(At(scene, Pixel(scene, 0.5f, 1.0f)), (V{"legend a", "2", "1", "2"}));
  // b's first segment comes after h's id; its vertical second segment interpolates to its x
  // and the cursor's y.
  EXPECT_EQ(At(scene, Pixel(scene, 0.4f, 6.0f)), (V{"legend b", "1", "0", "6"}));
  prbC_ProbeOptionsCTX options = Toolset().ProbeOptions();
  options.interpolateXy = true;
  Toolset().SetProbeOptionsCTX(options);
  const V vertical = At(scene, Pixel(scene, 2.0f, 7.0f));
  ASSERT_EQ(vertical.size(), 4u);
  EXPECT_EQ(vertical[1], "(2, 3)");
  EXPECT_NEAR(std::stod(vertical[2]), 2.0, 1e-3);
  EXPECT_NEAR(std::stod(vertical[3]), 7.0, 0.05);
  // Empty space, and an id the plot does not have.
  EXPECT_EQ(At(scene, Pixel(scene, 1.0f, 4.0f)), V{});
  cow_1DArray<cow_String> cells;
  EXPECT_FALSE(Toolset().PrepareValue(cells, 99, Pixel(scene, 1.0f, 1.0f)));
  // The highlighted scene is forgotten with its viewport.
  xypK_XYToolset::Instance().SceneManager().FreeScene(1);
  Toolset().ClearHighlights();
}

TEST_F(Probing, OnALogAxisPointsAreFoundWhereTheAxisDrawsThem) {
  xypK_XYPlot plot;
  plot.curves.Insert("a", CurveOf("a", {{1, 1}, {10, 10}, {100, 100}}));
  plot.curvesToPlot.Append("a");
  plot.options.xAxisScale = xypC_LOG;
  xypK_Scene& scene = Show(plot);
  ASSERT_TRUE(Toolset().SetClient(prbK_ProbeToolset::kXyPlot));
  const xypK_XYPlot& laidOut = xypK_XYToolset::Instance().ConstGetXYPlot("probed");
  // The pixel of (10, 10): x in log10 units on the axis.
  float x0, y0, x1, y1;
  ASSERT_TRUE(scene.Editor()->FrameBounds(x0, y0, x1, y1));
  const float u =
      x0 + (x1 - x0) * (1.0f - laidOut.xAxisMin) / (laidOut.xAxisMax - laidOut.xAxisMin);
  const float v =
      y0 + (y1 - y0) * (10.0f - laidOut.yAxisMin) / (laidOut.yAxisMax - laidOut.yAxisMin);
  const g3d_XForm::Point d = scene.ViewToDevice(400, 300).Apply(u, v);
  EXPECT_EQ(At(scene, {static_cast<float>(d.x), static_cast<float>(d.y), 0.0f}),
            (std::vector<std::string>{"legend a", "2", "10", "10"}));
}

namespace {
std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string TempPath(const char* name) {
  return (std::filesystem::temp_directory_path() /
          (std::string("xyp_probe_") + std::to_string(getpid()) + "_" + name))
      .string();
}

// The report without its date: the first two lines must be the title with a date.
std::string WithoutDate(const std::string& report) {
  const std::string stars(80, '*');
  EXPECT_EQ(report.substr(0, 81), stars + "\n");
  const std::string title = "Probe Values Report, written on ";
  EXPECT_EQ(report.substr(81, title.size()), title);
  const std::size_t end = report.find("\n\n", 81);  // the date line, then an empty line
  return end == std::string::npos ? report : report.substr(end + 2);
}
}  // namespace

TEST_F(Probing, AnXyReportIsWrittenByteForByteButTheDate) {
  xypK_XYPlot plot;
  plot.curves.Insert("a", CurveOf("a", {{0, 0}, {4, 6}}));
  plot.curvesToPlot.Append("a");
  Show(plot);
  ASSERT_TRUE(Toolset().SetClient(prbK_ProbeToolset::kXyPlot));
  Toolset().EnableProbe();
  const std::string path = TempPath("report.txt");
  Table().WriteToFile(path.c_str(), false);  // an empty table writes no file
  EXPECT_FALSE(std::filesystem::exists(path));

  Table().AppendValues(Row({"legend a", "5", "4", "0"}));
  Table().AppendValues(Row({"legend b", "1", "0", "6"}));
  prbC_ProbeReportCTX report = Toolset().ReportOptions();
  report.printTotal = report.printMinMax = true;
  Toolset().SetProbeReportCTX(report);
  Table().WriteToFile(path.c_str(), false);
  const std::string expected =
      "Source\n-------\n\n"
      "   XYPlot: probed\n"
      "        Legend   Sequence ID               X               Y\n"
      "-------------------------------------------------------------\n"
      "      legend a             5              4.              0.\n"
      "      legend b             1              0.              6.\n"
      "\n"
      "\n"
      "  Minimum                                 0.              0.\n"
      "   at Sequence                            1.              5.\n"
      "      in Curve                      legend b        legend a\n"
      "\n"
      "  Maximum                                 4.              6.\n"
      "   at Sequence                            5.              1.\n"
      "      in Curve                      legend a        legend b\n"
      "\n"
      "         Total                            4.              6.\n"
      "\n"
      "\n";
  const std::string first = ReadFile(path);
  EXPECT_EQ(WithoutDate(first), expected);

  // Appended: a second whole report after the first.
  Table().WriteToFile(path.c_str(), true);
  const std::string both = ReadFile(path);
  ASSERT_EQ(both.substr(0, first.size()), first);
  EXPECT_EQ(WithoutDate(both.substr(first.size())), expected);

  // Without footers the report ends with the rows and their closing empty lines.
  report.printTotal = report.printMinMax = false;
  Toolset().SetProbeReportCTX(report);
  Table().WriteToFile(path.c_str(), false);
  EXPECT_EQ(WithoutDate(ReadFile(path)), expected.substr(0, expected.find("  Minimum")));
  std::filesystem::remove(path);
}

TEST_F(Probing, ReportColumnsFollowTheDigitsAndTheLongestLegend) {
  xypK_XYPlot plot;
  plot.curves.Insert("a", CurveOf("a", {{0, 0}, {4, 6}}));
  plot.curvesToPlot.Append("a");
  Show(plot);
  ASSERT_TRUE(Toolset().SetClient(prbK_ProbeToolset::kXyPlot));
  Toolset().EnableProbe();
  const std::string path = TempPath("widths.txt");
  struct Case {
    const char* legend;
    int digits, legendWidth, valueWidth;
  };
  for (const prbC_FormatEnm format : {prbC_AUTOMATIC, prbC_SCIENTIFIC})
    for (const Case& c : {Case{"a", 0, 12, 8}, Case{"a", 2, 12, 10}, Case{"a", 12, 12, 15},
                          Case{"a", 200, 12, 15}, Case{"twenty characters...", 6, 20, 14}}) {
      Table().ClearValues({});
      Table().AppendValues(Row({c.legend, "1", "1.25", "-3"}));
      prbC_ProbeReportCTX report = Toolset().ReportOptions();
      report.numDigits = c.digits;
      report.numFormat = format;
      Toolset().SetProbeReportCTX(report);
      Table().WriteToFile(path.c_str(), false);
      std::istringstream lines(WithoutDate(ReadFile(path)));
      std::string line, title, dashes;
      while (std::getline(lines, line) && line.find("Legend") == std::string::npos) {
      }
      title = line;
      std::getline(lines, dashes);
      // Four cells, each two blanks and its width; the dash line is one longer.
      const std::size_t width = 2 + c.legendWidth + 2 + 12 + 2 * (2 + c.valueWidth);
      EXPECT_EQ(title.size(), width) << c.digits << " " << c.legend << " format " << format;
      EXPECT_EQ(dashes, std::string(width + 1, '-')) << c.digits << " " << c.legend;
      // The row's value cells in that form, right-aligned in the value width (or whole when
      // longer).
      std::string row;
      std::getline(lines, row);
      const std::string x = prbK_ProbeReportUtils::Format(1.25f, format, c.digits).Std();
      const std::string trimmed = x.substr(x.find_first_not_of(' '));
      EXPECT_NE(row.find(trimmed), std::string::npos) << row;
    }
  std::filesystem::remove(path);
}

TEST_F(Probing, AReportFileThatCannotBeWrittenIsReportedAndLeavesNothing) {
  xypK_XYPlot plot;
  plot.curves.Insert("a", CurveOf("a", {{0, 0}, {4, 6}}));
  plot.curvesToPlot.Append("a");
  Show(plot);
  ASSERT_TRUE(Toolset().SetClient(prbK_ProbeToolset::kXyPlot));
  Table().AppendValues(Row({"legend a", "1", "0", "0"}));
  static std::vector<std::string>* errors = nullptr;
  std::vector<std::string> seen;
  errors = &seen;
  cmdC_WIP::SetListener([](const char* kind, const cow_String& text) {
    if (std::string(kind) == "Error") errors->push_back(text.Std());
  });
  const std::string missing = TempPath("no/such/folder/report.txt");
  Table().WriteToFile(missing.c_str(), false);
  cmdC_WIP::SetListener(nullptr);
  EXPECT_EQ(seen, std::vector<std::string>{missing + ": could not be opened (may be locked by "
                                                     "another application)."});
  EXPECT_FALSE(std::filesystem::exists(missing));
  try {
    Table().WriteToFile("/dev/full", false);
    ADD_FAILURE() << "a full device took the report";
  } catch (const uti_FileException& e) {
    EXPECT_EQ(e.Errno(), ENOSPC);
  }
}

TEST_F(Probing, TheProbeModeSuspendsResumesAndLeavesProbingOff) {
  xypK_XYPlot plot;
  plot.curves.Insert("a", CurveOf("a", {{0, 0}, {4, 6}}));
  plot.curvesToPlot.Append("a");
  xypK_Scene& scene = Show(plot);
  sesK_SessionState::Instance().SetType(1, omu_DISPLAY_XYPLOT);
  modC_ModeManager& modes = modC_ModeManager::Instance();
  modes.Enter("prb", "prbK_ProbeProc", 1);
  ASSERT_NE(modes.Running(), nullptr);
  EXPECT_EQ(modes.Running()->Name(), "prbK_ProbeProc");
  modC_MethodFactory& methods = modC_MethodFactory::Instance();
  ASSERT_NE(methods.ActiveCursorMethod(1), nullptr);
  EXPECT_NE(methods.ActiveFormMethod("prbG_ProbeForm"), nullptr);
  EXPECT_EQ(smg_SceneManagerRole::Instance().Cursor(), 2);
  EXPECT_NE(scene.ProbeMapId(), 0);

  // Another mode in front: nothing takes input, nothing is probed.
  modes.Suspend();
  EXPECT_EQ(methods.ActiveCursorMethod(1), nullptr);
  EXPECT_EQ(methods.ActiveFormMethod("prbG_ProbeForm"), nullptr);
  EXPECT_FALSE(scene.IsProbeEnabled());
  EXPECT_EQ(scene.ProbeMapId(), 0);
  EXPECT_EQ(smg_SceneManagerRole::Instance().Cursor(), -1);
  modes.Resume();
  ASSERT_NE(methods.ActiveCursorMethod(1), nullptr);
  EXPECT_TRUE(scene.IsProbeEnabled());
  EXPECT_NE(scene.ProbeMapId(), 0);

  // A click on the curve appends a row; leaving empties the table and stops probing, so a
  // later change to the plot fills no map.
  methods.ActiveCursorMethod(1)->Click(Pixel(scene, 2.0f, 3.0f));
  EXPECT_EQ(Table().NumRows(), 1);
  modes.Leave();
  EXPECT_EQ(modes.Running(), nullptr);
  EXPECT_TRUE(Table().IsEmpty());
  EXPECT_FALSE(scene.IsProbeEnabled());
  scene.UpdateScene();
  EXPECT_EQ(scene.ProbeMapId(), 0);
  EXPECT_EQ(methods.ActiveCursorMethod(1), nullptr);
}

namespace {
// Two blanks, then the text right- or left-aligned in `width` columns (longer texts whole).
std::string R(const std::string& text, std::size_t width) {
  return "  " + (text.size() < width ? std::string(width - text.size(), ' ') : "") + text;
}
std::string L(const std::string& text, std::size_t width) {
  return "  " + text + (text.size() < width ? std::string(width - text.size(), ' ') : "");
}
std::string Blank(std::size_t width) {
  return R("", width);
}
}  // namespace

// A results model's rows as the probe step fills them: report options of 2 digits in the
// scientific form, so every value column is 10 wide and a number reads " 1.5E+00".
class ModelReports : public Probing {
 protected:
  void Use(prbC_ProbeEntityEnm entity, res_OutputPositionEnm position) {
    model_->variable = entity == prbC_NODES ? "U2" : "S11";
    model_->elementPositions = {position};
    ASSERT_TRUE(Toolset().SetClient(prbK_ProbeToolset::kOdb));
    Toolset().EnableProbe();
    prbC_ProbeOptionsCTX options = Toolset().ProbeOptions();
    options.probeEntity = entity;
    options.probeOutputPosition = position;
    Toolset().SetProbeOptionsCTX(options);
    ASSERT_EQ(Toolset().ProbeOptions().probeOutputPosition, position);
  }
  void Report(prbC_PageWidthEnm page, bool footers) {
    prbC_ProbeReportCTX report = Toolset().ReportOptions();
    report.numDigits = 2;
    report.numFormat = prbC_SCIENTIFIC;
    report.pageWidth = page;
    report.numColumns = 80;
    report.printTotal = report.printMinMax = footers;
    Toolset().SetProbeReportCTX(report);
  }
  std::string Written() {
    const std::string path = TempPath("model_report.txt");
    Table().WriteToFile(path.c_str(), false);
    const std::string text = WithoutDate(ReadFile(path));
    std::filesystem::remove(path);
    return text;
  }
  static std::string Source() {
    return "Source\n-------\n\n   ODB: beam.odb\n   Step: Impact\n   Frame: Frame 4, value "
           "0.01\n\n";
  }
};

TEST_F(ModelReports, ElementsConnectivityBlockThenAValueALineAndFootersWithoutNoValue) {
  Use(prbC_ELEMENTS, res_INTEGRATION_POINT);
  // Pieces after ", " are read trimmed: every value is a number cell.
  Table().AppendValues(Row({"PLATE", "1", "S4R", "1, 2, 8, 7", "1.5, 2.5, NoValue, -4"}));
  Table().AppendValues(Row({"PLATE", "2", "S4R", "2, 3, 9, 8", "3 Complex: 1"}));
  Report(prbC_SPECIFY, true);
  const std::string ids = R("PLATE", 10), dashes = std::string(73, '-') + "\n";
  const std::string empty3 = Blank(10) + Blank(10) + Blank(10);
  std::string expected = Source() + "\n" + "Probe values reported at integration points\n\n";
  // 80 columns: three node labels a line, the line 36 + 3 x 12 + 1 wide.
  expected += R("Part Instance", 10) + R("Element ID", 10) + R("Type", 10) + R("Connectivity", 10) +
              "\n" + dashes;
  expected += ids + R("1", 10) + R("S4R", 10) + R("1", 10) + R("2", 10) + R("8", 10) + "\n" +
              empty3 + R("7", 10) + "\n";
  expected += ids + R("2", 10) + R("S4R", 10) + R("2", 10) + R("3", 10) + R("9", 10) + "\n" +
              empty3 + R("8", 10) + "\n\n\n";
  expected += R("Part Instance", 10) + R("Element ID", 10) + R("Type", 10) + R("Int. Pt.", 10) +
              R("S11", 10) + "\n" + dashes;
  const std::string one = ids + R("1", 10) + R("S4R", 10);
  expected += one + R("1", 10) + R("1.5E+00", 10) + "\n" + one + R("2", 10) + R("2.5E+00", 10) +
              "\n" + one + R("3", 10) + R("NoValue", 10) + "\n" + one + R("4", 10) +
              R("-4.0E+00", 10) + "\n" + ids + R("2", 10) + R("S4R", 10) + R("1", 10) +
              R("3.0E+00", 10) + "\n\n\n";
  // The extremes name the value's number, element and instance; the total is 1.5 + 2.5 - 4 + 3.
  const std::string in = R("in Part Instance", 10) + Blank(10) + Blank(10) + R("PLATE", 10) + "\n";
  expected += L("Minimum", 10) + Blank(10) + Blank(10) + R("4.0E+00", 10) + R("-4.0E+00", 10) +
              "\n" + R("at Element", 10) + Blank(10) + Blank(10) + R("1.0E+00", 10) + "\n" + in +
              "\n";
  expected += L("Maximum", 10) + Blank(10) + Blank(10) + R("1.0E+00", 10) + R("3.0E+00", 10) +
              "\n" + R("at Element", 10) + Blank(10) + Blank(10) + R("2.0E+00", 10) + "\n" + in +
              "\n";
  expected += R("Total", 10) + Blank(10) + Blank(10) + Blank(10) + R("3.0E+00", 10) + "\n\n\n";
  EXPECT_EQ(Written(), expected);
}

TEST_F(ModelReports, WholeElementValuesHaveNoSequenceAndAnUnlimitedPageOneLine) {
  Use(prbC_ELEMENTS, res_WHOLE_ELEMENT);
  Table().AppendValues(Row({"PLATE", "1", "C3D8", "1, 2, 3, 4, 5, 6, 7, 8", "7.5"}));
  Table().AppendValues(Row({"PLATE", "2", "C3D8", "", ""}));  // no field: a model row only
  Report(prbC_NO_LIMIT, false);
  const std::string dashes = std::string(36 + 12 * 27 + 1, '-') + "\n";
  std::string expected = Source() + "\n" + "Probe values reported for whole elements\n\n";
  expected += R("Part Instance", 10) + R("Element ID", 10) + R("Type", 10) + R("Connectivity", 10) +
              "\n" + dashes + R("PLATE", 10) + R("1", 10) + R("C3D8", 10);
  for (const char* n : {"1", "2", "3", "4", "5", "6", "7", "8"}) expected += R(n, 10);
  expected += "\n";  // appended apart: GCC 12 -O3 misreads "text" + std::string (-Wrestrict)
  expected += R("PLATE", 10) + R("2", 10) + R("C3D8", 10) + R("", 10) + "\n\n\n";
  expected += R("Part Instance", 10) + R("Element ID", 10) + R("Type", 10) + R("S11", 10) + "\n" +
              dashes + R("PLATE", 10) + R("1", 10) + R("C3D8", 10) + R("7.5E+00", 10) + "\n\n\n";
  EXPECT_EQ(Written(), expected);
}

TEST_F(ModelReports, NodesInOneBlockOrTwoAndAValuePerAttachedElement) {
  Use(prbC_NODES, res_NODAL);
  Table().AppendValues(Row({"PLATE", "7", "(10, 0, 0)", "(10, 0, 0)", "(1, 2)", "0.5"}));
  Table().AppendValues(Row({"PLATE", "8", "(20, 0, 0)", "", "3", "NoValue"}));
  Report(prbC_NO_LIMIT, true);
  const std::string ids7 = R("PLATE", 10) + R("7", 10), ids8 = R("PLATE", 10) + R("8", 10);
  auto xyz = [](const char* x) { return R(x, 10) + R("0.0E+00", 10) + R("0.0E+00", 10); };
  const std::string original =
                        "  " + std::string(7, ' ') + "Original Coordinates" + std::string(7, ' '),
                    deformed =
                        "  " + std::string(7, ' ') + "Deformed Coordinates" + std::string(7, ' '),
                    axes = L("     X", 10) + L("     Y", 10) + L("     Z", 10);  // centred
  const std::string head = R("Part Instance", 10) + R("Node ID", 10);
  const std::string field = head + R("Elements", 10) + R("U2", 10) + "\n" +
                            std::string(15 + 12 * 3 + 1, '-') + "\n" + ids7 + R("1", 10) +
                            R("5.0E-01", 10) + "\n" + ids7 + R("2", 10) + R("5.0E-01", 10) + "\n" +
                            ids8 + R("3", 10) + R("NoValue", 10) + "\n\n\n";
  // 0.5 is counted once although two elements show it; NoValue counts nowhere.
  const std::string in = R("in Part Instance", 10) + Blank(10) + R("PLATE", 10) + "\n";
  const std::string footers =
      L("Minimum", 10) + Blank(10) + R("1.0E+00", 10) + R("5.0E-01", 10) + "\n" + R("at Node", 10) +
      Blank(10) + R("7.0E+00", 10) + "\n" + in + "\n" + L("Maximum", 10) + Blank(10) +
      R("1.0E+00", 10) + R("5.0E-01", 10) + "\n" + R("at Node", 10) + Blank(10) + R("7.0E+00", 10) +
      "\n" + in + "\n" + R("Total", 10) + Blank(10) + Blank(10) + R("5.0E-01", 10) + "\n\n\n";
  const std::string preamble = Source() + "Probe values reported at nodes\n\n";
  // No page limit: both sets side by side, 25 + 6 x 12 wide.
  std::string one = preamble + head + original + deformed + "\n" + std::string(24, ' ') + axes +
                    axes + "\n" + std::string(97, '-') + "\n" + ids7 + xyz("1.0E+01") +
                    xyz("1.0E+01") + "\n" + ids8 + xyz("2.0E+01") + R("", 10) + R("", 10) +
                    R("", 10) + "\n\n\n" + field + footers;
  EXPECT_EQ(Written(), one);
  // 80 columns hold one set: a block for each.
  Report(prbC_SPECIFY, true);
  const std::string rule = std::string(61, '-') + "\n", under = std::string(24, ' ') + axes + "\n";
  std::string two = preamble + head + original + "\n" + under + rule + ids7 + xyz("1.0E+01") +
                    "\n" + ids8 + xyz("2.0E+01") + "\n\n\n" + head + deformed + "\n" + under +
                    rule + ids7 + xyz("1.0E+01") + "\n" + ids8 + R("", 10) + R("", 10) + R("", 10) +
                    "\n\n\n" + field + footers;
  EXPECT_EQ(Written(), two);
}
