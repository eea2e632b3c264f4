// The parse limit for two-column XY text files: what it costs, at the least, to turn the text of
// such a file into floats on this machine. The file is mapped (mmap) and both columns of every
// line are converted with std::from_chars<float>, nothing else: no classification of the
// fields, no record, no growth of a buffer. Lines that start with "**" are skipped; fields are
// separated by runs of blanks, tabs and commas, as in the files that bench_xyfile.py writes.
// Each run maps the file, converts it and unmaps it again; the wall-clock time and the CPU time
// of the process (CLOCK_PROCESS_CPUTIME_ID) of each run are printed.
//
// With --store the floats also go, pair by pair, into a std::vector of pairs reserved once for
// file size / 4 pairs (no line of a pair is shorter than 4 bytes, so it never grows; the reserved
// pages the pairs do not reach are never touched): the conversion plus the cheapest way to keep
// the pairs, which tells the cost of storing them apart from the cost of converting.
//
// Usage: xyp_bench_parse_limit FILE [--runs N] [--store]
// Prints one line per run, "run WALL_SECONDS CPU_SECONDS MINOR_FAULTS", then one summary line:
//   pairs N first X Y last X Y sum S median WALL_SECONDS cpu CPU_SECONDS faults MINOR_FAULTS
// (medians over the runs; minor faults from getrusage).
// with the values in "%.9g" (exact for a float). Exits non-zero on a line it cannot convert.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace {

struct Result {
  std::size_t pairs = 0;
  float first[2] = {0.0f, 0.0f};
  float last[2] = {0.0f, 0.0f};
  double sum = 0.0;  // keeps the conversions observable
};

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == ','; }

// One field at p: skips separators, converts, and leaves p after the number.
bool Field(const char*& p, const char* end, float& value) {
  while (p < end && IsSeparator(*p)) ++p;
  if (p < end && *p == '+') ++p;
  const std::from_chars_result r = std::from_chars(p, end, value);
  if (r.ec != std::errc()) return false;
  p = r.ptr;
  return true;
}

template <class Sink>
bool Parse(const char* p, const char* end, Result& out, Sink&& sink) {
  while (p < end) {
    if (end - p >= 2 && p[0] == '*' && p[1] == '*') {
      const void* nl = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
      p = nl ? static_cast<const char*>(nl) + 1 : end;
      continue;
    }
    float x, y;
    if (!Field(p, end, x) || !Field(p, end, y)) return false;
    while (p < end && *p != '\n') ++p;  // the rest of the line: "\r", trailing blanks
    if (p < end) ++p;
    if (out.pairs == 0) {
      out.first[0] = x;
      out.first[1] = y;
    }
    out.last[0] = x;
    out.last[1] = y;
    out.sum += static_cast<double>(x) + static_cast<double>(y);
    ++out.pairs;
    sink(x, y);
  }
  return true;
}

double CpuSeconds() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]);
}

long MinorFaults() {
  rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt;
}

bool RunOnce(const char* path, bool store, Result& out, double& seconds, double& cpu,
             double& faults) {
  const long f0 = MinorFaults();
  const double c0 = CpuSeconds();
  const auto t0 = std::chrono::steady_clock::now();
  const int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info;
  if (fstat(fd, &info) != 0 || info.st_size <= 0) {
    close(fd);
    return false;
  }
  const std::size_t size = static_cast<std::size_t>(info.st_size);
  void* map = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
  close(fd);
  if (map == MAP_FAILED) return false;
  madvise(map, size, MADV_SEQUENTIAL);
  const char* text = static_cast<const char*>(map);
  out = Result();
  bool ok;
  if (store) {
    std::vector<std::pair<float, float>> pairs;
    pairs.reserve(size / 4 + 1);
    ok = Parse(text, text + size, out, [&](float x, float y) { pairs.emplace_back(x, y); });
    if (pairs.size() != out.pairs) ok = false;
  } else {
    ok = Parse(text, text + size, out, [](float, float) {});
  }
  munmap(map, size);
  seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  cpu = CpuSeconds() - c0;
  faults = static_cast<double>(MinorFaults() - f0);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  const char* path = nullptr;
  int runs = 5;
  bool store = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--runs" && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--store") {
      store = true;
    } else if (!path && arg.rfind("--", 0) != 0) {
      path = argv[i];
    } else {
      std::fprintf(stderr, "usage: %s FILE [--runs N] [--store]\n", argv[0]);
      return 2;
    }
  }
  if (!path) {
    std::fprintf(stderr, "usage: %s FILE [--runs N] [--store]\n", argv[0]);
    return 2;
  }

  std::vector<double> times, cpuTimes, faultCounts;
  Result result;
  for (int i = 0; i < runs; ++i) {
    double seconds = 0.0, cpu = 0.0, faults = 0.0;
    if (!RunOnce(path, store, result, seconds, cpu, faults)) {
      std::fprintf(stderr, "%s: cannot map or convert the file\n", path);
      return 1;
    }
    times.push_back(seconds);
    cpuTimes.push_back(cpu);
    faultCounts.push_back(faults);
    std::printf("run %.9f %.9f %.0f\n", seconds, cpu, faults);
  }
  std::printf(
      "pairs %zu first %.9g %.9g last %.9g %.9g sum %.17g median %.9f cpu %.9f faults %.0f\n",
              result.pairs, static_cast<double>(result.first[0]),
              static_cast<double>(result.first[1]), static_cast<double>(result.last[0]),
              static_cast<double>(result.last[1]), result.sum, Median(times), Median(cpuTimes),
      Median(faultCounts));
  return 0;
}
