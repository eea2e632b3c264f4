// The XY plot's axis layout after a change to repository data, as a session sees it: the module is
// up, the repository holds 20 XY data records, and one plot shows all 20 as curves. 19 records
// have 10^4 pairs each and never change; the one named "changed" has N pairs (the argument).
// Each iteration replaces the record "changed" in the repository, tells the toolset that its data
// changed (UpdateXYData: the curves showing it recompute their extent) and lays the plot out
// again (Recalculate). Only the changed curve's pairs should be read: the others keep the extent
// they computed when they were made.
//
// Two versions of "changed" are built before timing and inserted alternately: inserting a record
// shares its pairs (copy on write), so an iteration copies no pairs, and every iteration is a
// real change (the second version has one y value far above the first's, so the y axis moves).
//
// Layouts:
//   linear      both axes linear;
//   log         x axis logarithmic, all x positive;
//   log_zero    x axis logarithmic, the changed curve's first x is 0: a log axis may leave out
//               that one point, which the layout finds by walking the curve's pairs twice more.
// BM_Recalculate times Recalculate alone on the same plot with nothing changed, to show how the
// two steps share the time. BM_PeerMinMax is a plain loop computing the x and y extent of the
// same N pairs (alternating between the same two arrays): the memory-bound floor of reading them.
//
// The plot's extent is checked against the data before and after timing; a wrong extent turns
// the row into an error, so a path that skips the work cannot look fast.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "cow_1DArrayList.h"
#include "cow_String.h"
#include "udd_UserXYData.h"
#include "xypC_XYPlotOptions.h"
#include "xypK_Curve.h"
#include "xypK_Module.h"
#include "xypK_XYDataSessionCntr.h"
#include "xypK_XYPlot.h"
#include "xypK_XYToolset.h"

namespace {

constexpr int kFixedRecords = 19;
constexpr std::size_t kFixedPairs = 10000;
const char* const kChanged = "changed";
const char* const kPlot = "p";

enum class Layout { kLinear, kLog, kLogZero };

cow_String FixedName(int k) {
  return cow_String("fixed " + std::to_string(k));
}

// Fixed record k: x from 1 + k in steps of 0.25, |y| up to k + 1.
udd_UserXYData FixedRecord(int k) {
  udd_UserXYData record;
  record.SetName(FixedName(k));
  record.ReservePairs(kFixedPairs);
  for (std::size_t i = 0; i < kFixedPairs; ++i) {
    const double t = static_cast<double>(i);
    record.AppendPair(static_cast<float>(1.0 + k + 0.25 * t),
                      static_cast<float>((k + 1) * std::sin(0.01 * t + k)));
  }
  return record;
}

// The changed record: x from 0.5 (0 for kLogZero) in steps of 0.25, |y| up to 30. The second
// version has y = 500 at its middle pair.
udd_UserXYData ChangedRecord(std::size_t n, Layout layout, bool second) {
  udd_UserXYData record;
  record.SetName(cow_String(kChanged));
  record.ReservePairs(n);
  const double x0 = layout == Layout::kLogZero ? 0.0 : 0.5;
  for (std::size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i);
    const float y = second && i == n / 2 ? 500.0f : static_cast<float>(30.0 * std::sin(0.003 * t));
    record.AppendPair(static_cast<float>(x0 + 0.25 * t), y);
  }
  return record;
}

struct Extent {
  float xMin = xypK_Curve::kResetMin, xMax = xypK_Curve::kResetMax;
  float yMin = xypK_Curve::kResetMin, yMax = xypK_Curve::kResetMax;
  void Add(const udd_UserXYData& record, std::size_t first) {
    for (std::size_t i = first; i < record.Size(); ++i) {
      const udd_PairEntry& p = record.Pair(i);
      xMin = std::min(xMin, p.x);
      xMax = std::max(xMax, p.x);
      yMin = std::min(yMin, p.y);
      yMax = std::max(yMax, p.y);
    }
  }
};

// The raw extent the plot must find with `changed` in the repository (all values are finite;
// on the kLogZero layout the changed curve's first point is left out).
Extent ExpectedExtent(const udd_UserXYData& changed, Layout layout) {
  Extent e;
  for (int k = 0; k < kFixedRecords; ++k)
    e.Add(xypK_XYDataSessionCntr::Instance().ConstGet(FixedName(k)), 0);
  e.Add(changed, layout == Layout::kLogZero ? 1 : 0);
  return e;
}

// Empty when the plot's raw extent is the expected one, else what differs.
std::string CheckPlot(const Extent& e) {
  const xypK_XYPlot& plot = xypK_XYToolset::Instance().ConstGetXYPlot(cow_String(kPlot));
  if (plot.rawXMin != e.xMin || plot.rawXMax != e.xMax || plot.rawYMin != e.yMin ||
      plot.rawYMax != e.yMax)
    return "plot extent x [" + std::to_string(plot.rawXMin) + ", " + std::to_string(plot.rawXMax) +
           "] y [" + std::to_string(plot.rawYMin) + ", " + std::to_string(plot.rawYMax) +
           "], expected x [" + std::to_string(e.xMin) + ", " + std::to_string(e.xMax) + "] y [" +
           std::to_string(e.yMin) + ", " + std::to_string(e.yMax) + "]";
  return "";
}

// Fills the repository with the 19 fixed records and `changed`, and the toolset with plot "p"
// showing all 20, laid out once.
void BuildSession(const udd_UserXYData& changed, Layout layout) {
  xypK_XYDataSessionCntr& repository = xypK_XYDataSessionCntr::Instance();
  xypK_XYToolset& toolset = xypK_XYToolset::Instance();
  repository.Clear();
  toolset.DeleteXYPlot(cow_String(kPlot));
  cow_1DArrayList<cow_String> names;
  for (int k = 0; k < kFixedRecords; ++k) {
    repository.Insert(FixedName(k), FixedRecord(k));
    names.Append(FixedName(k));
  }
  repository.Insert(cow_String(kChanged), changed);
  names.Append(cow_String(kChanged));

  xypC_XYPlotOptions options = toolset.GetDefaultOptions();
  if (layout != Layout::kLinear) options.xAxisScale = xypC_LOG;
  xypK_XYPlot plot(options);
  for (std::size_t i = 0; i < names.Size(); ++i) {
    xypK_Curve curve(names[i]);
    curve.xyDataName = names[i];
    curve.CalculateMinMax();
    plot.curves.Insert(names[i], curve);
  }
  plot.SetCurvesToPlot(names);
  toolset.GetXYPlotDictionary().Insert(cow_String(kPlot), plot);
  toolset.GetXYPlot(cow_String(kPlot)).Recalculate();
}

// One change as a session makes it: the new record goes into the repository, the toolset carries
// it into the curves, the plot is laid out again.
void ChangeAndRecalculate(const udd_UserXYData& record) {
  const cow_String changed(kChanged);
  xypK_XYToolset& toolset = xypK_XYToolset::Instance();
  xypK_XYDataSessionCntr::Instance().Insert(changed, record);
  toolset.UpdateXYData(changed);
  // Fetched after the update: the dictionary is copy on write, so the update may have moved it.
  xypK_XYPlot& plot = toolset.GetXYPlot(cow_String(kPlot));
  plot.Recalculate();
  benchmark::DoNotOptimize(plot.rawYMax);
}

void RunUpdateRecalculate(benchmark::State& state, Layout layout) {
  const std::size_t n = static_cast<std::size_t>(state.range(0));
  const udd_UserXYData first = ChangedRecord(n, layout, false);
  const udd_UserXYData second = ChangedRecord(n, layout, true);
  BuildSession(first, layout);
  const Extent expectFirst = ExpectedExtent(first, layout);
  const Extent expectSecond = ExpectedExtent(second, layout);

  // Both versions, one after the other, must show in the plot before anything is timed.
  std::string problem = CheckPlot(expectFirst);
  if (problem.empty()) {
    ChangeAndRecalculate(second);
    problem = CheckPlot(expectSecond);
  }
  if (problem.empty()) {
    ChangeAndRecalculate(first);
    problem = CheckPlot(expectFirst);
  }
  if (!problem.empty()) {
    state.SkipWithError(problem.c_str());
    return;
  }

  bool useSecond = true;
  for (auto _ : state) {
    ChangeAndRecalculate(useSecond ? second : first);
    useSecond = !useSecond;
  }
  // The last version inserted is the one the plot must show now.
  problem = CheckPlot(useSecond ? expectFirst : expectSecond);
  if (!problem.empty()) state.SkipWithError(problem.c_str());
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(n));
}

void RunRecalculate(benchmark::State& state, Layout layout) {
  const std::size_t n = static_cast<std::size_t>(state.range(0));
  const udd_UserXYData changed = ChangedRecord(n, layout, true);
  BuildSession(changed, layout);
  const Extent expect = ExpectedExtent(changed, layout);
  std::string problem = CheckPlot(expect);
  if (!problem.empty()) {
    state.SkipWithError(problem.c_str());
    return;
  }
  xypK_XYPlot& plot = xypK_XYToolset::Instance().GetXYPlot(cow_String(kPlot));
  for (auto _ : state) {
    plot.Recalculate();
    benchmark::DoNotOptimize(plot.rawYMax);
  }
  problem = CheckPlot(expect);
  if (!problem.empty()) state.SkipWithError(problem.c_str());
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(n));
}

void BM_UpdateRecalculate(benchmark::State& state, Layout layout) {
  RunUpdateRecalculate(state, layout);
}
void BM_Recalculate(benchmark::State& state, Layout layout) {
  RunRecalculate(state, layout);
}

// The floor: the extent of N pairs read once, in a loop the compiler may vectorise, alternating
// between two arrays as the benchmark above alternates between two records.
void BM_PeerMinMax(benchmark::State& state) {
  const std::size_t n = static_cast<std::size_t>(state.range(0));
  const udd_UserXYData first = ChangedRecord(n, Layout::kLinear, false);
  const udd_UserXYData second = ChangedRecord(n, Layout::kLinear, true);
  const udd_PairEntry* arrays[2] = {&first.Pair(0), &second.Pair(0)};
  int which = 1;
  float checkYMax = 0.0f;
  for (auto _ : state) {
    const udd_PairEntry* p = arrays[which];
    float xLo = p[0].x, xHi = p[0].x, yLo = p[0].y, yHi = p[0].y;
    for (std::size_t i = 1; i < n; ++i) {
      xLo = std::min(xLo, p[i].x);
      xHi = std::max(xHi, p[i].x);
      yLo = std::min(yLo, p[i].y);
      yHi = std::max(yHi, p[i].y);
    }
    benchmark::DoNotOptimize(xLo);
    benchmark::DoNotOptimize(xHi);
    benchmark::DoNotOptimize(yLo);
    benchmark::DoNotOptimize(yHi);
    checkYMax = yHi;
    which = 1 - which;
  }
  // The last array read was `second` when `which` is back at 0.
  const float expectYMax = which == 0 ? 500.0f : 30.0f;
  if (std::fabs(checkYMax - expectYMax) > 0.5f) state.SkipWithError("peer extent is wrong");
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(n));
}

}  // namespace

BENCHMARK_CAPTURE(BM_UpdateRecalculate, linear, Layout::kLinear)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_UpdateRecalculate, log, Layout::kLog)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_UpdateRecalculate, log_zero, Layout::kLogZero)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Recalculate, linear, Layout::kLinear)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Recalculate, log, Layout::kLog)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Recalculate, log_zero, Layout::kLogZero)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PeerMinMax)->RangeMultiplier(10)->Range(10000, 1000000)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  int modules = 0;
  xypK_initialize(modules);
  benchmark::AddCustomContext("fixed curves", std::to_string(kFixedRecords) + " x " +
                                                  std::to_string(kFixedPairs) + " pairs");
  benchmark::RunSpecifiedBenchmarks();
  xypK_finalize(modules);
  benchmark::Shutdown();
  return 0;
}
