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
// BM_UpdateRecalculateOtherPlots: linear, N = 10^4, with 10 or 100 further plots in the toolset
// that show the 19 fixed records but not "changed": what the update costs per plot it does not
// concern. BM_Recalculate times Recalculate alone on the same plot with nothing changed, to show
// how the two steps share the time.
//
// Peers, reading the same N pairs and alternating between two arrays as above:
//   BM_PeerMinMax        a plain loop keeping the running minimum and maximum of x and y;
//   BM_PeerMinMaxVector  the same extent with independent vector lanes: the floor of reading
//                        the pairs once.
//
// The plot's extent is checked against the data before and after timing; a wrong extent turns
// the row into an error, so a path that skips the work cannot look fast.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
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

Extent RecordExtent(const udd_UserXYData& record) {
  Extent e;
  e.Add(record, 0);
  return e;
}

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

// A plot showing the named records, one curve each, laid out once.
xypK_XYPlot MakePlot(const cow_1DArrayList<cow_String>& names, Layout layout) {
  xypC_XYPlotOptions options = xypK_XYToolset::Instance().GetDefaultOptions();
  if (layout != Layout::kLinear) options.xAxisScale = xypC_LOG;
  xypK_XYPlot plot(options);
  for (std::size_t i = 0; i < names.Size(); ++i) {
    xypK_Curve curve(names[i]);
    curve.xyDataName = names[i];
    curve.CalculateMinMax();
    plot.curves.Insert(names[i], curve);
  }
  plot.SetCurvesToPlot(names);
  plot.Recalculate();
  return plot;
}

cow_String OtherPlotName(int k) {
  return cow_String("other " + std::to_string(k));
}

// Fills the repository with the 19 fixed records and `changed`, and the toolset with plot "p"
// showing all 20, plus `otherPlots` plots showing the 19 fixed records only.
void BuildSession(const udd_UserXYData& changed, Layout layout, int otherPlots = 0) {
  xypK_XYDataSessionCntr& repository = xypK_XYDataSessionCntr::Instance();
  xypK_XYToolset& toolset = xypK_XYToolset::Instance();
  repository.Clear();
  cow_1DArrayList<cow_String> names;
  for (int k = 0; k < kFixedRecords; ++k) {
    repository.Insert(FixedName(k), FixedRecord(k));
    names.Append(FixedName(k));
  }
  repository.Insert(cow_String(kChanged), changed);
  names.Append(cow_String(kChanged));

  toolset.GetXYPlotDictionary().Clear();
  toolset.GetXYPlotDictionary().Insert(cow_String(kPlot), MakePlot(names, layout));
  names.RemoveLast();
  for (int k = 0; k < otherPlots; ++k)
    toolset.GetXYPlotDictionary().Insert(OtherPlotName(k), MakePlot(names, layout));
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

void RunUpdateRecalculate(benchmark::State& state, Layout layout, int otherPlots) {
  const std::size_t n = static_cast<std::size_t>(state.range(0));
  const udd_UserXYData first = ChangedRecord(n, layout, false);
  const udd_UserXYData second = ChangedRecord(n, layout, true);
  BuildSession(first, layout, otherPlots);
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
  RunUpdateRecalculate(state, layout, 0);
}
// The same with further plots in the toolset that do not show "changed" (second argument).
void BM_UpdateRecalculateOtherPlots(benchmark::State& state) {
  RunUpdateRecalculate(state, Layout::kLinear, static_cast<int>(state.range(1)));
}
void BM_Recalculate(benchmark::State& state, Layout layout) {
  RunRecalculate(state, layout);
}

// The two peers read the same N pairs as the changed curve, alternating between two arrays as
// the benchmark above alternates between two records. The plain loop keeps one running minimum
// and maximum per coordinate, as the kernel's loop does: each step waits for the previous one.
void BM_PeerMinMax(benchmark::State& state) {
  const std::size_t n = static_cast<std::size_t>(state.range(0));
  const udd_UserXYData first = ChangedRecord(n, Layout::kLinear, false);
  const udd_UserXYData second = ChangedRecord(n, Layout::kLinear, true);
  const udd_PairEntry* arrays[2] = {&first.Pair(0), &second.Pair(0)};
  int which = 1;
  float lastYMax = 0.0f;
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
    lastYMax = yHi;
    which = 1 - which;
  }
  // The last array read was `second` when `which` is back at 0.
  if (lastYMax != (which == 0 ? 500.0f : RecordExtent(first).yMax))
    state.SkipWithError("peer extent is wrong");
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(n));
}

// The memory floor: the pairs read as 2N floats, four at a time (x, y, x, y) into eight
// independent vectors of running minima and maxima (GCC's vector extension: one vector
// instruction per operation, with SSE2 alone). The compiler does not vectorise the plain loop
// itself: without leave to reorder float comparisons it keeps one running value per coordinate.
void BM_PeerMinMaxVector(benchmark::State& state) {
  using Vec = float __attribute__((vector_size(16)));
  constexpr std::size_t kVecs = 8;
  constexpr std::size_t kStep = kVecs * 4;
  static_assert(sizeof(udd_PairEntry) == 2 * sizeof(float));
  const std::size_t n = static_cast<std::size_t>(state.range(0));
  const udd_UserXYData first = ChangedRecord(n, Layout::kLinear, false);
  const udd_UserXYData second = ChangedRecord(n, Layout::kLinear, true);
  const float* arrays[2] = {&first.Pair(0).x, &second.Pair(0).x};
  int which = 1;
  float lastYMax = 0.0f;
  for (auto _ : state) {
    const float* f = arrays[which];
    const std::size_t count = 2 * n;
    const Vec start = {f[0], f[1], f[0], f[1]};
    Vec lo[kVecs], hi[kVecs];
    for (std::size_t v = 0; v < kVecs; ++v) lo[v] = hi[v] = start;
    std::size_t i = 0;
    for (; i + kStep <= count; i += kStep)
      for (std::size_t v = 0; v < kVecs; ++v) {
        Vec a;
        std::memcpy(&a, f + i + 4 * v, sizeof a);
        lo[v] = a < lo[v] ? a : lo[v];
        hi[v] = a > hi[v] ? a : hi[v];
      }
    float xLo = f[0], xHi = f[0], yLo = f[1], yHi = f[1];
    for (; i < count; i += 2) {
      xLo = std::min(xLo, f[i]);
      xHi = std::max(xHi, f[i]);
      yLo = std::min(yLo, f[i + 1]);
      yHi = std::max(yHi, f[i + 1]);
    }
    for (std::size_t v = 0; v < kVecs; ++v)
      for (int lane = 0; lane < 4; lane += 2) {
        xLo = std::min(xLo, lo[v][lane]);
        xHi = std::max(xHi, hi[v][lane]);
        yLo = std::min(yLo, lo[v][lane + 1]);
        yHi = std::max(yHi, hi[v][lane + 1]);
      }
    benchmark::DoNotOptimize(xLo);
    benchmark::DoNotOptimize(xHi);
    benchmark::DoNotOptimize(yLo);
    benchmark::DoNotOptimize(yHi);
    lastYMax = yHi;
    which = 1 - which;
  }
  if (lastYMax != (which == 0 ? 500.0f : RecordExtent(first).yMax))
    state.SkipWithError("peer extent is wrong");
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
BENCHMARK(BM_UpdateRecalculateOtherPlots)
    ->ArgNames({"pairs", "other_plots"})
    ->ArgsProduct({{10000}, {10, 100}})
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
BENCHMARK(BM_PeerMinMaxVector)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMicrosecond);

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
