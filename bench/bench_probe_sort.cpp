// Sorting the Probe Values table as the dialog's "sort" does: N selected rows of an XY plot's
// probe (legend, sequence, x, y), sorted by a numeric column ("X", values in random order) and by
// a text column ("Legend", random curve names), ascending and descending alternately so that
// every iteration really moves rows. The table is refilled before timing and sorted in place;
// N = 10^4, 10^5 and 10^6.
//
// Peer: BM_PeerStableSort sorts N (double, index) pairs with std::stable_sort, the floor of a
// stable sort by value without moving any cells. The table's sort also reads each cell's number
// once and rebuilds the rows in the new order.
//
// Each iteration checks that the column came out ordered; a sort that skips the work turns the
// row into an error.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "prbK_ProbeToolset.h"
#include "prbK_SelectedProbeValues.h"
#include "sesK_SessionState.h"
#include "smg_SceneManagerRole.h"
#include "xypK_Curve.h"
#include "xypK_Module.h"
#include "xypK_Scene.h"
#include "xypK_SceneManager.h"
#include "xypK_XYPlot.h"
#include "xypK_XYPlotIntObj.h"
#include "xypK_XYToolset.h"

namespace {
int modules = 0;

// The module up, a plot shown in the current viewport, the XY client current.
void StartProbing() {
  if (modules > 0) return;
  xypK_initialize(modules);
  xypK_XYPlot plot;
  xypK_Curve curve("c");
  curve.xyData.AppendPair(0, 0);
  curve.xyData.AppendPair(1, 1);
  curve.CalculateMinMax();
  plot.curves.Insert("c", curve);
  plot.curvesToPlot.Append("c");
  xypK_XYToolset::Instance().GetXYPlotDictionary().Insert("p", plot);
  smg_SceneManagerRole::Instance().SetCurrentViewport(1);
  smg_SceneManagerRole::Instance().SetTypeToDisplay(omu_DISPLAY_XYPLOT, 1, cow_String());
  xypK_Scene& scene = xypK_XYToolset::Instance().SceneManager().Scene(1);
  const xypK_XYPlotIntObj handle("p", 1);
  scene.SetXYPlotObject(&handle);
  prbK_ProbeToolset::Instance().SetClient(prbK_ProbeToolset::kXyPlot);
}

void Fill(std::size_t rows) {
  prbK_SelectedProbeValues& table = prbK_SelectedProbeValues::Instance();
  table.ClearValues({});
  std::mt19937 random(7);
  std::uniform_real_distribution<double> value(-1e6, 1e6);
  cow_1DArray<cow_String> row(4);
  for (std::size_t r = 0; r < rows; ++r) {
    row.Set(0, cow_String("curve " + std::to_string(random() % 5000)));
    row.Set(1, cow_String::FromInt(static_cast<long long>(r + 1)));
    row.Set(2, cow_String::FromDouble(static_cast<float>(value(random))));
    row.Set(3, cow_String::FromDouble(static_cast<float>(value(random))));
    table.AppendValues(row);
  }
}

bool Ordered(int column, bool ascending, bool numeric) {
  const prbK_SelectedProbeValues& table = prbK_SelectedProbeValues::Instance();
  for (int r = 1; r < table.NumRows(); ++r) {
    const cow_String a = table.GetValue(r - 1)[column], b = table.GetValue(r)[column];
    const bool inOrder = numeric ? (ascending ? std::atof(a.CStr()) <= std::atof(b.CStr())
                                              : std::atof(a.CStr()) >= std::atof(b.CStr()))
                                 : (ascending ? a.Std() <= b.Std() : a.Std() >= b.Std());
    if (!inOrder) return false;
  }
  return true;
}

void SortBy(benchmark::State& state, const char* title, int column, bool numeric) {
  StartProbing();
  const std::size_t rows = static_cast<std::size_t>(state.range(0));
  Fill(rows);
  prbK_SelectedProbeValues& table = prbK_SelectedProbeValues::Instance();
  int direction = 0;
  for (auto _ : state) {
    table.Sort(title, direction);
    state.PauseTiming();
    if (!Ordered(column, direction == 0, numeric)) state.SkipWithError("not sorted");
    direction = 1 - direction;
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(rows));
}

void BM_SortNumeric(benchmark::State& state) {
  SortBy(state, "X", 2, true);
}
void BM_SortText(benchmark::State& state) {
  SortBy(state, "Legend", 0, false);
}

void BM_PeerStableSort(benchmark::State& state) {
  const std::size_t rows = static_cast<std::size_t>(state.range(0));
  std::mt19937 random(7);
  std::uniform_real_distribution<double> value(-1e6, 1e6);
  std::vector<std::pair<double, int>> keys(rows);
  for (std::size_t r = 0; r < rows; ++r) keys[r] = {value(random), static_cast<int>(r)};
  bool ascending = true;
  for (auto _ : state) {
    if (ascending)
      std::stable_sort(keys.begin(), keys.end(),
                       [](const auto& a, const auto& b) { return a.first < b.first; });
    else
      std::stable_sort(keys.begin(), keys.end(),
                       [](const auto& a, const auto& b) { return b.first < a.first; });
    benchmark::DoNotOptimize(keys.data());
    ascending = !ascending;
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(rows));
}
}  // namespace

BENCHMARK(BM_SortNumeric)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortText)->RangeMultiplier(10)->Range(10000, 1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeerStableSort)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (modules > 0) xypK_finalize(modules);
  return 0;
}
