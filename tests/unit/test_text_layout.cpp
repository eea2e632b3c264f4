// Text layout of the XY report: fixed-width columns, the automatic, scientific and engineering
// number forms, label breaking, the fit test of a column, and the short internal checks.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "udd_UserXYData.h"
#include "xypK_Utils.h"

namespace {

using U = xypK_Utils;

std::string S(const cow_String& s) {
  return s.Std();
}

std::string Trimmed(const std::string& s) {
  const size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// The C library's text of one conversion, the oracle of the number forms.
std::string Printf(const char* format, int width, int precision, double v) {
  const int n = std::snprintf(nullptr, 0, format, width, precision, v);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  std::snprintf(s.data(), s.size(), format, width, precision, v);
  s.resize(static_cast<size_t>(n));
  return s;
}

// Finite floats of every magnitude: random bit patterns, random mantissas at every power of
// ten, and the values at the edges of the float range and of the scaling steps.
std::vector<float> SampleValues() {
  std::vector<float> v = {0.0f,    -0.0f,    1.0f,       -1.0f,
                          0.5f,    10.0f,    100.0f,     1000.0f,
                          999.5f,  -999.5f,  999.99994f, 0.001f,
                          1e-6f,   1e10f,    123.456f,   -0.25f,
                          FLT_MAX, -FLT_MAX, FLT_MIN,    std::numeric_limits<float>::denorm_min(),
                          1.1f,    2.5e-3f};
  std::mt19937 rng(20240611u);
  std::uniform_int_distribution<std::uint32_t> bits;
  while (v.size() < 1200) {
    const std::uint32_t b = bits(rng);
    float f;
    std::memcpy(&f, &b, sizeof f);
    if (std::isfinite(f)) v.push_back(f);
  }
  std::uniform_real_distribution<double> mantissa(1.0, 10.0);
  for (int e = -45; e <= 38; ++e)
    for (int k = 0; k < 12; ++k) {
      const float f = static_cast<float>(mantissa(rng) * std::pow(10.0, e));
      if (std::isfinite(f)) v.push_back(k % 2 ? -f : f);
    }
  return v;
}

const float kInf = std::numeric_limits<float>::infinity();
const float kNaN = std::numeric_limits<float>::quiet_NaN();

using Column = cow_String (*)(const cow_String&, int);
using Form = cow_String (*)(float, int);
const Form kSci = U::FormatScientific, kAuto = U::FormatAutomatic, kEng = U::FormatEngineering;

}  // namespace

// --- Columns.

TEST(TextLayoutColumns, Examples) {
  // Center puts the odd blank left and never trims (leading blanks survive); Left and Right trim,
  // then pad (inner blanks stay); Point puts the first point at its column (in 9: h = 2, the
  // point and what follows fill 6, the point at column 3). A text too long for its field comes
  // back whole (trimmed but for Center), and a negative width pads nothing.
  const Column C = U::CenterString, L = U::LeftString, R = U::RightString, P = U::PointString;
  struct Case {
    Column column;
    const char* text;
    int width;
    const char* expected;
  };
  const Case cases[] = {
      {C, "abc", 8, "   abc  "},    {C, "abc", 7, "  abc  "},   {C, "abc", 2, "abc"},
      {C, "abc", 3, "abc"},         {C, "  a", 5, "   a "},     {C, " a ", 2, " a "},
      {C, "", 4, "    "},           {C, " ab ", -1, " ab "},    {C, "ab", INT_MIN, "ab"},
      {L, "  ab ", 5, "ab   "},     {R, "  ab ", 5, "   ab"},   {L, "  ab ", 1, "ab"},
      {R, "  ab ", 0, "ab"},        {L, "a b", 4, "a b "},      {R, "   ", 2, "  "},
      {L, " ab ", -5, "ab"},        {R, " ab ", -5, "ab"},      {P, " 1.5 ", -1, "1.5"},
      {P, " 1.5 ", INT_MIN, "1.5"}, {P, "1.25", 9, "  1.25   "}};
  const Case longer[] = {{L, "  longer text  ", 4, "longer text"},
                         {P, "1.5E+03", 17, "      1.5E+03    "},
                         {P, "42", 17, "     42          "},
                         {P, "  -250.E-03 ", 17, "   -250.E-03     "},
                         {P, " 123456789.123456789 ", 9, "123456789.123456789"}};
  for (const Case& c : cases)
    EXPECT_EQ(S(c.column(c.text, c.width)), c.expected) << "[" << c.text << "] in " << c.width;
  for (const Case& c : longer)
    EXPECT_EQ(S(c.column(c.text, c.width)), c.expected) << "[" << c.text << "] in " << c.width;
}

TEST(TextLayoutColumns, ResultsAreAtLeastWidthAndNeverShorterThanTheText) {
  std::mt19937 rng(7u);
  const char alphabet[] = "  ab.1";
  for (int i = 0; i < 3000; ++i) {
    std::string text;
    const int len = static_cast<int>(rng() % 12);
    for (int k = 0; k < len; ++k) text += alphabet[rng() % 6];
    const int width = static_cast<int>(rng() % 30);
    const std::string trimmed = Trimmed(text);
    const std::string c = S(U::CenterString(text, width));
    const std::string l = S(U::LeftString(text, width));
    const std::string r = S(U::RightString(text, width));
    const std::string p = S(U::PointString(text, width));
    SCOPED_TRACE("[" + text + "] in " + std::to_string(width));
    EXPECT_EQ(c.size(), std::max(text.size(), static_cast<size_t>(width)));
    EXPECT_NE(c.find(text), std::string::npos);
    EXPECT_EQ(l.size(), std::max(trimmed.size(), static_cast<size_t>(width)));
    EXPECT_EQ(l.compare(0, trimmed.size(), trimmed), 0);
    EXPECT_EQ(r.size(), std::max(trimmed.size(), static_cast<size_t>(width)));
    EXPECT_EQ(r.compare(r.size() - trimmed.size(), trimmed.size(), trimmed), 0);
    EXPECT_GE(p.size(), std::max(trimmed.size(), static_cast<size_t>(width)));
    EXPECT_EQ(Trimmed(p), trimmed);
  }
}

TEST(TextLayoutColumns, PointColumnIsFixedForTextsThatFit) {
  for (int width = 5; width <= 41; ++width) {
    const size_t column = static_cast<size_t>(width - ((width - 5) / 2 + 4));
    for (const char* text : {"1.", "-1.5", "12.25E+03", "0.125", "999.E-45"}) {
      const std::string p = S(U::PointString(text, width));
      if (std::strlen(text) > static_cast<size_t>(width)) continue;
      const size_t point = static_cast<size_t>(std::strchr(text, '.') - text);
      if (point > column || std::strlen(text) - point > static_cast<size_t>(width) - column)
        continue;
      SCOPED_TRACE(std::string(text) + " in " + std::to_string(width));
      EXPECT_EQ(p.size(), static_cast<size_t>(width));
      EXPECT_EQ(p.find('.'), column);
    }
  }
}

// --- The number forms.

TEST(TextLayoutForms, Examples) {
  // Digits below 1 count as 1. Infinities and not-a-numbers fill their field; engineering writes
  // them without a point, ending just left of the point column (with one digit that is column 2:
  // nothing is cut).
  struct Case {
    float value;
    int digits;
    const char* expected;
  };
  const std::vector<Case> scientific = {{123.456f, 6, " 1.23456E+02"}, {-0.5f, 6, "-5.00000E-01"},
                                        {0.0f, 3, " 0.00E+00"},        {123.456f, 1, "  1E+02"},
                                        {kInf, 6, "         Inf"},     {-kInf, 6, "        -Inf"},
                                        {kNaN, 6, "         NaN"},     {-kNaN, 6, "         NaN"}};
  const std::vector<Case> automatic = {
      {123.456f, 6, "     123.456"}, {100.0f, 6, "        100."},   {1e10f, 6, "      1.E+10"},
      {0.0f, 6, "          0."},     {-2.5e-7f, 6, "    -2.5E-07"}, {123456.0f, 6, "     123456."},
      {123.456f, 0, " 1.E+02"},      {123.456f, -3, " 1.E+02"},     {5.0f, 0, "     5."},
      {kInf, 6, "         Inf"},     {-kInf, 6, "        -Inf"},    {kNaN, 6, "         NaN"},
      {-kNaN, 1, "    NaN"}};
  const std::vector<Case> engineering = {
      {1500.0f, 6, "      1.5E+03    "}, {-0.25f, 6, "   -250.E-03     "},
      {0.0f, 6, "      0.         "},    {123456.0f, 6, "    123.456E+03  "},
      {1e6f, 6, "      1.E+06     "},    {-1.0f, 6, "     -1.         "},
      {100.0f, 6, "    100.         "},  {kInf, 6, "    Inf          "},
      {-kInf, 6, "   -Inf          "},   {kNaN, 6, "    NaN          "},
      {-kNaN, 6, "    NaN          "}};
  const std::vector<Case> fewEngineeringDigits = {{1500.0f, 0, " 2.E+03"},
                                                  {1500.0f, -3, " 2.E+03"},
                                                  {0.0f, -3, " 0.    "},
                                                  {kInf, 0, "Inf     "}};
  for (const auto& [form, cases] :
       {std::pair{kSci, &scientific}, std::pair{kAuto, &automatic}, std::pair{kEng, &engineering},
        std::pair{kEng, &fewEngineeringDigits}})
    for (const Case& c : *cases)
      EXPECT_EQ(S(form(c.value, c.digits)), c.expected) << c.value << " in " << c.digits;
  EXPECT_EQ(S(U::FormatScientific(0.1f, 40)), " 1.000000014901161193847656250000000000000E-01");
  EXPECT_EQ(S(U::FormatScientific(-kInf, 40)), std::string(42, ' ') + "-Inf");
  EXPECT_EQ(S(U::FormatEngineering(-kInf, 40)).size(), 85u);
  for (xypC_FormatEnum f : {xypC_AUTOMATIC, xypC_ENGINEERING, xypC_SCIENTIFIC}) {
    EXPECT_EQ(Trimmed(S(U::Format(kInf, f, 6))), "Inf");
    EXPECT_EQ(Trimmed(S(U::Format(-kInf, f, 6))), "-Inf");
    EXPECT_EQ(Trimmed(S(U::Format(kNaN, f, 6))), "NaN");
  }
  for (int f : {int{xypC_DECIMAL}, int{xypC_POWER}, 5, -1})  // the forms it does not write
    EXPECT_EQ(S(U::Format(1.0f, static_cast<xypC_FormatEnum>(f), 6)), "Invalid number format");
}

TEST(TextLayoutForms, ScientificAndAutomaticArePrintfsTextOverManyValuesAndDigits) {
  const std::vector<float> values = SampleValues();
  for (int d = 1; d <= 12; ++d)
    for (float v : values) {
      ASSERT_EQ(S(U::FormatScientific(v, d)), Printf("% *.*E", d + 6, d - 1, v))
          << "digits " << d << " value " << v;
      // Automatic: the %G text with a point, right-aligned.
      std::string body = Trimmed(Printf("% *.*G", d + 6, d, v));
      if (body.find('.') == std::string::npos) {
        const size_t mark = body.find('E');
        body.insert(mark == std::string::npos ? body.size() : mark, 1, '.');
      }
      const size_t width = static_cast<size_t>(d + 6);
      const std::string expected =
          std::string(body.size() < width ? width - body.size() : 0, ' ') + body;
      ASSERT_EQ(S(U::FormatAutomatic(v, d)), expected) << "digits " << d << " value " << v;
    }
}

TEST(TextLayoutForms, DigitsBelowOneCountAsOneAndAboveTheCapAsTheCap) {
  for (float v : {0.0f, 1.0f, -123.456f, 3e-20f}) {
    for (int d : {0, -3, INT_MIN})
      EXPECT_EQ(S(U::FormatScientific(v, d)), Printf("% *.*E", 7, 0, v));
    EXPECT_EQ(S(U::FormatScientific(v, 40)), Printf("% *.*E", 46, 39, v));
  }
  const int cap = U::kMaxDigits;
  const std::string atCap = S(U::FormatScientific(-1.1f, cap));
  EXPECT_EQ(atCap, Printf("% *.*E", cap + 6, cap - 1, -1.1f));
  EXPECT_EQ(S(U::FormatScientific(-1.1f, cap + 1)), atCap);
  EXPECT_EQ(S(U::FormatScientific(-1.1f, INT_MAX)), atCap);
  EXPECT_EQ(S(U::FormatEngineering(3.0f, INT_MAX)), S(U::FormatEngineering(3.0f, cap)));

  const std::string forty = S(U::FormatAutomatic(123.456f, 40));
  EXPECT_EQ(forty.size(), 46u);
  EXPECT_EQ(Trimmed(forty), Trimmed(Printf("% *.*G", 46, 40, 123.456f)));
  EXPECT_EQ(Trimmed(forty), "123.45600128173828125");
  const std::string engineering = S(U::FormatEngineering(1500.0f, 40));
  EXPECT_EQ(engineering.size(), 85u);
  EXPECT_EQ(engineering.find('.'), 41u);
}

TEST(TextLayoutEngineering, TrailingZerosGoOnlyForShortValues) {
  // The zeros go when the value's shortest double text has at most digits + 1 characters. The
  // float 1.1 is 1.10000002384185791015625, shortest double text "1.100000023841858" (17): too
  // long for 6 digits, short enough for 25. The float after 1 has the shortest text
  // "1.0000001192092896" (18 characters): at 16 digits (one more than digits + 1) its zero stays.
  // Without zeros to remove (1.25) nothing changes.
  const float afterOne = std::nextafter(1.0f, 2.0f);
  const struct {
    float value;
    int digits;
    const char* trimmed;
  } cases[] = {{2.5f, 6, "2.5"},
               {1.1f, 6, "1.10000"},
               {1.1f, 25, "1.10000002384185791015625"},
               {1.1f, 40, "1.10000002384185791015625"},
               {afterOne, 16, "1.000000119209290"},
               {afterOne, 25, "1.00000011920928955078125"},
               {6.61187458f, 15, "6.61187458038330"},
               {1.25f, 3, "1.25"},
               {1500.0f, 40, "1.5E+03"}};
  for (const auto& c : cases)
    EXPECT_EQ(Trimmed(S(U::FormatEngineering(c.value, c.digits))), c.trimmed) << c.value;
}

TEST(TextLayoutEngineering, ExponentsAreMultiplesOfThreeWithTwoDigits) {
  EXPECT_EQ(Trimmed(S(U::FormatEngineering(2e-6f, 6))).substr(0, 1), "2");
  const std::string tiny =
      Trimmed(S(U::FormatEngineering(std::numeric_limits<float>::denorm_min(), 6)));
  EXPECT_EQ(tiny.substr(tiny.size() - 4), "E-45");
  const std::string huge = Trimmed(S(U::FormatEngineering(-FLT_MAX, 6)));
  EXPECT_EQ(huge.substr(0, 7), "-340.28");
  EXPECT_EQ(huge.substr(huge.size() - 4), "E+36");
  EXPECT_EQ(Trimmed(S(U::FormatEngineering(0.001f, 6))).substr(1), ".E-03");
}

TEST(TextLayoutEngineering, MantissaExponentAndPointColumnOverManyValues) {
  const std::vector<float> values = SampleValues();
  for (int d = 1; d <= 12; ++d)
    for (float v : values) {
      const std::string r = S(U::FormatEngineering(v, d));
      const std::string body = Trimmed(r);
      SCOPED_TRACE("digits " + std::to_string(d) + " value " + Printf("%*.*g", 0, 9, v) + " [" + r +
                   "]");
      // Layout: at least 2d + 5 columns, the point at column d + 1 unless the integer part is
      // longer than that.
      const size_t point = body.find('.');
      ASSERT_NE(point, std::string::npos);
      EXPECT_GE(r.size(), static_cast<size_t>(2 * d + 5));
      EXPECT_EQ(r.find('.'), std::max(point, static_cast<size_t>(d + 1)));
      EXPECT_EQ(r.find(body), r.find('.') - point);
      // Exponent: absent for 0, else E, a sign and at least two digits, a multiple of 3.
      const size_t mark = body.find('E');
      long exponent = 0;
      if (mark != std::string::npos) {
        ASSERT_GE(body.size() - mark, 4u);
        EXPECT_TRUE(body[mark + 1] == '+' || body[mark + 1] == '-');
        exponent = std::strtol(body.c_str() + mark + 1, nullptr, 10);
        EXPECT_NE(exponent, 0);
        EXPECT_EQ(exponent % 3, 0);
      }
      // Mantissa: one to three integer digits (1000 only by rounding), close to the value.
      const double m = std::strtod(body.substr(0, mark).c_str(), nullptr);
      if (v != 0.0f) {
        EXPECT_GE(std::fabs(m), 1.0);
        EXPECT_LE(std::fabs(m), 1000.0);
      } else {
        EXPECT_EQ(m, 0.0);
      }
      const double tolerance = 0.5 * std::pow(10.0, -std::max(d - 3, 0)) + 1e-5;
      const double back = m * std::pow(10.0, static_cast<double>(exponent));
      EXPECT_LE(std::fabs(back - v), tolerance * std::fabs(static_cast<double>(v)));
      // The mantissa's decimals are never more than digits.
      const size_t decimals = (mark == std::string::npos ? body.size() : mark) - point - 1;
      EXPECT_LE(decimals, static_cast<size_t>(d));
    }
}

// --- Format dispatch.

TEST(TextLayoutFormat, ConcurrentCallsDoNotDisturbEachOther) {
  const std::vector<float> values = {1.5f, -0.25f, 123456.0f, 7e-20f};
  std::vector<std::string> expected;
  for (float v : values)
    for (xypC_FormatEnum f : {xypC_AUTOMATIC, xypC_ENGINEERING, xypC_SCIENTIFIC})
      expected.push_back(S(U::Format(v, f, 7)));
  std::vector<int> mismatches(values.size(), 0);
  std::vector<std::thread> threads;
  for (size_t t = 0; t < values.size(); ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < 3000; ++i) {
        size_t k = t * 3;
        for (xypC_FormatEnum f : {xypC_AUTOMATIC, xypC_ENGINEERING, xypC_SCIENTIFIC})
          if (S(U::Format(values[t], f, 7)) != expected[k++]) ++mismatches[t];
      }
    });
  for (std::thread& th : threads) th.join();
  for (int m : mismatches) EXPECT_EQ(m, 0);
}

// --- Report head.

TEST(TextLayoutReport, Head) {
  EXPECT_EQ(S(U::PrintReportHead()), "\n**\n**\n** XY REPORT :\n** ===========\n**\n**\n");
}

// --- Label breaking.

namespace {
std::vector<std::string> Lines(const cow_List<cow_String>& list) {
  std::vector<std::string> v;
  for (const cow_String& s : list) v.push_back(s.Std());
  return v;
}
using V = std::vector<std::string>;
}  // namespace

TEST(TextLayoutBreakToLines, PartsBeforeAndInsideTheParenthesis) {
  const struct {
    const char* label;
    int width;  // never consulted
    V lines;
  } cases[] = {{"Time", 10, {"Time"}},
               {"Internal energy", 10, {"Internal energy"}},
               {"", 10, {""}},
               {"Stress (MPa)", 10, {"Stress", "MPa)"}},
               {"Stress (MPa) at end", 10, {"Stress", "MPa)"}},
               {"Stress (MPa)", -1, {"Stress", "MPa)"}},
               {"Stress (MPa)", 1000, {"Stress", "MPa)"}},
               // With "Int" inside: three lines.
               {"Displacement (Node 12 Int 3)", 10, {"Displacement", "Int 3", "Node 12"}},
               {"S11 (Elem 4 Int 1) extra", 0, {"S11", "Int 1", "Elem 4"}},
               // Nothing before "(", or no blank before "(" or "Int": no character is lost.
               {"(MPa)", 10, {"", "MPa)"}},
               {"Force(N)", 10, {"Force", "N)"}},
               {"S (Elem 4:Int 1)", 10, {"S", "Int 1", "Elem 4:"}},
               {"X (Int 3)", 10, {"X", "Int 3", ""}},
               // No ")": the part runs to the end.
               {"Stress (MPa", 10, {"Stress", "MPa"}},
               {"U (Node 1 Int 2", 10, {"U", "Int 2", "Node 1"}},
               // A ")" before the "(" is not its end.
               {"a) b (c)", 10, {"a) b", "c)"}},
               // "Int" outside the parenthesis does not count.
               {"Internal energy (J)", 10, {"Internal energy", "J)"}},
               {"S (E 1) Int 2", 10, {"S", "E 1)"}},
               {"Internal force (Elem 3 Int 2)", 10, {"Internal force", "Int 2", "Elem 3"}}};
  for (const auto& c : cases)
    EXPECT_EQ(Lines(U::BreakToLines(c.label, c.width)), c.lines) << c.label;
}

// --- Fit of a column.

TEST(TextLayoutIsFit, CountsDigitsWithoutPointSignAndTrailingZeros) {
  auto record = [](std::initializer_list<std::pair<float, float>> pairs) {
    udd_UserXYData data;
    for (auto [x, y] : pairs) data.AppendPair(x, y);
    return data;
  };
  // x: "1.5" 2 digits, "-12.25" 4, "100." 3; y: "0.125" 4, "2." 1, "-1234.5" 5.
  const udd_UserXYData data = record({{1.5f, 0.125f}, {-12.25f, 2.0f}, {100.0f, -1234.5f}});
  const udd_UserXYData one = record({{1e-7f, 0.1f}});    // "%f": "0.000000" 1 digit, "0.100000" 2
  const udd_UserXYData big = record({{FLT_MAX, 0.0f}});  // 39 integer digits
  const udd_UserXYData nonFinite = record({{-kInf, kNaN}});  // "Inf" and "NaN": 3 each
  const udd_UserXYData empty;
  const struct {
    const udd_UserXYData& data;
    int width, useY;  // any non-zero useY means y
    bool fits;
  } cases[] = {{data, 4, 0, true},      {data, 3, 0, false},     {data, 5, 1, true},
               {data, 4, 1, false},     {data, 4, 7, false},     {data, -1, 0, false},
               {empty, 0, 0, true},     {empty, -5, 1, true},    {one, 1, 0, true},
               {one, 1, 1, false},      {one, 2, 1, true},       {big, 39, 0, true},
               {big, 38, 0, false},     {nonFinite, 3, 0, true}, {nonFinite, 2, 0, false},
               {nonFinite, 3, 1, true}, {nonFinite, 2, 1, false}};
  for (const auto& c : cases)
    EXPECT_EQ(U::IsFit(c.width, c.data, c.useY), c.fits) << c.width << " " << c.useY;
}

// --- Internal checks.

TEST(TextLayoutAssertDeathTest, ShortChecksReportThroughTheHandler) {
  int x = 0;
  U::Assert(1);
  U::AssertMem(&x);
  EXPECT_DEATH(U::Assert(0), "Assertion failed: condition, file module/xyp/ker/impl/xypK_Utils");
  EXPECT_DEATH(U::AssertMem(nullptr),
               "Assertion failed: ptr != 0, file module/xyp/ker/impl/xypK_Utils");
  EXPECT_DEATH(XYPK_ASSERT(x == 1), "Assertion failed: x == 1");
}
