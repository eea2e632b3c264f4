// XY data from the history output of a results file: step selection, offsets and the boundary
// point, skips, complex forms, texts, and the catalogue errors.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "cmdC_WIP.h"
#include "ddr_Root.h"
#include "oda_OdbIntObj.h"
#include "odb_Writer.h"
#include "omu_PrimEnumBase.h"
#include "omu_PrimNumber.h"
#include "omu_PrimString.h"
#include "omu_PrimTuple.h"
#include "omu_PrimType.h"
#include "omu_ValueErrorException.h"
#include "thr_ThreadSingleton.h"
#include "uti_XypException.h"
#include "xypK_Module.h"
#include "xypK_ReadData.h"

#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

namespace fs = std::filesystem;
using Pairs = std::vector<std::pair<float, float>>;

const cow_String kU2 = "Displacement: U2 at Node 12";
const cow_String kDotted = "Dotted: A:B for Whole Model";

// Steps "Load" (time 0), "Hold" (time 1, longer), "Again" (time 2.5, shorter, its first frame
// repeating the last stored pair), "Sweep" (frequency, complex), "Long" (time, 40,000 frames,
// more than two of the blocks the reader reads at a time; frame i holds (i, i)).
class HistoryData : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("xyp-history-" + std::to_string(getpid()));
    fs::create_directories(folder_);
    path_ = (folder_ / "r.h5").string();
    odb_Writer w(path_);
    w.AddInstance("PLATE", {12, 13}, {0, 0, 0, 1, 0, 0});
    const odb_Writer::HistoryPoint u{"U2", "Displacement", res_NODAL, "", 12};
    const odb_Writer::HistoryPoint dotted{"A.B", "Dotted", res_WHOLE_MODEL};
    const odb_Writer::HistoryPoint other{"U1", "Displacement", res_NODAL, "", 13};
    const int load = w.AddStep("Load", res_TIME, 0);
    w.AddHistory(load, u, {0, 0.5, 1.0}, {0, 1, 2}, false, false);
    w.AddHistory(load, dotted, {0, 0.5, 1.0}, {0.1, 0.2, 0.3}, false, true);
    const int hold = w.AddStep("Hold", res_TIME, 1.0);
    w.AddHistory(hold, u, {0, 0.5, 1.0, 1.5}, {2, 3, 4, 5}, false, false);
    const int again = w.AddStep("Again", res_TIME, 2.5);
    w.AddHistory(again, u, {2.5, 3.0}, {5, 6}, false, false);
    const int sweep = w.AddStep("Sweep", res_FREQUENCY, 0);
    w.AddHistory(sweep, u, {10, 20, 30, 40, 50}, {3, 4, 0, 2, 0, -2, 0, 0, -1, 0}, true, false);
    w.AddHistory(sweep, other, {10}, {1, 1}, true, false);
    const int longStep = w.AddStep("Long", res_TIME, 0);
    std::vector<double> x(40000), values(40000);
    for (std::size_t i = 0; i < x.size(); ++i) x[i] = values[i] = static_cast<double>(i);
    w.AddHistory(longStep, {"E", "Energy", res_WHOLE_MODEL}, x, values, false, false);
    w.Close();
    xypK_initialize(modules_);
    odb_Odb& odb = thr_ThreadSingleton<ddr_Root>::Instance().Open(cow_String(path_));
    odb_ = std::make_shared<oda_OdbIntObj>(odb.Path(), odb.Generation());
  }
  void TearDown() override {
    thr_ThreadSingleton<ddr_Root>::Instance().CloseAll();
    xypK_finalize(modules_);
    fs::remove_all(folder_);
  }

  // Arguments of a call; `steps` holds names or 1-based numbers.
  struct Call {
    cow_String variable = kU2;
    std::vector<std::string> names;
    std::vector<int> numbers;
    int skip = 0;
    int form = -1;
    double angle = 0;
    bool withOdb = true;
    cow_String yLabel;
  };
  std::unique_ptr<udd_UserXYData> Extract(const Call& c, bool legendFlag = false) {
    omu_Arguments args("XYDataFromHistory");
    args.AddKeyword("name", std::make_unique<omu_PrimString>(" h "));
    if (c.withOdb) args.AddKeyword("odb", std::make_unique<omu_PrimType>(odb_));
    args.AddKeyword("outputVariableName", std::make_unique<omu_PrimString>(c.variable));
    auto steps = std::make_unique<omu_PrimTuple>();
    for (const std::string& n : c.names) steps->Append(std::make_unique<omu_PrimString>(n));
    for (int n : c.numbers) steps->Append(std::make_unique<omu_PrimNumber>(n));
    args.AddKeyword("steps", std::move(steps));
    args.AddKeyword("skipFrequency", std::make_unique<omu_PrimNumber>(c.skip));
    if (c.form >= 0)
      args.AddKeyword("numericForm", std::make_unique<omu_PrimEnum<res_ComplexDisplayEnm>>(
                                         static_cast<res_ComplexDisplayEnm>(c.form)));
    args.AddKeyword("complexAngle", std::make_unique<omu_PrimNumber>(c.angle));
    if (!c.yLabel.IsEmpty())
      args.AddKeyword("yValuesLabel", std::make_unique<omu_PrimString>(c.yLabel));
    return xypK_ReadData::FromHistory(args, legendFlag);
  }
  // "text|code|detail1|detail2" of the catalogue error a call raises.
  std::string Refusal(const Call& c) {
    try {
      Extract(c);
    } catch (const uti_XypException& e) {
      return e.Message().Std() + "|" + std::to_string(e.Code()) + "|" + e.Detail1().Std() + "|" +
             e.Detail2().Std();
    }
    return "";
  }
  static Pairs PairsOf(const udd_UserXYData& r) {
    Pairs out;
    for (std::size_t i = 0; i < r.Pairs().Size(); ++i)
      out.emplace_back(r.Pairs()[i].x, r.Pairs()[i].y);
    return out;
  }

  fs::path folder_;
  std::string path_;
  int modules_ = 0;
  std::shared_ptr<oda_OdbIntObj> odb_;
};

std::vector<std::string> lines;
void RecordLine(const char* kind, const cow_String& text) {
  lines.push_back(std::string(kind) + ": " + text.Std());
}

TEST_F(HistoryData, StepsOffsetsBoundaryPointsAndTexts) {
  lines.clear();
  cmdC_WIP::SetListener(&RecordLine);
  // Requested out of order and twice: read once each, in file order.
  Call c;
  c.names = {"Again", "Load"};
  c.numbers = {2, 1};
  const auto r = Extract(c);
  cmdC_WIP::SetListener(nullptr);
  // The boundary point between Load and Hold stays twice (Hold's time[0] is 0, not 1); Again's
  // first frame repeats the last pair (2.5, 5) and is dropped.
  EXPECT_EQ(PairsOf(*r),
            (Pairs{{0, 0}, {0.5f, 1}, {1, 2}, {1, 2}, {1.5f, 3}, {2, 4}, {2.5f, 5}, {5.5f, 6}}));
  EXPECT_EQ(r->Name(), "h");
  EXPECT_EQ(r->TypeCode(), udd_UserXYData::kHistoryData);
  EXPECT_EQ(r->FileName(), odb_->RealPath());
  EXPECT_EQ(r->SourceDescription(), "Displacement");
  EXPECT_EQ(r->ContentDescription(), "U2");
  EXPECT_EQ(r->PositionDescription(), "at Node 12");
  EXPECT_EQ(r->XAxisLabel(), "Time");
  EXPECT_EQ(r->YAxisLabel(), "U2 at Node 12");
  EXPECT_EQ(r->LegendLabel(), "h");
  EXPECT_EQ(lines, (std::vector<std::string>{": Retrieving history data from odb..."}));
  EXPECT_EQ(Extract(c, true)->LegendLabel(), "U2 N: 12");  // the temporary command's legend

  // A dotted label stands with ":" in the history label; doubles are narrowed to floats.
  c = Call{kDotted, {"Load"}};
  const auto d = Extract(c);
  EXPECT_EQ(d->PositionDescription(), "for Whole Model");
  EXPECT_EQ(d->ContentDescription(), "A.B");
  EXPECT_EQ(PairsOf(*d), (Pairs{{0, 0.1f}, {0.5f, 0.2f}, {1, 0.3f}}));
}

TEST_F(HistoryData, SkipsAndTheirReductions) {
  const struct {
    int skip;
    Pairs pairs;
    std::string warning;
  } cases[] = {
      {-1, {{0, 0}, {0.5f, 1}, {1, 2}, {1, 2}, {1.5f, 3}, {2, 4}, {2.5f, 5}, {5.5f, 6}}, ""},
      {1, {{0, 0}, {1, 2}, {1, 2}, {2, 4}, {5, 5}}, ""},
      // Load (3 frames) reduced to 1, Hold (4) keeps 3, Again (2) reduced to 0.
      {3,
       {{0, 0}, {1, 2}, {1, 2}, {5, 5}, {5.5f, 6}},
       "Warning: Skip frequency reduced to 1 and 0 for step(s) 1 and 3"},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.skip);
    lines.clear();
    cmdC_WIP::SetListener(&RecordLine);
    Call c;
    c.numbers = {1, 2, 3};
    c.skip = t.skip;
    const auto r = Extract(c);
    cmdC_WIP::SetListener(nullptr);
    EXPECT_EQ(PairsOf(*r), t.pairs);
    const bool warned = lines.size() == 2 && lines[1] == t.warning;
    EXPECT_TRUE(t.warning.empty() ? lines.size() == 1 : warned) << lines.back();
  }
}

TEST_F(HistoryData, ComplexForms) {
  // (3, 4), (0, 2), (0, -2), (0, 0), (-1, 0) at 10 ... 50 Hz.
  const struct {
    int form;
    double angle;
    std::vector<float> y;
    std::string label;
  } cases[] = {
      {res_REAL, 0, {3, 0, 0, 0, -1}, " (Real)"},
      {res_IMAGINARY, 0, {4, 2, -2, 0, 0}, " (Imaginary)"},
      {-1, 0, {5, 2, 2, 0, 1}, " (Magnitude)"},
      {res_PHASE, 0, {53.130104f, 90, -90, 0, 180}, " (Phase)"},
      {res_AT_ANGLE, 450, {-4, -2, 2, 0, 0}, " (Real at 90 deg)"},
      {res_AT_ANGLE, -450, {4, 2, -2, 0, 0}, " (Real at -90 deg)"},
      {res_AT_ANGLE,
       1e12,
       {3 * std::cos(280 * M_PI / 180) - 4 * std::sin(280 * M_PI / 180)},
       " (Real at 280 deg)"},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.label);
    Call c;
    c.names = {"Sweep"};
    c.form = t.form;
    c.angle = t.angle;
    const auto r = Extract(c);
    ASSERT_EQ(r->Pairs().Size(), 5u);
    EXPECT_EQ(r->Pairs()[0].x, 10);
    for (std::size_t i = 0; i < t.y.size(); ++i) EXPECT_NEAR(r->Pairs()[i].y, t.y[i], 1e-5) << i;
    EXPECT_EQ(r->PositionDescription(), "at Node 12" + t.label);
    EXPECT_EQ(r->YAxisLabel(), "U2 at Node 12" + t.label);  // the complex label once
    EXPECT_EQ(r->XAxisLabel(), "Frequency");
  }
  Call given;
  given.names = {"Sweep"};
  given.yLabel = "Response";
  EXPECT_EQ(Extract(given)->YAxisLabel(), "Response (Magnitude)");
  EXPECT_EQ(xypK_ReadData::ReduceComplexAngle(1e12), 280);
  Call infinite;
  infinite.names = {"Sweep"};
  infinite.angle = INFINITY;
  EXPECT_THROW(Extract(infinite), omu_ValueErrorException);
}

TEST_F(HistoryData, CatalogueErrors) {
  const std::string mixed =
      "Mixing steps with Time and Frequency domains while creating an XYData object is "
      "prohibited|1|Time|Frequency";
  const struct {
    Call call;
    std::string refusal;
  } cases[] = {
      {{kU2, {"Load", "Nowhere"}}, "Invalid step numbers|16||"},
      {{kU2, {}, {0}}, "Invalid step numbers|16||"},
      {{kU2, {}, {7}}, "Invalid step numbers|16||"},
      {{kU2, {}}, "Invalid step numbers|16||"},
      {{kU2, {"Load"}, {}, 0, -1, 0, false}, "Invalid model|17||"},
      {{kU2, {"Load", "Sweep"}}, mixed},
      // Starting in the frequency step: a selected time step with history output is of
      // another domain even though it does not hold the variable.
      {{"Displacement: U1 at Node 13", {"Sweep", "Long"}},
       "Mixing steps with Frequency and Time domains while creating an XYData object is "
       "prohibited|1|Frequency|Time"},
      {{"No such variable", {"Load"}}, "XYData object must contain at least one data point|27||"},
      {{kU2, {"Long"}}, "XYData object must contain at least one data point|27||"},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.refusal);
    EXPECT_EQ(Refusal(t.call), t.refusal);
  }
  // A database object whose file was closed names no model, also once the file is open again.
  const cow_String path = odb_->RealPath();
  thr_ThreadSingleton<ddr_Root>::Instance().Close(path);
  thr_ThreadSingleton<ddr_Root>::Instance().Open(path);
  EXPECT_EQ(Refusal(Call{kU2, {"Load"}}), "Invalid model|17||");
}

int checks = 0, fireAt = 0;
bool CountingCheck() {
  return ++checks == fireAt;
}

TEST_F(HistoryData, SkipsAndInterruptionChecksAcrossReadBlocks) {
  for (int skip : {0, 6, 16383, 16384, 39998}) {
    SCOPED_TRACE(skip);
    Call c{"Energy: E for Whole Model", {"Long"}};
    c.skip = skip;
    const auto r = Extract(c);
    std::size_t used = 0;
    for (int i = 0; i < 40000; i += skip + 1, ++used) {
      ASSERT_LT(used, r->Size());
      ASSERT_EQ(r->Pairs()[used].x, i);
      ASSERT_EQ(r->Pairs()[used].y, i);
    }
    EXPECT_EQ(r->Size(), used);
  }

  // The interruption is checked each step and every 4,096 frames.
  cmdC_WIP::SetInterruptCheck(&CountingCheck);
  Call c{"Energy: E for Whole Model", {"Long"}};
  checks = 0;
  fireAt = -1;
  EXPECT_EQ(Extract(c)->Pairs().Size(), 40000u);
  EXPECT_EQ(checks, 10);  // the step, and every 4,096 frames used
  checks = 0;
  fireAt = 3;
  EXPECT_EQ(Refusal(c), "XY Data extraction from history aborted per user request.|58||");
  cmdC_WIP::SetInterruptCheck(nullptr);
}

}  // namespace
