#pragma once
// The numerical operations behind the XY data math functions and arithmetic. Each takes the
// pairs of its operands and returns new pairs in one pass over contiguous single-precision
// storage, without a per-pair allocation; the scripting layer (oda_XYDataCommonIntObj) reads the
// arguments and wraps the result.
//
// Errors raise omu_ValueErrorException with a message that starts with the function name given
// as `function` and names the first offending pair:
//   "<function>: <reason> at pair <i> (x = <x>, y = <y>)"
// e.g. "log: the result is not a real number at pair 3 (x = 2, y = -1)". A result that is not a
// finite real number at some pair (log of y <= 0, sqrt of y < 0, acos outside [-1, 1], a
// division by zero, an overflow to infinity) is such an error: never a silent NaN or infinity.
// An operand without pairs raises "<function>: the XY data has no pairs". A NaN result is
// "the result is not a real number", an infinite one "the result is infinite", and a zero
// divisor "division by zero"; the pair named is the operand's pair the result was computed from
// (for several operands see Combine). Numbers are printed with "%.9g".
#include <cstddef>
#include <vector>

#include "cow_1DArrayList.h"
#include "udd_PairEntry.h"

class oda_XYDataMath {
 public:
  using Pairs = cow_1DArrayList<udd_PairEntry>;

  // y -> f(y), x kept.
  // clang-format off
  enum UnaryOp {
    COS, SIN, TAN, ACOS, ASIN, ATAN, COSH, SINH, TANH,
    LOG,      // natural
    LOG10, EXP, SQRT,
    DEGREE_TO_RADIAN, RADIAN_TO_DEGREE,
    NEGATE, ABSOLUTE
  };
  // clang-format on
  static Pairs Unary(const char* function, const Pairs& a, UnaryOp op);
  // The same operation on one number (for the functions given a plain number), in double
  // precision; raises like Unary when the result is not a finite real number, naming the number:
  // "log: the result is not a real number for -1".
  static double UnaryNumber(const char* function, double value, UnaryOp op);
  // y -> y ** exponent.
  static Pairs Power(const char* function, const Pairs& a, double exponent);
  // y -> y (op) number, or number (op) y when numberFirst; op is '+', '-', '*' or '/'. Division
  // by a number 0 raises at pair 0.
  static Pairs WithNumber(const char* function, const Pairs& a, char op, double number,
                          bool numberFirst);

  // Running values over pairs 0 .. i, x kept.
  enum RunningOp { CURRENT_MAX, CURRENT_MIN, CURRENT_RANGE, CURRENT_AVERAGE };
  static Pairs Running(const char* function, const Pairs& a, RunningOp op);

  // Pair by pair over several operands matched on x (see Merge), computed in double precision.
  // ADD .. DIVIDE need exactly two operands ("<function>: needs exactly two XY data"),
  // VECTOR_MAGNITUDE one to three ("<function>: needs one to three XY data"), the others at least
  // one. A non-finite result names the pair of the result (its index and x) with the first
  // operand's y there, or with the divisor's y when DIVIDE divides by zero.
  // clang-format off
  enum CombineOp {
    MAX_ENVELOPE, MIN_ENVELOPE,
    RANGE,             // max - min
    AVERAGE, SUM,
    SRSS,              // sqrt of the sum of squares
    VECTOR_MAGNITUDE,  // the same, of one to three operands
    ADD, SUBTRACT, MULTIPLY, DIVIDE  // of exactly two operands, first (op) second
  };
  // clang-format on
  static Pairs Combine(const char* function, const std::vector<const Pairs*>& operands,
                       CombineOp op);

  // Matching on x: when every operand has the same x values (same count, equal pair by pair),
  // the operands pair by index and `x` is their x. Otherwise every operand's x must be
  // non-decreasing ("<function>: the x values must not decrease at pair <i> ..." of the operand,
  // naming it by position from 1: "in operand <k>"), and `x` is the sorted union of their x values
  // inside the range they all share, each value once; `values[k][j]` is operand k linearly
  // interpolated at x[j] (at an x an operand repeats, its last pair there). No shared range
  // raises "<function>: the XY data have no x range in common". One operand: its own x.
  struct Merged {
    std::vector<float> x;
    std::vector<std::vector<float>> values;  // one per operand, each of x.size()
  };
  static Merged Merge(const char* function, const std::vector<const Pairs*>& operands);

  // y / max |y|; all zeros raises "<function>: the y values are all zero".
  static Pairs Normalize(const char* function, const Pairs& a);
  // (y, x).
  static Pairs Swap(const Pairs& a);
  // (y of a, y of b) on the merged x values of the two; a non-finite value raises
  // "<function>: the value is not a finite number at pair <i> ..." naming the result pair.
  static Pairs CombineXY(const char* function, const Pairs& a, const Pairs& b);
  // The pairs of each operand in turn.
  static Pairs Append(const std::vector<const Pairs*>& operands);
  // dy/dx: second-order central differences on uneven spacing inside, one-sided first-order
  // differences at the two ends. The x values must increase strictly: a repeated x raises
  // "<function>: the x values repeat at pair <i> ...", a smaller one "<function>: the x values
  // must not decrease at pair <i> ..." (where x turns back the three-point weights are
  // meaningless and may divide by zero). A single pair raises
  // "<function>: differentiating needs at least two pairs".
  static Pairs Differentiate(const char* function, const Pairs& a);
  // Running trapezoidal integral, 0 at the first pair.
  static Pairs Integrate(const char* function, const Pairs& a);
  // Centred moving average over `window` pairs (odd, >= 1; an even or smaller one raises
  // "<function>: the window must be an odd number of at least 1"), narrowing evenly at the
  // ends: pair i averages pairs i - k .. i + k with k = min(window / 2, i, n - 1 - i).
  static Pairs Smooth(const char* function, const Pairs& a, int window);

  // Channel frequency class filter: the two-pole Butterworth low-pass of the channel class
  // `cfc` (> 0) with the coefficients the automotive crash-test instrumentation standard gives
  // for the class and the sample period, run forward then backward (phaseless, four-pole in
  // effect). Needs evenly sampled, increasing x (every step within 1 % of the mean step, plus
  // the float rounding of its two x values, which far from 0 is larger than 1 % of a step; else
  // "<function>: the x values must be evenly spaced (each step within 1 % of the mean step) at
  // pair <i> ..."; a mean step <= 0 raises "the x values must increase" at the first step that
  // does not), at least two pairs ("<function>: filtering needs at least two pairs") and finite
  // values ("the x value is not a finite number at pair <i> ...", the same for y). Each pass
  // starts in the steady state of its first value, so a constant passes unchanged. The design
  // frequency 2.0775 cfc must be below half the sample rate, where the filter would turn
  // unstable ("<function>: the channel class must be below <limit> for a sample rate of
  // <rate> Hz").
  static Pairs SaeFilter(const char* function, const Pairs& a, double cfc);
  // Butterworth low-pass of order 1 .. 8 with -3 dB at `cutoff` (Hz, 0 < cutoff < half the
  // sample rate, else "<function>: the cutoff frequency must be above 0 and below half the
  // sample rate (<rate / 2> Hz)"), bilinear transform with pre-warping, run forward once from
  // the steady state of the first value. Same sampling rules; another order raises
  // "<function>: the order must be from 1 to 8".
  static Pairs ButterworthLowPass(const char* function, const Pairs& a, double cutoff, int order);

  // The standard's coefficients for a class and a sample period T (seconds):
  // y[t] = a0 x[t] + a1 x[t-1] + a2 x[t-2] + b1 y[t-1] + b2 y[t-2].
  struct Biquad {
    double a0, a1, a2, b1, b2;
  };
  static Biquad SaeCoefficients(double cfc, double samplePeriod);
  // The cascade of second-order (and for odd orders one first-order, with a2 = b2 = 0)
  // sections of the Butterworth low-pass, in the same form, each of unit gain at 0 Hz. The
  // caller checks the order and the cutoff.
  static std::vector<Biquad> ButterworthSections(double cutoff, double samplePeriod, int order);
};
