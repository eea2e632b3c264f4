// The numerical operations on XY data: element-wise functions, running values, matching several
// operands on x, calculus, smoothing and the low-pass filters, with their error messages.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "oda_XYDataMath.h"
#include "omu_ValueErrorException.h"

namespace {

using M = oda_XYDataMath;
using Pairs = M::Pairs;

Pairs Make(const std::vector<float>& x, const std::vector<float>& y) {
  Pairs p(x.size());
  for (size_t i = 0; i < x.size(); ++i) p.Set(i, {x[i], y[i]});
  return p;
}

// Evenly sampled f(t) at `rate` samples per second over `seconds`.
Pairs Sampled(double rate, double seconds, const std::function<double(double)>& f) {
  const size_t n = static_cast<size_t>(rate * seconds);
  Pairs p(n);
  for (size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / rate;
    p.Set(i, {static_cast<float>(t), static_cast<float>(f(t))});
  }
  return p;
}

std::string ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const omu_ValueErrorException& e) {
    return e.what();
  }
  return "(no error)";
}
#define EXPECT_RAISES(call, message) EXPECT_EQ(ErrorOf([&] { call; }), message)

void ExpectY(const Pairs& p, const std::vector<double>& y, double tolerance = 1e-6) {
  ASSERT_EQ(p.Size(), y.size());
  for (size_t i = 0; i < y.size(); ++i)
    EXPECT_NEAR(p[i].y, y[i], tolerance * std::max(1.0, std::fabs(y[i]))) << "pair " << i;
}

// Largest |y| over pairs [begin, end).
double Peak(const Pairs& p, size_t begin, size_t end) {
  double peak = 0;
  for (size_t i = begin; i < end; ++i) peak = std::max(peak, std::fabs(double(p[i].y)));
  return peak;
}

const Pairs kPositive = Make({0, 1, 2, 3}, {0.5f, 1, 2, 4});

TEST(XYMathElementwise, FunctionsOfY) {
  ExpectY(M::Unary("log", kPositive, M::LOG), {std::log(0.5), 0, std::log(2), std::log(4)});
  ExpectY(M::Unary("sqrt", kPositive, M::SQRT), {std::sqrt(0.5), 1, std::sqrt(2), 2});
  ExpectY(M::Unary("exp", kPositive, M::EXP),
          {std::exp(0.5), std::exp(1), std::exp(2), std::exp(4)});
  ExpectY(M::Unary("neg", kPositive, M::NEGATE), {-0.5, -1, -2, -4});
  ExpectY(M::Unary("rad", Make({0}, {180}), M::DEGREE_TO_RADIAN), {std::numbers::pi});
  const Pairs x = M::Unary("log10", kPositive, M::LOG10);
  EXPECT_EQ(x[3].x, 3.0f);
  EXPECT_NEAR(x[3].y, std::log10(4.0), 1e-6);
  // Long enough for the vector loop and its tail; against double precision.
  const Pairs wave = Sampled(1000, 1.003, [](double t) { return 7 * t - 3; });
  const Pairs s = M::Unary("sin", wave, M::SIN);
  for (size_t i = 0; i < wave.Size(); ++i) ASSERT_NEAR(s[i].y, std::sin(double(wave[i].y)), 1e-6);

  EXPECT_DOUBLE_EQ(M::UnaryNumber("log", std::numbers::e, M::LOG), 1.0);
  EXPECT_DOUBLE_EQ(M::UnaryNumber("deg", std::numbers::pi, M::RADIAN_TO_DEGREE), 180.0);

  ExpectY(M::Power("pow", kPositive, 3), {0.125, 1, 8, 64});
  ExpectY(M::Power("pow", kPositive, 1.0 / 3), {std::cbrt(0.5), 1, std::cbrt(2), std::cbrt(4)});
  ExpectY(M::Power("pow", kPositive, -0.5), {std::sqrt(2), 1, 1 / std::sqrt(2), 0.5});
  ExpectY(M::WithNumber("sub", kPositive, '-', 1, false), {-0.5, 0, 1, 3});
  ExpectY(M::WithNumber("sub", kPositive, '-', 1, true), {0.5, 0, -1, -3});
  ExpectY(M::WithNumber("div", kPositive, '/', 4, false), {0.125, 0.25, 0.5, 1});
  ExpectY(M::WithNumber("div", kPositive, '/', 4, true), {8, 4, 2, 1});
  ExpectY(M::WithNumber("mul", kPositive, '*', 0.1, false), {0.05, 0.1, 0.2, 0.4});
}

TEST(XYMathElementwise, NonFiniteResultsRaise) {
  const Pairs a = Make({0, 0.5f, 1, 2}, {1, 2, 0.5f, -1});
  EXPECT_RAISES(M::Unary("log", a, M::LOG),
                "log: the result is not a real number at pair 3 (x = 2, y = -1)");
  EXPECT_RAISES(M::Unary("sqrt", a, M::SQRT),
                "sqrt: the result is not a real number at pair 3 (x = 2, y = -1)");
  EXPECT_RAISES(M::Unary("log", Make({5, 6}, {1, 0}), M::LOG),
                "log: the result is infinite at pair 1 (x = 6, y = 0)");
  EXPECT_RAISES(M::Unary("exp", Make({1}, {100}), M::EXP),
                "exp: the result is infinite at pair 0 (x = 1, y = 100)");
  EXPECT_RAISES(M::Unary("acos", Make({0, 1}, {1, 1.5f}), M::ACOS),
                "acos: the result is not a real number at pair 1 (x = 1, y = 1.5)");
  EXPECT_RAISES(M::Unary("sqrt", Pairs(), M::SQRT), "sqrt: the XY data has no pairs");
  EXPECT_RAISES(M::UnaryNumber("log", -1, M::LOG), "log: the result is not a real number for -1");
  EXPECT_RAISES(M::Power("pow", a, 0.5),
                "pow: the result is not a real number at pair 3 (x = 2, y = -1)");
  EXPECT_RAISES(M::Power("pow", Make({0, 1}, {2, 0}), -1),
                "pow: the result is infinite at pair 1 (x = 1, y = 0)");
  EXPECT_RAISES(M::WithNumber("div", Make({0, 1}, {2, 0}), '/', 3, true),
                "div: division by zero at pair 1 (x = 1, y = 0)");
  EXPECT_RAISES(M::WithNumber("div", a, '/', 0, false),
                "div: division by zero at pair 0 (x = 0, y = 1)");
  EXPECT_RAISES(M::WithNumber("mul", a, '*', 3e38, false),
                "mul: the result is infinite at pair 1 (x = 0.5, y = 2)");
}

TEST(XYMathRunning, PrefixValues) {
  const Pairs a = Make({0, 1, 2, 3, 4}, {3, 1, 4, 1, 5});
  ExpectY(M::Running("max", a, M::CURRENT_MAX), {3, 3, 4, 4, 5});
  ExpectY(M::Running("min", a, M::CURRENT_MIN), {3, 1, 1, 1, 1});
  ExpectY(M::Running("rng", a, M::CURRENT_RANGE), {0, 2, 3, 3, 4});
  ExpectY(M::Running("avg", a, M::CURRENT_AVERAGE), {3, 2, 8.0 / 3, 9.0 / 4, 14.0 / 5});
  // A NaN is reported where it is, not skipped by the comparison.
  const Pairs nan = Make({0, 1, 2}, {1, NAN, 0});
  EXPECT_RAISES(M::Running("max", nan, M::CURRENT_MAX),
                "max: the result is not a real number at pair 1 (x = 1, y = nan)");
  EXPECT_RAISES(M::Running("min", nan, M::CURRENT_MIN),
                "min: the result is not a real number at pair 1 (x = 1, y = nan)");
}

// b repeats x = 2 (7, then 9): the last pair holds at 2, the first bounds the interval before.
const Pairs kLine = Make({0, 1, 2, 3, 4}, {0, 10, 20, 30, 40});
const Pairs kOther = Make({0.5f, 2, 2, 3.5f, 6}, {5, 7, 9, 12, 0});

TEST(XYMathMerge, UnionOfGridsInsideSharedRange) {
  const M::Merged m = M::Merge("merge", {&kLine, &kOther});
  EXPECT_EQ(m.x, (std::vector<float>{0.5f, 1, 2, 3, 3.5f, 4}));
  ASSERT_EQ(m.values.size(), 2u);
  EXPECT_EQ(m.values[0], (std::vector<float>{5, 10, 20, 30, 35, 40}));
  const std::vector<double> b = {5, 5 + 2 / 3.0, 9, 11, 12, 9.6};
  for (size_t i = 0; i < b.size(); ++i) EXPECT_NEAR(m.values[1][i], b[i], 1e-5) << i;

  const Pairs sum = M::Combine("sum", {&kLine, &kOther}, M::SUM);
  ExpectY(sum, {10, 15 + 2 / 3.0, 29, 41, 47, 49.6}, 1e-6);
  EXPECT_EQ(sum[4].x, 3.5f);

  // Identical x pair by index, even when not sorted.
  const Pairs p = Make({3, 1, 2}, {1, 2, 3}), q = Make({3, 1, 2}, {10, 20, 30});
  const Pairs byIndex = M::Combine("sum", {&p, &q}, M::SUM);
  ExpectY(byIndex, {11, 22, 33});
  EXPECT_EQ(byIndex[0].x, 3.0f);
  // A single shared point.
  const Pairs left = Make({0, 1}, {0, 1}), right = Make({1, 2}, {5, 6});
  ExpectY(M::Combine("sum", {&left, &right}, M::SUM), {6});

  const Pairs down = Make({0, 2, 1.5f, 3}, {0, 1, 2, 3});
  EXPECT_RAISES(M::Merge("sum", {&kLine, &down}),
                "sum: the x values must not decrease at pair 2 (x = 1.5, y = 2) in operand 2");
  const Pairs far = Make({5, 6}, {0, 0});
  EXPECT_RAISES(M::Combine("sum", {&kLine, &far}, M::SUM),
                "sum: the XY data have no x range in common");
  EXPECT_RAISES(M::Combine("sum", {&kLine, &p, &down}, M::SUM),
                "sum: the x values must not decrease at pair 1 (x = 1, y = 2) in operand 2");
}

// A NaN x, wherever it stands and however short its operand, is named before any merge starts:
// the merge walks sorted x and must never run past its result or read outside an operand.
TEST(XYMathMerge, NotANumberXIsRefusedInEveryMerge) {
  const Pairs one = Make({1}, {1}), line = Make({0, 1, 2}, {0, 1, 2});
  struct Case {
    Pairs operand;
    const char* where;
  } cases[] = {
      {Make({NAN}, {2}), "at pair 0 (x = nan, y = 2)"},
      {Make({NAN, 1, 2}, {2, 3, 4}), "at pair 0 (x = nan, y = 2)"},
      {Make({0, NAN, 2}, {2, 3, 4}), "at pair 1 (x = nan, y = 3)"},
      {Make({0, 1, NAN}, {2, 3, 4}), "at pair 2 (x = nan, y = 4)"},
  };
  const M::CombineOp ops[] = {
      M::SUM,          M::AVERAGE,          M::RANGE, M::SRSS,     M::MAX_ENVELOPE,
      M::MIN_ENVELOPE, M::VECTOR_MAGNITUDE, M::ADD,   M::SUBTRACT, M::MULTIPLY,
      M::DIVIDE};
  for (const Pairs* other : {&one, &line}) {
    for (const Case& c : cases) {
      const std::string second = std::string("f: the x value is not a number ") + c.where;
      for (M::CombineOp op : ops) {
        EXPECT_RAISES(M::Combine("f", {other, &c.operand}, op), second + " in operand 2") << op;
        EXPECT_RAISES(M::Combine("f", {&c.operand, other}, op), second + " in operand 1") << op;
      }
      EXPECT_RAISES(M::Merge("f", {other, &c.operand}), second + " in operand 2");
      EXPECT_RAISES(M::CombineXY("f", c.operand, *other), second + " in operand 1");
    }
  }
  // Infinite x values are ordered: they merge (or are refused) without leaving the operands.
  const Pairs wide = Make({-INFINITY, 0, 1, INFINITY}, {1, 2, 3, 4});
  const M::Merged m = M::Merge("f", {&wide, &line});
  EXPECT_EQ(m.x, (std::vector<float>{0, 1, 2}));
  EXPECT_EQ(m.values[0][1], 3.0f);
}

TEST(XYMathCombine, OperationsAndErrors) {
  const Pairs a = Make({0, 1, 2}, {1, -2, 3}), b = Make({0, 1, 2}, {4, 5, -6}),
              c = Make({0, 1, 2}, {2, 2, 2});
  const std::vector<const Pairs*> abc = {&a, &b, &c}, ab = {&a, &b};
  ExpectY(M::Combine("f", abc, M::MAX_ENVELOPE), {4, 5, 3});
  ExpectY(M::Combine("f", abc, M::MIN_ENVELOPE), {1, -2, -6});
  ExpectY(M::Combine("f", abc, M::RANGE), {3, 7, 9});
  ExpectY(M::Combine("f", abc, M::AVERAGE), {7 / 3.0, 5 / 3.0, -1 / 3.0});
  ExpectY(M::Combine("f", abc, M::SRSS), {std::sqrt(21), std::sqrt(33), 7});
  ExpectY(M::Combine("f", ab, M::VECTOR_MAGNITUDE), {std::sqrt(17), std::sqrt(29), std::sqrt(45)});
  ExpectY(M::Combine("f", ab, M::SUBTRACT), {-3, -7, 9});
  ExpectY(M::Combine("f", ab, M::MULTIPLY), {4, -10, -18});
  ExpectY(M::Combine("f", ab, M::DIVIDE), {0.25, -0.4, -0.5});
  // More pairs than one block of the accumulator, three operands.
  const Pairs u = Sampled(1, 1500, [](double t) { return t; });
  const Pairs v = Sampled(1, 1500, [](double t) { return 2 * t; });
  const Pairs w = Sampled(1, 1500, [](double t) { return -t; });
  const Pairs total = M::Combine("sum", {&u, &v, &w}, M::SUM);
  for (size_t i = 0; i < total.Size(); ++i) ASSERT_EQ(total[i].y, 2.0f * float(i)) << i;

  const Pairs hole = Make({0, 1, 2}, {1, NAN, 1});  // a NaN is not lost to the comparison
  EXPECT_RAISES(M::Combine("max", {&hole, &b}, M::MAX_ENVELOPE),
                "max: the result is not a real number at pair 1 (x = 1, y = nan)");
  const Pairs zero = Make({0, 1, 2}, {1, 0, 1});
  EXPECT_RAISES(M::Combine("div", {&a, &zero}, M::DIVIDE),
                "div: division by zero at pair 1 (x = 1, y = 0)");
  // On another grid the divisor crosses zero between its pairs, at x = 1.
  const Pairs crossing = Make({0, 2}, {-1, 1});
  EXPECT_RAISES(M::Combine("div", {&a, &crossing}, M::DIVIDE),
                "div: division by zero at pair 1 (x = 1, y = 0)");
  const Pairs big = Make({0, 1}, {1e30f, 1});
  EXPECT_RAISES(M::Combine("mul", {&big, &big}, M::MULTIPLY),
                "mul: the result is infinite at pair 0 (x = 0, y = 1.00000002e+30)");
  EXPECT_RAISES(M::Combine("add", abc, M::ADD), "add: needs exactly two XY data");
  EXPECT_RAISES(M::Combine("vm", {&a, &b, &c, &a}, M::VECTOR_MAGNITUDE),
                "vm: needs one to three XY data");
  const Pairs none;
  EXPECT_RAISES(M::Combine("sum", {&a, &none}, M::SUM), "sum: the XY data has no pairs");
}

TEST(XYMathCalculus, DifferentiateIntegrateSmoothNormalizeAndReshape) {
  const std::vector<float> x = {0, 0.5f, 1.5f, 1.75f, 3, 4};
  std::vector<float> squares;
  for (float v : x) squares.push_back(v * v);
  // Exact 2x inside for a quadratic; one-sided slopes x[i] + x[i+1] at the ends.
  ExpectY(M::Differentiate("d", Make(x, squares)), {0.5, 1, 3, 3.5, 6, 7}, 1e-6);
  EXPECT_RAISES(M::Differentiate("d", Make({0, 1, 1, 2}, {0, 1, 1, 4})),
                "d: the x values repeat at pair 2 (x = 1, y = 1)");
  EXPECT_RAISES(M::Differentiate("d", Make({0, 1, 0.5f}, {0, 1, 2})),
                "d: the x values must not decrease at pair 2 (x = 0.5, y = 2)");
  EXPECT_RAISES(M::Differentiate("d", Make({1}, {1})),
                "d: differentiating needs at least two pairs");

  // Odd and even counts: y = 1 gives x - x0, y = x gives (x^2 - x0^2) / 2.
  ExpectY(M::Integrate("i", Make(x, std::vector<float>(6, 1))), {0, 0.5, 1.5, 1.75, 3, 4});
  ExpectY(M::Integrate("i", Make({1, 2, 4, 4.5f, 7}, {1, 2, 4, 4.5f, 7})),
          {0, 1.5, 7.5, 9.625, 24});
  ExpectY(M::Integrate("i", Make({3}, {9})), {0});

  // Smoothing, normalizing and reshaping.
  const Pairs a = Make({0, 1, 2, 3, 4, 5, 6}, {1, 2, 4, 8, 16, 32, 64});
  ExpectY(M::Smooth("s", a, 5), {1, 7 / 3.0, 31 / 5.0, 62 / 5.0, 124 / 5.0, 112 / 3.0, 64});
  ExpectY(M::Smooth("s", a, 99), {1, 7 / 3.0, 31 / 5.0, 127 / 7.0, 124 / 5.0, 112 / 3.0, 64});
  ExpectY(M::Smooth("s", a, 1), {1, 2, 4, 8, 16, 32, 64});
  // y = i^2 averages to i^2 + k (k + 1) / 3 over i - k .. i + k, short windows and long.
  const Pairs iSquared = Sampled(1, 60, [](double t) { return t * t; });
  for (size_t half : {3u, 12u}) {
    const Pairs s = M::Smooth("s", iSquared, int(2 * half + 1));
    for (size_t i = 0; i < 60; ++i) {
      const double k = double(std::min({half, i, 59 - i}));
      ASSERT_NEAR(s[i].y, double(i * i) + k * (k + 1) / 3, 1e-3) << half << " " << i;
    }
  }
  // A huge value leaves no rounding behind once it is out of a long window.
  Pairs spike = Sampled(1, 40, [](double) { return 1.0; });
  spike.Set(0, {0, 1e30f});
  EXPECT_EQ(M::Smooth("s", spike, 17)[20].y, 1.0f);
  EXPECT_RAISES(M::Smooth("s", a, 4), "s: the window must be an odd number of at least 1");
  EXPECT_RAISES(M::Smooth("s", a, -1), "s: the window must be an odd number of at least 1");

  ExpectY(M::Normalize("n", Make({0, 1, 2}, {-4, 2, 1})), {-1, 0.5, 0.25});
  EXPECT_RAISES(M::Normalize("n", Make({0, 1}, {0, 0})), "n: the y values are all zero");

  const Pairs swapped = M::Swap(Make({1, 2}, {3, 4}));
  EXPECT_EQ(swapped[1].x, 4.0f);
  EXPECT_EQ(swapped[1].y, 2.0f);
  const Pairs xy = M::CombineXY("xy", kLine, kOther);
  ASSERT_EQ(xy.Size(), 6u);
  EXPECT_EQ(xy[3].x, 30.0f);
  EXPECT_EQ(xy[3].y, 11.0f);
  const Pairs none;
  const Pairs both = M::Append({&kLine, &none, &kOther});
  ASSERT_EQ(both.Size(), 10u);
  EXPECT_EQ(both[5].x, 0.5f);
  EXPECT_EQ(both[9].y, 0.0f);
}

TEST(XYMathFilter, SaeChannelClass) {
  // CFC 60 at 10 kHz: wd = 2 pi 60 2.0775 = 783.199049, wa = tan(wd T / 2) = 0.0391799820,
  // 1 + sqrt(2) wa + wa^2 = 1.05694393, a0 = wa^2 / that.
  const M::Biquad c = M::SaeCoefficients(60, 1e-4);
  EXPECT_NEAR(c.a0, 0.00145236747355341, 1e-15);
  EXPECT_NEAR(c.a1, 0.00290473494710683, 1e-15);
  EXPECT_NEAR(c.a2, 0.00145236747355341, 1e-15);
  EXPECT_NEAR(c.b1, 1.88934322422157, 1e-13);
  EXPECT_NEAR(c.b2, -0.895152694115787, 1e-13);

  const double rate = 10000;
  const Pairs constant = Sampled(rate, 0.1, [](double) { return 2.5; });
  const Pairs flat = M::SaeFilter("sae", constant, 60);
  EXPECT_FLOAT_EQ(flat[0].y, 2.5f);
  EXPECT_FLOAT_EQ(flat[500].y, 2.5f);
  EXPECT_FLOAT_EQ(flat[999].y, 2.5f);

  // 5 Hz passes (within 1 %, peaks in place), 1 kHz goes (below 5 %).
  const Pairs low =
      Sampled(rate, 1, [](double t) { return std::sin(2 * std::numbers::pi * 5 * t); });
  const Pairs kept = M::SaeFilter("sae", low, 60);
  EXPECT_NEAR(Peak(kept, 2000, 8000), 1.0, 0.01);
  for (size_t peak : {2500u, 4500u, 6500u}) {  // 5 Hz peaks every 2000 samples
    size_t best = peak - 100;
    for (size_t i = best; i < peak + 100; ++i)
      if (kept[i].y > kept[best].y) best = i;
    EXPECT_NEAR(double(best), double(peak), 1.0);
  }
  const Pairs high =
      Sampled(rate, 1, [](double t) { return std::sin(2 * std::numbers::pi * 1000 * t); });
  EXPECT_LT(Peak(M::SaeFilter("sae", high, 60), 2000, 8000), 0.05);
}

TEST(XYMathFilter, ButterworthResponse) {
  const double rate = 10000, cutoff = 100;
  auto amplitude = [&](double frequency, int order) {
    const Pairs in =
        Sampled(rate, 1, [&](double t) { return std::sin(2 * std::numbers::pi * frequency * t); });
    return Peak(M::ButterworthLowPass("bw", in, cutoff, order), 5000, 10000);
  };
  // -3 dB at the cutoff for every order; above it the pre-warped response
  // 1 / sqrt(1 + (tan(pi f / rate) / tan(pi cutoff / rate))^(2 order)), falling with the order.
  const double ratio =
      std::tan(std::numbers::pi * 300 / rate) / std::tan(std::numbers::pi * 100 / rate);
  double previous = 1;
  for (int order = 1; order <= 8; ++order) {
    EXPECT_NEAR(amplitude(cutoff, order), std::sqrt(0.5), 0.014) << order;
    const double above = amplitude(300, order);
    EXPECT_NEAR(above, 1 / std::sqrt(1 + std::pow(ratio, 2 * order)), 0.02 * above + 1e-5) << order;
    EXPECT_LT(above, previous);
    previous = above;
  }
  const Pairs constant = Sampled(rate, 0.1, [](double) { return -3.0; });
  EXPECT_FLOAT_EQ(M::ButterworthLowPass("bw", constant, cutoff, 5)[0].y, -3.0f);
  EXPECT_FLOAT_EQ(M::ButterworthLowPass("bw", constant, cutoff, 5)[999].y, -3.0f);
}

TEST(XYMathFilter, SamplingAndParameterErrors) {
  const Pairs uneven = Make({0, 1, 2, 3.03f, 4}, {1, 2, 3, 4, 5});
  EXPECT_RAISES(
      M::SaeFilter("sae", uneven, 0.01),
      "sae: the x values must be evenly spaced (each step within 1 % of the mean step) at "
      "pair 3 (x = 3.02999997, y = 4)");
  // 1 kHz samples 1000 s in: float rounding puts the steps several % apart, yet they are even.
  std::vector<float> late, zeros(200, 0);
  for (int i = 0; i < 200; ++i) late.push_back(static_cast<float>(1000 + i * 1e-3));
  EXPECT_EQ(M::SaeFilter("sae", Make(late, zeros), 60).Size(), 200u);
  EXPECT_RAISES(M::ButterworthLowPass("bw", Make({2, 1, 0}, {0, 0, 0}), 0.1, 2),
                "bw: the x values must increase at pair 1 (x = 1, y = 0)");
  const Pairs even = Make({0, 1, 2, 3}, {0, 1, 0, 1});  // 1 sample per second
  EXPECT_RAISES(M::ButterworthLowPass("bw", even, 0.5, 2),
                "bw: the cutoff frequency must be above 0 and below half the sample rate (0.5 Hz)");
  EXPECT_RAISES(M::ButterworthLowPass("bw", even, 0.1, 9), "bw: the order must be from 1 to 8");
  EXPECT_RAISES(M::SaeFilter("sae", even, 0.25),
                "sae: the channel class must be below 0.240673887 for a sample rate of 1 Hz");
  EXPECT_RAISES(M::SaeFilter("sae", even, 0), "sae: the channel class must be above 0");
  EXPECT_RAISES(M::SaeFilter("sae", Make({0}, {1}), 1), "sae: filtering needs at least two pairs");
}

}  // namespace
