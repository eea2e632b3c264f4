#include "oda_XYDataMath.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <numbers>
#include <string>
#include <type_traits>

#include "omu_ValueErrorException.h"

// glibc declares the vector variants (libmvec) of its math functions only under -ffast-math,
// which would also let the compiler assume that no NaN or infinity occurs and so drop the checks
// below. Declaring them here lets the vectoriser call them in the float loops all the same.
extern "C" {
#pragma omp declare simd notinbranch
float cosf(float) noexcept;
#pragma omp declare simd notinbranch
float sinf(float) noexcept;
#pragma omp declare simd notinbranch
float tanf(float) noexcept;
#pragma omp declare simd notinbranch
float acosf(float) noexcept;
#pragma omp declare simd notinbranch
float asinf(float) noexcept;
#pragma omp declare simd notinbranch
float atanf(float) noexcept;
#pragma omp declare simd notinbranch
float coshf(float) noexcept;
#pragma omp declare simd notinbranch
float sinhf(float) noexcept;
#pragma omp declare simd notinbranch
float tanhf(float) noexcept;
#pragma omp declare simd notinbranch
float logf(float) noexcept;
#pragma omp declare simd notinbranch
float log10f(float) noexcept;
#pragma omp declare simd notinbranch
float expf(float) noexcept;
#pragma omp declare simd notinbranch
float powf(float, float) noexcept;
#pragma omp declare simd notinbranch
double pow(double, double) noexcept;
}

// The vector loops are compiled for AVX2 and AVX-512 machines too and picked when the library is
// loaded, so that they, and the libmvec functions they call, use the widest vectors there.
// (GCC on x86-64 only: other compilers build the baseline loops.)
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
#define ODA_VECTOR_CLONES \
  __attribute__((target_clones("default", "arch=x86-64-v3", "arch=x86-64-v4")))
#else
#define ODA_VECTOR_CLONES
#endif

namespace {

using Pair = udd_PairEntry;
using Pairs = oda_XYDataMath::Pairs;
using Biquad = oda_XYDataMath::Biquad;

// ---------------------------------------------------------------------------------------------
// Errors

std::string Number(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.9g", value);
  return text;
}

[[noreturn]] void Raise(const char* function, const std::string& text) {
  NEX_THROW(omu_ValueErrorException(cow_String(std::string(function) + ": " + text)));
}

[[noreturn]] void RaiseAt(const char* function, const std::string& reason, size_t i, double x,
                          double y, const std::string& suffix = "") {
  Raise(function, reason + " at pair " + std::to_string(i) + " (x = " + Number(x) +
                      ", y = " + Number(y) + ")" + suffix);
}

// A non-finite `result` computed from the pair (x, y).
[[noreturn]] void RaiseResult(const char* function, size_t i, double x, double y, double result,
                              bool divisionByZero = false) {
  const char* reason = divisionByZero       ? "division by zero"
                       : std::isnan(result) ? "the result is not a real number"
                                            : "the result is infinite";
  RaiseAt(function, reason, i, x, y);
}

size_t RequirePairs(const char* function, const Pairs& a) {
  if (a.IsEmpty()) Raise(function, "the XY data has no pairs");
  return a.Size();
}

// False for NaN too; a compare that vectorises.
inline bool IsFinite(float v) {
  return std::fabs(v) <= FLT_MAX;
}

// Double arithmetic rounded once to float. Under IEEE arithmetic a double beyond the float
// range converts to infinity, which the finiteness checks then report.
inline float ToFloat(double v) {
  return static_cast<float>(v);
}

// The first pair whose y is not finite; only called once a cheaper pass has found one.
size_t FirstNonFinite(const Pair* p, size_t n) {
  size_t i = 0;
  while (i < n && IsFinite(p[i].y)) ++i;
  return i;
}

ODA_VECTOR_CLONES bool AllFinite(const Pair* __restrict p, size_t n) {
  unsigned bad = 0;
#pragma omp simd reduction(| : bad)
  for (size_t i = 0; i < n; ++i) bad |= !IsFinite(p[i].y);
  return bad == 0;
}

// Raises for the first non-finite y of `out`, naming the pair of `in` it was computed from.
void CheckResult(const char* function, const Pair* in, const Pair* out, size_t n) {
  if (AllFinite(out, n)) return;
  const size_t i = FirstNonFinite(out, n);
  RaiseResult(function, i, in[i].x, in[i].y, out[i].y);
}

// ---------------------------------------------------------------------------------------------
// Element-wise kernels. Each is instantiated per operation, so the loop body is inlined and
// vectorised; the finiteness flag is an OR reduction in the same loop.

template <class F>
ODA_VECTOR_CLONES bool MapY(const Pair* __restrict in, Pair* __restrict out, size_t n, F f) {
  unsigned bad = 0;
#pragma omp simd reduction(| : bad)
  for (size_t i = 0; i < n; ++i) {
    const float r = f(in[i].y);
    out[i].x = in[i].x;
    out[i].y = r;
    bad |= !IsFinite(r);
  }
  return bad == 0;
}

// NaN-propagating max and min: a NaN operand must reach the finiteness check.
inline double MaxNan(double a, double b) {
  return a != a ? a : (a >= b ? a : b);
}
inline double MinNan(double a, double b) {
  return a != a ? a : (a <= b ? a : b);
}

// ---------------------------------------------------------------------------------------------
// Combining operations: First(v) starts the accumulator with the first operand's value, Next adds
// each further operand, Finish gives the result for k operands.

struct MaxEnvelopeOp {
  using Acc = double;
  static Acc First(double v) { return v; }
  static Acc Next(Acc a, double v) { return MaxNan(a, v); }
  static double Finish(Acc a, size_t) { return a; }
};
struct MinEnvelopeOp {
  using Acc = double;
  static Acc First(double v) { return v; }
  static Acc Next(Acc a, double v) { return MinNan(a, v); }
  static double Finish(Acc a, size_t) { return a; }
};
struct RangeOp {
  struct Acc {
    double hi, lo;
  };
  static Acc First(double v) { return {v, v}; }
  static Acc Next(Acc a, double v) { return {MaxNan(a.hi, v), MinNan(a.lo, v)}; }
  static double Finish(Acc a, size_t) { return a.hi - a.lo; }
};
struct SumOp {
  using Acc = double;
  static Acc First(double v) { return v; }
  static Acc Next(Acc a, double v) { return a + v; }
  static double Finish(Acc a, size_t) { return a; }
};
struct AverageOp : SumOp {
  static double Finish(Acc a, size_t k) { return a / static_cast<double>(k); }
};
struct SrssOp {
  using Acc = double;
  static Acc First(double v) { return v * v; }
  static Acc Next(Acc a, double v) { return a + v * v; }
  static double Finish(Acc a, size_t) { return std::sqrt(a); }
};
struct SubtractOp : SumOp {
  static Acc Next(Acc a, double v) { return a - v; }
};
struct MultiplyOp : SumOp {
  static Acc Next(Acc a, double v) { return a * v; }
};
struct DivideOp : SumOp {
  static Acc Next(Acc a, double v) { return a / v; }
};

// Operands of the same size paired by index, assuming that their x agree: the flags returned
// tell whether they did not (then the result is to be discarded) and whether a result is not
// finite, found in the same pass. Two operands (the common case) take one fused loop; more go
// block by block through a small accumulator that stays in the first-level cache.
constexpr unsigned kXDiffer = 1, kNonFinite = 2;

template <class Op>
ODA_VECTOR_CLONES unsigned CombineByIndex(const std::vector<const Pair*>& p, size_t n,
                                          Pair* __restrict out) {
  const size_t k = p.size();
  unsigned differ = 0, bad = 0;
  if (k == 2) {
    const Pair* __restrict a = p[0];
    const Pair* __restrict b = p[1];
#pragma omp simd reduction(| : differ, bad)
    for (size_t i = 0; i < n; ++i) {
      const float r = ToFloat(Op::Finish(Op::Next(Op::First(a[i].y), b[i].y), 2));
      out[i].x = a[i].x;
      out[i].y = r;
      differ |= a[i].x != b[i].x;
      bad |= !IsFinite(r);
    }
    return (differ ? kXDiffer : 0) | (bad ? kNonFinite : 0);
  }
  constexpr size_t kBlock = 512;
  typename Op::Acc acc[kBlock];
  for (size_t begin = 0; begin < n; begin += kBlock) {
    const size_t m = std::min(kBlock, n - begin);
    const Pair* __restrict first = p[0] + begin;
#pragma omp simd
    for (size_t i = 0; i < m; ++i) acc[i] = Op::First(first[i].y);
    for (size_t j = 1; j < k; ++j) {
      const Pair* __restrict q = p[j] + begin;
#pragma omp simd reduction(| : differ)
      for (size_t i = 0; i < m; ++i) {
        acc[i] = Op::Next(acc[i], q[i].y);
        differ |= q[i].x != first[i].x;
      }
    }
    Pair* __restrict o = out + begin;
#pragma omp simd reduction(| : bad)
    for (size_t i = 0; i < m; ++i) {
      const float r = ToFloat(Op::Finish(acc[i], k));
      o[i].x = first[i].x;
      o[i].y = r;
      bad |= !IsFinite(r);
    }
  }
  return (differ ? kXDiffer : 0) | (bad ? kNonFinite : 0);
}

// ---------------------------------------------------------------------------------------------
// Matching on x

struct Operands {
  std::vector<const Pair*> p;
  std::vector<size_t> n;
};

Operands Collect(const char* function, const std::vector<const Pairs*>& operands) {
  if (operands.empty()) Raise(function, "needs at least one XY data");
  Operands ops;
  ops.p.reserve(operands.size());
  ops.n.reserve(operands.size());
  for (const Pairs* a : operands) {
    ops.n.push_back(RequirePairs(function, *a));
    ops.p.push_back(a->Data());
  }
  return ops;
}

// Same count and the same x pair by pair.
ODA_VECTOR_CLONES bool SameX(const Operands& ops) {
  const size_t n = ops.n[0];
  const Pair* __restrict a = ops.p[0];
  for (size_t k = 1; k < ops.p.size(); ++k) {
    if (ops.n[k] != n) return false;
    const Pair* __restrict b = ops.p[k];
    if (b == a) continue;
    unsigned differ = 0;
#pragma omp simd reduction(| : differ)
    for (size_t i = 0; i < n; ++i) differ |= a[i].x != b[i].x;
    if (differ) return false;
  }
  return true;
}

// Raises unless every operand's x is a number and non-decreasing.
void RequireNonDecreasing(const char* function, const Operands& ops) {
  for (size_t k = 0; k < ops.p.size(); ++k) {
    const Pair* __restrict p = ops.p[k];
    const size_t n = ops.n[k];
    unsigned bad = 0;
#pragma omp simd reduction(| : bad)
    for (size_t i = 0; i < n; ++i) bad |= p[i].x != p[i].x;
    if (bad) {
      size_t i = 0;
      while (p[i].x == p[i].x) ++i;
      RaiseAt(function, "the x value is not a number", i, p[i].x, p[i].y,
              " in operand " + std::to_string(k + 1));
    }
#pragma omp simd reduction(| : bad)
    for (size_t i = 1; i < n; ++i) bad |= !(p[i].x >= p[i - 1].x);
    if (!bad) continue;
    size_t i = 1;
    while (p[i].x >= p[i - 1].x) ++i;
    RaiseAt(function, "the x values must not decrease", i, p[i].x, p[i].y,
            " in operand " + std::to_string(k + 1));
  }
}

// The value of non-decreasing pairs at x inside their range: the last pair at x, else linear
// interpolation between the pairs around it (whose x differ, so the division is safe).
double Interpolate(const Pair& before, const Pair& after, double x) {
  const double x0 = before.x, y0 = before.y;
  return y0 + (after.y - y0) * ((x - x0) / (after.x - x0));
}

double ValueAt(const Pair* p, size_t n, float x) {
  const Pair* last = std::upper_bound(p, p + n, x, [](float v, const Pair& q) { return v < q.x; });
  const Pair& before = last[-1];
  return before.x == x ? before.y : Interpolate(before, *last, x);
}

// The x range all operands share; begin[j] is operand j's first pair in it, and `bound` the
// number of pairs inside it over all operands, which the union of their x cannot exceed.
struct SharedRange {
  float lo, hi;
  std::vector<size_t> begin;
  size_t bound = 0;
};

SharedRange FindSharedRange(const char* function, const Operands& ops) {
  const size_t k = ops.p.size();
  SharedRange r{ops.p[0][0].x, ops.p[0][ops.n[0] - 1].x, std::vector<size_t>(k), 0};
  for (size_t j = 1; j < k; ++j) {
    r.lo = std::max(r.lo, ops.p[j][0].x);
    r.hi = std::min(r.hi, ops.p[j][ops.n[j] - 1].x);
  }
  if (!(r.lo <= r.hi)) Raise(function, "the XY data have no x range in common");
  for (size_t j = 0; j < k; ++j) {
    const Pair *p = ops.p[j], *end = p + ops.n[j];
    const Pair* first =
        std::lower_bound(p, end, r.lo, [](const Pair& q, float v) { return q.x < v; });
    const Pair* last =
        std::upper_bound(p, end, r.hi, [](float v, const Pair& q) { return v < q.x; });
    r.begin[j] = static_cast<size_t>(first - p);
    r.bound += static_cast<size_t>(last - first);
  }
  return r;
}

// The k-way merge: walks the sorted union of the operands' x values inside their shared range
// once, calling emit(j, x, values) with every operand's value at the j-th x. Returns the count.
// Each step advances at least one operand, so the work is bounded by the pairs times operands.
// Operands must have passed RequireNonDecreasing; even so, the walk never emits more than
// range.bound values nor reads outside an operand, so a caller's buffer of the bound is safe.
template <class Emit>
size_t WalkUnion(const Operands& ops, const SharedRange& range, Emit emit) {
  const size_t k = ops.p.size();
  const float hi = range.hi;
  // next[j]: the first pair of operand j beyond the x last emitted.
  std::vector<size_t> next = range.begin;
  std::vector<double> values(k);
  size_t count = 0;
  for (;;) {
    bool any = false;
    float x = 0;
    for (size_t j = 0; j < k; ++j) {
      if (next[j] < ops.n[j] && (!any || ops.p[j][next[j]].x < x)) {
        x = ops.p[j][next[j]].x;
        any = true;
      }
    }
    if (!any || !(x <= hi) || count == range.bound) break;
    for (size_t j = 0; j < k; ++j) {
      // x >= the range's lo >= the operand's first x, so the pair before next[j] exists; unless
      // it lies at x, x < hi <= the operand's last x, so the pair at next[j] exists too.
      const Pair* p = ops.p[j];
      size_t c = next[j];
      while (c < ops.n[j] && p[c].x <= x) ++c;
      if (c == 0 || (c == ops.n[j] && p[c - 1].x != x)) return count;  // unordered x: stop
      next[j] = c;
      values[j] = p[c - 1].x == x ? p[c - 1].y : Interpolate(p[c - 1], p[c], x);
    }
    emit(count++, x, values.data());
  }
  return count;
}

// The pairs make(x, values) on the union of the operands' x.
template <class Make>
Pairs WalkToPairs(const char* function, const Operands& ops, Make make) {
  RequireNonDecreasing(function, ops);
  const SharedRange range = FindSharedRange(function, ops);
  Pairs out = Pairs::ForOverwrite(range.bound);
  Pair* o = out.MutableData();
  const size_t n =
      WalkUnion(ops, range, [o, make](size_t j, float x, const double* v) { o[j] = make(x, v); });
  if (n >= range.bound / 2) {
    out.Resize(n);
    return out;
  }
  // Much less than the bound (the operands share most x): do not keep the storage of the bound.
  Pairs exact = Pairs::ForOverwrite(n);
  std::memcpy(static_cast<void*>(exact.MutableData()), o, n * sizeof(Pair));
  return exact;
}

template <class Op>
Pairs CombineWith(const char* function, const Operands& ops) {
  const size_t k = ops.p.size();
  Pairs out;
  bool same = std::all_of(ops.n.begin(), ops.n.end(), [&](size_t n) { return n == ops.n[0]; });
  unsigned flags = 0;
  if (same) {
    out = Pairs::ForOverwrite(ops.n[0]);
    flags = CombineByIndex<Op>(ops.p, ops.n[0], out.MutableData());
    same = !(flags & kXDiffer);
  }
  if (!same) {
    out = WalkToPairs(function, ops, [k](float x, const double* v) {
      typename Op::Acc acc = Op::First(v[0]);
      for (size_t i = 1; i < k; ++i) acc = Op::Next(acc, v[i]);
      return Pair{x, ToFloat(Op::Finish(acc, k))};
    });
    flags = AllFinite(out.Data(), out.Size()) ? 0 : kNonFinite;
  }
  if (!(flags & kNonFinite)) return out;
  const Pair* o = out.Data();
  // Name the result pair with the first operand's value there, or the divisor's if it is 0.
  const size_t i = FirstNonFinite(o, out.Size());
  auto valueAt = [&](size_t j) {
    return same ? static_cast<double>(ops.p[j][i].y) : ValueAt(ops.p[j], ops.n[j], o[i].x);
  };
  if constexpr (std::is_same_v<Op, DivideOp>)
    if (valueAt(1) == 0) RaiseResult(function, i, o[i].x, 0.0, o[i].y, true);
  RaiseResult(function, i, o[i].x, valueAt(0), o[i].y);
}

// ---------------------------------------------------------------------------------------------
// Kernels of single-operand functions

// The largest |y|, ignoring NaN so that a NaN is reported at its own pair rather than everywhere.
ODA_VECTOR_CLONES float PeakAbs(const Pair* __restrict p, size_t n) {
  float peak = 0;
#pragma omp simd reduction(max : peak)
  for (size_t i = 0; i < n; ++i) peak = std::max(peak, std::fabs(p[i].y));
  return peak;
}

// The three-point formula on uneven spacing h1, h2, exact for quadratics:
// (h1^2 (y[i+1] - y[i]) + h2^2 (y[i] - y[i-1])) / (h1 h2 (h1 + h2)), with a single division,
// at pairs 1 .. n - 2. False when an x there does not increase or a result is not finite.
ODA_VECTOR_CLONES bool DifferentiateInside(const Pair* __restrict in, Pair* __restrict o,
                                           size_t n) {
  unsigned bad = 0;
#pragma omp simd reduction(| : bad)
  for (size_t i = 1; i < n - 1; ++i) {
    const double h1 = static_cast<double>(in[i].x) - in[i - 1].x;
    const double h2 = static_cast<double>(in[i + 1].x) - in[i].x;
    const double d1 = static_cast<double>(in[i].y) - in[i - 1].y;
    const double d2 = static_cast<double>(in[i + 1].y) - in[i].y;
    const float r = ToFloat((h1 * h1 * d2 + h2 * h2 * d1) / (h1 * h2 * (h1 + h2)));
    o[i].x = in[i].x;
    o[i].y = r;
    bad |= !(h2 > 0) | !IsFinite(r);
  }
  return bad == 0;
}

// The centred average of 2 H + 1 pairs at each pair of [begin, end), summed afresh in double:
// for short windows faster than sliding a sum, and without its rounding history.
template <size_t H>
ODA_VECTOR_CLONES void SmoothDirect(const Pair* __restrict in, Pair* __restrict o, size_t begin,
                                    size_t end) {
#pragma omp simd
  for (size_t i = begin; i < end; ++i) {
    double sum = 0;
    for (size_t j = 0; j <= 2 * H; ++j) sum += in[i - H + j].y;
    o[i].x = in[i].x;
    o[i].y = ToFloat(sum / (2 * H + 1));
  }
}

// ---------------------------------------------------------------------------------------------
// Filters

// The mean x step of evenly sampled, increasing pairs; raises unless every step is near it.
double SamplePeriod(const char* function, const Pair* p, size_t n) {
  if (n < 2) Raise(function, "filtering needs at least two pairs");
  for (size_t i : {size_t{0}, n - 1})  // any other non-finite x fails the spacing below
    if (!std::isfinite(p[i].x))
      RaiseAt(function, "the x value is not a finite number", i, p[i].x, p[i].y);
  const double mean = (static_cast<double>(p[n - 1].x) - p[0].x) / static_cast<double>(n - 1);
  if (!(mean > 0)) {
    size_t i = 1;
    while (i < n - 1 && p[i].x > p[i - 1].x) ++i;
    RaiseAt(function, "the x values must increase", i, p[i].x, p[i].y);
  }
  // Besides the 1 %, a step may be off by the rounding of its two x values to float (at most
  // one unit in the last place of the larger, which |x| FLT_EPSILON bounds): evenly sampled
  // times far from 0, such as 1e6 samples at 1 kHz, are stored with steps several % apart.
  auto uneven = [p, mean](size_t i) {
    const double x0 = p[i - 1].x, x1 = p[i].x;
    const double tolerance = 0.01 * mean + FLT_EPSILON * std::max(std::fabs(x0), std::fabs(x1));
    return !(std::fabs((x1 - x0) - mean) <= tolerance);
  };
  unsigned bad = 0;
#pragma omp simd reduction(| : bad)
  for (size_t i = 1; i < n; ++i) bad |= uneven(i);
  if (bad) {
    size_t i = 1;
    while (!uneven(i)) ++i;
    RaiseAt(function, "the x values must be evenly spaced (each step within 1 % of the mean step)",
            i, p[i].x, p[i].y);
  }
  return mean;
}

void RequireFiniteInput(const char* function, const Pair* p, size_t n) {
  if (AllFinite(p, n)) return;
  const size_t i = FirstNonFinite(p, n);
  RaiseAt(function, "the y value is not a finite number", i, p[i].x, p[i].y);
}

// One section in direct form I, started in the steady state of `initial` (unit gain at 0 Hz, so
// every delayed input and output equals it).
struct Section {
  Biquad c;
  double x1, x2, y1, y2;

  Section(const Biquad& coefficients, double initial)
      : c(coefficients), x1(initial), x2(initial), y1(initial), y2(initial) {}
  double Step(double x) {
    const double y = c.a0 * x + c.a1 * x1 + c.a2 * x2 + c.b1 * y1 + c.b2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
  }
};

}  // namespace

// -----------------------------------------------------------------------------------------------
// Element-wise

Pairs oda_XYDataMath::Unary(const char* function, const Pairs& a, UnaryOp op) {
  const size_t n = RequirePairs(function, a);
  Pairs out = Pairs::ForOverwrite(n);
  const Pair* in = a.Data();
  Pair* o = out.MutableData();
  constexpr double kRadian = std::numbers::pi / 180;
  bool ok = true;
  switch (op) {
    // clang-format off
    case COS:   ok = MapY(in, o, n, [](float y) { return std::cos(y); }); break;
    case SIN:   ok = MapY(in, o, n, [](float y) { return std::sin(y); }); break;
    case TAN:   ok = MapY(in, o, n, [](float y) { return std::tan(y); }); break;
    case ACOS:  ok = MapY(in, o, n, [](float y) { return std::acos(y); }); break;
    case ASIN:  ok = MapY(in, o, n, [](float y) { return std::asin(y); }); break;
    case ATAN:  ok = MapY(in, o, n, [](float y) { return std::atan(y); }); break;
    case COSH:  ok = MapY(in, o, n, [](float y) { return std::cosh(y); }); break;
    case SINH:  ok = MapY(in, o, n, [](float y) { return std::sinh(y); }); break;
    case TANH:  ok = MapY(in, o, n, [](float y) { return std::tanh(y); }); break;
    case LOG:   ok = MapY(in, o, n, [](float y) { return std::log(y); }); break;
    case LOG10: ok = MapY(in, o, n, [](float y) { return std::log10(y); }); break;
    case EXP:   ok = MapY(in, o, n, [](float y) { return std::exp(y); }); break;
    case SQRT:  ok = MapY(in, o, n, [](float y) { return std::sqrt(y); }); break;
    case DEGREE_TO_RADIAN:
      ok = MapY(in, o, n, [](float y) { return ToFloat(y * kRadian); });
      break;
    case RADIAN_TO_DEGREE:
      ok = MapY(in, o, n, [](float y) { return ToFloat(y / kRadian); });
      break;
    case NEGATE:   ok = MapY(in, o, n, [](float y) { return -y; }); break;
    case ABSOLUTE: ok = MapY(in, o, n, [](float y) { return std::fabs(y); }); break;
      // clang-format on
  }
  if (!ok) CheckResult(function, in, o, n);
  return out;
}

double oda_XYDataMath::UnaryNumber(const char* function, double value, UnaryOp op) {
  double r = value;
  switch (op) {
    // clang-format off
    case COS:   r = std::cos(value); break;
    case SIN:   r = std::sin(value); break;
    case TAN:   r = std::tan(value); break;
    case ACOS:  r = std::acos(value); break;
    case ASIN:  r = std::asin(value); break;
    case ATAN:  r = std::atan(value); break;
    case COSH:  r = std::cosh(value); break;
    case SINH:  r = std::sinh(value); break;
    case TANH:  r = std::tanh(value); break;
    case LOG:   r = std::log(value); break;
    case LOG10: r = std::log10(value); break;
    case EXP:   r = std::exp(value); break;
    case SQRT:  r = std::sqrt(value); break;
    case DEGREE_TO_RADIAN: r = value * (std::numbers::pi / 180); break;
    case RADIAN_TO_DEGREE: r = value / (std::numbers::pi / 180); break;
    case NEGATE:   r = -value; break;
    case ABSOLUTE: r = std::fabs(value); break;
      // clang-format on
  }
  if (!std::isfinite(r))
    Raise(function, std::string(std::isnan(r) ? "the result is not a real number"
                                              : "the result is infinite") +
                        " for " + Number(value));
  return r;
}

Pairs oda_XYDataMath::Power(const char* function, const Pairs& a, double exponent) {
  const size_t n = RequirePairs(function, a);
  Pairs out = Pairs::ForOverwrite(n);
  const Pair* in = a.Data();
  Pair* o = out.MutableData();
  bool ok;
  const float e = static_cast<float>(exponent);
  if (exponent == 2)
    ok = MapY(in, o, n, [](float y) { return y * y; });
  else if (static_cast<double>(e) == exponent)  // the single-precision kernel loses nothing
    ok = MapY(in, o, n, [e](float y) { return std::pow(y, e); });
  else
    ok = MapY(in, o, n, [exponent](float y) { return ToFloat(std::pow(double(y), exponent)); });
  if (!ok) CheckResult(function, in, o, n);
  return out;
}

Pairs oda_XYDataMath::WithNumber(const char* function, const Pairs& a, char op, double number,
                                 bool numberFirst) {
  const size_t n = RequirePairs(function, a);
  const Pair* in = a.Data();
  if (op == '/' && !numberFirst && number == 0)
    RaiseResult(function, 0, in[0].x, in[0].y, 0.0, true);
  Pairs out = Pairs::ForOverwrite(n);
  Pair* o = out.MutableData();
  const double c = number;
  bool ok = true;
  switch (numberFirst ? -op : op) {  // negated: the number comes first
    // clang-format off
    case '+':  ok = MapY(in, o, n, [c](float y) { return ToFloat(y + c); }); break;
    case '-':  ok = MapY(in, o, n, [c](float y) { return ToFloat(y - c); }); break;
    case '*':  ok = MapY(in, o, n, [c](float y) { return ToFloat(y * c); }); break;
    case '/':  ok = MapY(in, o, n, [c](float y) { return ToFloat(y / c); }); break;
    case -'+': ok = MapY(in, o, n, [c](float y) { return ToFloat(c + y); }); break;
    case -'-': ok = MapY(in, o, n, [c](float y) { return ToFloat(c - y); }); break;
    case -'*': ok = MapY(in, o, n, [c](float y) { return ToFloat(c * y); }); break;
    case -'/': ok = MapY(in, o, n, [c](float y) { return ToFloat(c / y); }); break;
    default: Raise(function, std::string("unsupported operator '") + op + "'");
      // clang-format on
  }
  if (!ok) {
    const size_t i = FirstNonFinite(o, n);
    RaiseResult(function, i, in[i].x, in[i].y, o[i].y, numberFirst && op == '/' && in[i].y == 0);
  }
  return out;
}

Pairs oda_XYDataMath::Running(const char* function, const Pairs& a, RunningOp op) {
  const size_t n = RequirePairs(function, a);
  Pairs out = Pairs::ForOverwrite(n);
  const Pair* __restrict in = a.Data();
  Pair* __restrict o = out.MutableData();
  // Prefix scans: inherently sequential, but one pass without a branch that could mispredict.
  double hi = in[0].y, lo = in[0].y, sum = 0;
  switch (op) {
    case CURRENT_MAX:
      for (size_t i = 0; i < n; ++i) {
        hi = MaxNan(hi, in[i].y);
        o[i] = {in[i].x, ToFloat(hi)};
      }
      break;
    case CURRENT_MIN:
      for (size_t i = 0; i < n; ++i) {
        lo = MinNan(lo, in[i].y);
        o[i] = {in[i].x, ToFloat(lo)};
      }
      break;
    case CURRENT_RANGE:
      for (size_t i = 0; i < n; ++i) {
        hi = MaxNan(hi, in[i].y);
        lo = MinNan(lo, in[i].y);
        o[i] = {in[i].x, ToFloat(hi - lo)};
      }
      break;
    case CURRENT_AVERAGE:
      for (size_t i = 0; i < n; ++i) {
        sum += in[i].y;
        o[i] = {in[i].x, ToFloat(sum / static_cast<double>(i + 1))};
      }
      break;
  }
  CheckResult(function, in, o, n);
  return out;
}

// -----------------------------------------------------------------------------------------------
// Several operands

Pairs oda_XYDataMath::Combine(const char* function, const std::vector<const Pairs*>& operands,
                              CombineOp op) {
  const size_t k = operands.size();
  if (op >= ADD && k != 2) Raise(function, "needs exactly two XY data");
  if (op == VECTOR_MAGNITUDE && (k < 1 || k > 3)) Raise(function, "needs one to three XY data");
  const Operands ops = Collect(function, operands);
  switch (op) {
    case MAX_ENVELOPE:
      return CombineWith<MaxEnvelopeOp>(function, ops);
    case MIN_ENVELOPE:
      return CombineWith<MinEnvelopeOp>(function, ops);
    case RANGE:
      return CombineWith<RangeOp>(function, ops);
    case AVERAGE:
      return CombineWith<AverageOp>(function, ops);
    case SUM:
    case ADD:
      return CombineWith<SumOp>(function, ops);
    case SRSS:
    case VECTOR_MAGNITUDE:
      return CombineWith<SrssOp>(function, ops);
    case SUBTRACT:
      return CombineWith<SubtractOp>(function, ops);
    case MULTIPLY:
      return CombineWith<MultiplyOp>(function, ops);
    case DIVIDE:
      return CombineWith<DivideOp>(function, ops);
  }
  Raise(function, "unsupported operation");
}

oda_XYDataMath::Merged oda_XYDataMath::Merge(const char* function,
                                             const std::vector<const Pairs*>& operands) {
  const Operands ops = Collect(function, operands);
  const size_t k = ops.p.size();
  Merged m;
  m.values.resize(k);
  if (SameX(ops)) {
    const size_t n = ops.n[0];
    m.x.resize(n);
    for (size_t i = 0; i < n; ++i) m.x[i] = ops.p[0][i].x;
    for (size_t j = 0; j < k; ++j) {
      m.values[j].resize(n);
      for (size_t i = 0; i < n; ++i) m.values[j][i] = ops.p[j][i].y;
    }
    return m;
  }
  RequireNonDecreasing(function, ops);
  const SharedRange range = FindSharedRange(function, ops);
  m.x.reserve(range.bound);
  for (auto& v : m.values) v.reserve(range.bound);
  const size_t n = WalkUnion(ops, range, [&](size_t, float x, const double* v) {
    m.x.push_back(x);
    for (size_t j = 0; j < k; ++j) m.values[j].push_back(ToFloat(v[j]));
  });
  if (n < range.bound / 2) {
    m.x.shrink_to_fit();
    for (auto& v : m.values) v.shrink_to_fit();
  }
  return m;
}

Pairs oda_XYDataMath::CombineXY(const char* function, const Pairs& a, const Pairs& b) {
  const Operands ops = Collect(function, {&a, &b});
  Pairs out;
  if (SameX(ops)) {
    const size_t n = ops.n[0];
    out = Pairs::ForOverwrite(n);
    const Pair* __restrict pa = ops.p[0];
    const Pair* __restrict pb = ops.p[1];
    Pair* __restrict o = out.MutableData();
#pragma omp simd
    for (size_t i = 0; i < n; ++i) o[i] = {pa[i].y, pb[i].y};
  } else {
    out = WalkToPairs(function, ops, [](float, const double* v) {
      return Pair{ToFloat(v[0]), ToFloat(v[1])};
    });
  }
  // The values come from the operands unchanged or interpolated: only a non-finite operand
  // value can make them non-finite.
  const Pair* o = out.Data();
  for (size_t i = 0; i < out.Size(); ++i)
    if (!IsFinite(o[i].x) || !IsFinite(o[i].y))
      RaiseAt(function, "the value is not a finite number", i, o[i].x, o[i].y);
  return out;
}

Pairs oda_XYDataMath::Append(const std::vector<const Pairs*>& operands) {
  size_t n = 0;
  for (const Pairs* a : operands) n += a->Size();
  Pairs out = Pairs::ForOverwrite(n);
  Pair* o = out.MutableData();
  for (const Pairs* a : operands) {
    if (a->IsEmpty()) continue;
    std::memcpy(static_cast<void*>(o), a->Data(), a->Size() * sizeof(Pair));
    o += a->Size();
  }
  return out;
}

// -----------------------------------------------------------------------------------------------
// One operand, whole data

Pairs oda_XYDataMath::Normalize(const char* function, const Pairs& a) {
  const size_t n = RequirePairs(function, a);
  const Pair* in = a.Data();
  const float peak = PeakAbs(in, n);
  if (peak == 0) {
    for (size_t i = 0; i < n; ++i)  // NaN and zeros only: the NaN is the fault
      if (std::isnan(in[i].y)) RaiseResult(function, i, in[i].x, in[i].y, in[i].y);
    Raise(function, "the y values are all zero");
  }
  Pairs out = Pairs::ForOverwrite(n);
  Pair* o = out.MutableData();
  if (!MapY(in, o, n, [peak](float y) { return y / peak; })) CheckResult(function, in, o, n);
  return out;
}

Pairs oda_XYDataMath::Swap(const Pairs& a) {
  const size_t n = a.Size();
  Pairs out = Pairs::ForOverwrite(n);
  if (n == 0) return out;
  const Pair* __restrict in = a.Data();
  Pair* __restrict o = out.MutableData();
#pragma omp simd
  for (size_t i = 0; i < n; ++i) o[i] = {in[i].y, in[i].x};
  return out;
}

Pairs oda_XYDataMath::Differentiate(const char* function, const Pairs& a) {
  const size_t n = RequirePairs(function, a);
  if (n < 2) Raise(function, "differentiating needs at least two pairs");
  const Pair* in = a.Data();
  Pairs out = Pairs::ForOverwrite(n);
  Pair* o = out.MutableData();
  auto slope = [in](size_t i) {
    return ToFloat((static_cast<double>(in[i + 1].y) - in[i].y) /
                   (static_cast<double>(in[i + 1].x) - in[i].x));
  };
  o[0] = {in[0].x, slope(0)};
  o[n - 1] = {in[n - 1].x, slope(n - 2)};
  const bool ok = DifferentiateInside(in, o, n) && in[1].x > in[0].x && IsFinite(o[0].y) &&
                  IsFinite(o[n - 1].y);
  if (!ok) {
    // Strictly increasing x: a repeat would divide by zero, and where x turns back the
    // three-point weights lose their meaning (and h1 + h2 may be zero).
    for (size_t i = 1; i < n; ++i)
      if (!(in[i].x > in[i - 1].x))
        RaiseAt(function,
                in[i].x == in[i - 1].x ? "the x values repeat" : "the x values must not decrease",
                i, in[i].x, in[i].y);
    CheckResult(function, in, o, n);
  }
  return out;
}

Pairs oda_XYDataMath::Integrate(const char* function, const Pairs& a) {
  const size_t n = RequirePairs(function, a);
  Pairs out = Pairs::ForOverwrite(n);
  const Pair* __restrict in = a.Data();
  Pair* __restrict o = out.MutableData();
  o[0] = {in[0].x, 0.0f};
  // The running sum is a dependency chain; two steps per iteration put one addition on it per
  // two pairs, the rest of the arithmetic runs alongside.
  double sum = 0;
  size_t i = 1;
  auto area = [in](size_t j) {
    return (static_cast<double>(in[j].x) - in[j - 1].x) *
           (0.5 * (static_cast<double>(in[j].y) + in[j - 1].y));
  };
  for (; i + 1 < n; i += 2) {
    const double first = area(i), second = area(i + 1);
    const double both = first + second;
    o[i] = {in[i].x, ToFloat(sum + first)};
    sum += both;
    o[i + 1] = {in[i + 1].x, ToFloat(sum)};
  }
  if (i < n) o[i] = {in[i].x, ToFloat(sum + area(i))};
  CheckResult(function, in, o, n);
  return out;
}

Pairs oda_XYDataMath::Smooth(const char* function, const Pairs& a, int window) {
  if (window < 1 || window % 2 == 0)
    Raise(function, "the window must be an odd number of at least 1");
  const size_t n = RequirePairs(function, a);
  const Pair* __restrict in = a.Data();
  Pairs out = Pairs::ForOverwrite(n);
  Pair* __restrict o = out.MutableData();
  const size_t half = static_cast<size_t>(window / 2);
  if (half >= 1 && half <= 7 && n > 2 * half) {
    // Short windows: the narrowed ends directly, the rest by the vector kernel.
    auto average = [in](size_t i, size_t k) {
      double sum = 0;
      for (size_t j = i - k; j <= i + k; ++j) sum += in[j].y;
      return ToFloat(sum / static_cast<double>(2 * k + 1));
    };
    for (size_t i = 0; i < half; ++i) {
      o[i] = {in[i].x, average(i, i)};
      o[n - 1 - i] = {in[n - 1 - i].x, average(n - 1 - i, i)};
    }
    constexpr void (*kKernels[])(const Pair*, Pair*, size_t, size_t) = {
        SmoothDirect<1>, SmoothDirect<2>, SmoothDirect<3>, SmoothDirect<4>,
        SmoothDirect<5>, SmoothDirect<6>, SmoothDirect<7>};
    kKernels[half - 1](in, o, half, n - half);
    CheckResult(function, in, o, n);
    return out;
  }
  // A sliding window sum, compensated (Neumaier) so that the rounding left behind by a large
  // value does not outlive it once it has left the window. Each pair enters and leaves once.
  double sum = 0, carry = 0;
  auto add = [&](double v) {
    const double t = sum + v;
    carry += std::fabs(sum) >= std::fabs(v) ? (sum - t) + v : (v - t) + sum;
    sum = t;
  };
  size_t begin = 0, end = 0;  // the window [begin, end)
  for (size_t i = 0; i < n; ++i) {
    const size_t k = std::min({half, i, n - 1 - i});
    for (; end < i + k + 1; ++end) add(in[end].y);
    for (; begin < i - k; ++begin) add(-static_cast<double>(in[begin].y));
    o[i] = {in[i].x, ToFloat((sum + carry) / static_cast<double>(2 * k + 1))};
  }
  CheckResult(function, in, o, n);
  return out;
}

// -----------------------------------------------------------------------------------------------
// Filters

oda_XYDataMath::Biquad oda_XYDataMath::SaeCoefficients(double cfc, double samplePeriod) {
  const double wd = 2 * std::numbers::pi * cfc * 2.0775;
  const double wa = std::sin(wd * samplePeriod / 2) / std::cos(wd * samplePeriod / 2);
  const double d = 1 + std::numbers::sqrt2 * wa + wa * wa;
  const double a0 = wa * wa / d;
  return {a0, 2 * a0, a0, -2 * (wa * wa - 1) / d, (-1 + std::numbers::sqrt2 * wa - wa * wa) / d};
}

std::vector<oda_XYDataMath::Biquad> oda_XYDataMath::ButterworthSections(double cutoff,
                                                                        double samplePeriod,
                                                                        int order) {
  // The analog prototype's poles in conjugate pairs give s^2 + q s + 1 with
  // q = 2 sin((2k + 1) pi / (2 order)); with K = tan(pi cutoff T), the pre-warped bilinear
  // transform of cutoff^2 / (s^2 + q cutoff s + cutoff^2) is
  // K^2 (z + 1)^2 / ((1 + q K + K^2) z^2 + 2 (K^2 - 1) z + (1 - q K + K^2)).
  const double k = std::tan(std::numbers::pi * cutoff * samplePeriod);
  std::vector<Biquad> sections;
  for (int i = 0; i < order / 2; ++i) {
    const double q = 2 * std::sin((2 * i + 1) * std::numbers::pi / (2 * order));
    const double d = 1 + q * k + k * k;
    const double a0 = k * k / d;
    sections.push_back({a0, 2 * a0, a0, -2 * (k * k - 1) / d, -(1 - q * k + k * k) / d});
  }
  if (order % 2 == 1) {
    // The real pole: cutoff / (s + cutoff) becomes K (z + 1) / ((1 + K) z + (K - 1)).
    const double a0 = k / (1 + k);
    sections.push_back({a0, a0, 0, (1 - k) / (1 + k), 0});
  }
  return sections;
}

Pairs oda_XYDataMath::SaeFilter(const char* function, const Pairs& a, double cfc) {
  const size_t n = RequirePairs(function, a);
  if (!(cfc > 0) || !std::isfinite(cfc)) Raise(function, "the channel class must be above 0");
  const Pair* in = a.Data();
  const double period = SamplePeriod(function, in, n);
  // The design frequency 2.0775 cfc must stay below half the sample rate, where the prewarping
  // tangent would turn negative and the filter unstable.
  const double limit = 0.5 / period / 2.0775;
  if (!(cfc < limit))
    Raise(function, "the channel class must be below " + Number(limit) + " for a sample rate of " +
                        Number(1 / period) + " Hz");
  RequireFiniteInput(function, in, n);
  const Biquad c = SaeCoefficients(cfc, period);
  Pairs out = Pairs::ForOverwrite(n);
  Pair* o = out.MutableData();
  Section forward(c, in[0].y);
  for (size_t i = 0; i < n; ++i) o[i] = {in[i].x, ToFloat(forward.Step(in[i].y))};
  Section backward(c, o[n - 1].y);
  for (size_t i = n; i-- > 0;) o[i].y = ToFloat(backward.Step(o[i].y));
  CheckResult(function, in, o, n);
  return out;
}

Pairs oda_XYDataMath::ButterworthLowPass(const char* function, const Pairs& a, double cutoff,
                                         int order) {
  const size_t n = RequirePairs(function, a);
  if (order < 1 || order > 8) Raise(function, "the order must be from 1 to 8");
  const Pair* in = a.Data();
  const double period = SamplePeriod(function, in, n);
  const double nyquist = 0.5 / period;
  if (!(cutoff > 0 && cutoff < nyquist))
    Raise(function, "the cutoff frequency must be above 0 and below half the sample rate (" +
                        Number(nyquist) + " Hz)");
  RequireFiniteInput(function, in, n);
  const std::vector<Biquad> coefficients = ButterworthSections(cutoff, period, order);
  std::vector<Section> sections;
  for (const Biquad& c : coefficients) sections.emplace_back(c, in[0].y);
  Pairs out = Pairs::ForOverwrite(n);
  Pair* o = out.MutableData();
  // All sections per sample in one pass: section j at t overlaps section j - 1 at t + 1.
  for (size_t i = 0; i < n; ++i) {
    double v = in[i].y;
    for (Section& s : sections) v = s.Step(v);
    o[i] = {in[i].x, ToFloat(v)};
  }
  CheckResult(function, in, o, n);
  return out;
}
