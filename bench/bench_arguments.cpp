// The kernel's side of XYData(name=..., data=...), alone: building the XY data record through
// xypK_ReadData::FromKeyboard from arguments that already exist, with the pairs either packed
// (2n doubles, as the binding hands over an array or a run of number pairs) or as a tuple of n
// item tuples of two numbers each (the general per-object form). The arguments are built once per
// size, outside the timed loop; each iteration reads them again and builds a new record.
//
// A reference row copies the 2n doubles once, the memory floor of any path that keeps them.
// The counter "faults" is the mean number of minor page faults per call.
//
// With --keep_heap, the allocator is told to keep freed memory (mallopt: no trimming, no mmap for
// blocks up to 32 MiB) instead of handing it back to the kernel, so large buffers are not faulted
// in afresh on every call. Without it, a run shows what the process's default allocator costs,
// page faults included; with it, mostly the kernel code's own work. Both are worth knowing: how
// often the default allocator refaults depends on the rest of the heap, i.e. on the process.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>

#include <cmath>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "omu_Arguments.h"
#include "omu_PrimNumber.h"
#include "omu_PrimString.h"
#include "omu_PrimTuple.h"
#include "udd_UserXYData.h"
#include "xypK_ReadData.h"

namespace {

// x_i = i * 0.25, y_i = sin(i): values that float narrowing changes, so a lost or doubled
// conversion shows in the check.
std::vector<double> PairValues(std::size_t n) {
  std::vector<double> values(2 * n);
  for (std::size_t i = 0; i < n; ++i) {
    values[2 * i] = static_cast<double>(i) * 0.25;
    values[2 * i + 1] = std::sin(static_cast<double>(i));
  }
  return values;
}

std::unique_ptr<omu_Primitive> PackedData(const std::vector<double>& values) {
  auto data = std::make_unique<omu_PrimTuple>();
  data->SetPairs(values);
  return data;
}

std::unique_ptr<omu_Primitive> ItemTupleData(const std::vector<double>& values) {
  const std::size_t n = values.size() / 2;
  auto data = std::make_unique<omu_PrimTuple>(n);
  for (std::size_t i = 0; i < n; ++i) {
    auto pair = std::make_unique<omu_PrimTuple>(2);
    pair->Put(0, std::make_unique<omu_PrimNumber>(values[2 * i]));
    pair->Put(1, std::make_unique<omu_PrimNumber>(values[2 * i + 1]));
    data->Put(i, std::move(pair));
  }
  return data;
}

// Minor page faults of this process so far.
double MinorFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_minflt);
}

// Empty when the record holds the n pairs, narrowed to float, in order; else what is wrong.
std::string CheckRecord(const udd_UserXYData& record, const std::vector<double>& values) {
  const std::size_t n = values.size() / 2;
  if (record.Size() != n)
    return "record has " + std::to_string(record.Size()) + " pairs, expected " + std::to_string(n);
  for (std::size_t i : {std::size_t{0}, n / 2, n - 1}) {
    const udd_PairEntry& p = record.Pair(i);
    if (p.x != static_cast<float>(values[2 * i]) || p.y != static_cast<float>(values[2 * i + 1]))
      return "pair " + std::to_string(i) + " does not match the input";
  }
  return "";
}

void RunFromKeyboard(benchmark::State& state, bool packed) {
  const std::size_t n = static_cast<std::size_t>(state.range(0));
  const std::vector<double> values = PairValues(n);
  omu_Arguments args("XYData");
  args.AddKeyword("name", std::make_unique<omu_PrimString>("bench"));
  args.AddKeyword("data", packed ? PackedData(values) : ItemTupleData(values));

  // A path that drops or garbles pairs must not be timed as if it worked.
  const std::string problem = CheckRecord(*xypK_ReadData::FromKeyboard(args), values);
  if (!problem.empty()) {
    state.SkipWithError(problem.c_str());
    return;
  }
  const double faultsBefore = MinorFaults();
  for (auto _ : state) {
    std::unique_ptr<udd_UserXYData> record = xypK_ReadData::FromKeyboard(args);
    benchmark::DoNotOptimize(record.get());
    benchmark::ClobberMemory();
  }
  state.counters["faults"] = benchmark::Counter(MinorFaults() - faultsBefore,
                                                benchmark::Counter::kAvgIterations);
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(n));
}

void BM_FromKeyboard_PackedPairs(benchmark::State& state) { RunFromKeyboard(state, true); }
void BM_FromKeyboard_ItemTuples(benchmark::State& state) { RunFromKeyboard(state, false); }

// The floor: one copy of the 2n doubles.
void BM_CopyPairValues(benchmark::State& state) {
  const std::size_t n = static_cast<std::size_t>(state.range(0));
  const std::vector<double> values = PairValues(n);
  for (auto _ : state) {
    std::vector<double> copy(values);
    benchmark::DoNotOptimize(copy.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(n));
}

}  // namespace

BENCHMARK(BM_FromKeyboard_PackedPairs)->RangeMultiplier(10)->Range(10000, 1000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FromKeyboard_ItemTuples)->RangeMultiplier(10)->Range(10000, 1000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyPairValues)->RangeMultiplier(10)->Range(10000, 1000000)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  bool keepHeap = false;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--keep_heap") == 0)
      keepHeap = true;
    else
      argv[kept++] = argv[i];
  }
  argc = kept;
  if (keepHeap) {
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 1024 * 1024 * 1024);
  }
  benchmark::AddCustomContext("heap", keepHeap ? "kept (--keep_heap)" : "default allocator");
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
