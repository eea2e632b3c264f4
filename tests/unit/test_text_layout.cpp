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

}  // namespace

// --- Columns.

TEST(TextLayoutColumns, CenterPutsTheOddBlankLeftAndNeverTrims) {
  EXPECT_EQ(S(U::CenterString("abc", 8)), "   abc  ");
  EXPECT_EQ(S(U::CenterString("abc", 7)), "  abc  ");
  EXPECT_EQ(S(U::CenterString("abc", 2)), "abc");
  EXPECT_EQ(S(U::CenterString("abc", 3)), "abc");
  EXPECT_EQ(S(U::CenterString("  a", 5)), "   a ");  // leading blanks survive
  EXPECT_EQ(S(U::CenterString(" a ", 2)), " a ");
  EXPECT_EQ(S(U::CenterString("", 4)), "    ");
}

TEST(TextLayoutColumns, LeftAndRightTrimThenPad) {
  EXPECT_EQ(S(U::LeftString("  ab ", 5)), "ab   ");
  EXPECT_EQ(S(U::RightString("  ab ", 5)), "   ab");
  EXPECT_EQ(S(U::LeftString("  ab ", 1)), "ab");
  EXPECT_EQ(S(U::RightString("  ab ", 0)), "ab");
  EXPECT_EQ(S(U::LeftString("a b", 4)), "a b ");  // inner blanks stay
  EXPECT_EQ(S(U::RightString("   ", 2)), "  ");
  EXPECT_EQ(S(U::LeftString("  longer text  ", 4)), "longer text");
}

TEST(TextLayoutColumns, PointAlignsTheFirstPoint) {
  EXPECT_EQ(S(U::PointString("1.5E+03", 17)), "      1.5E+03    ");
  EXPECT_EQ(S(U::PointString("42", 17)), "     42          ");
  EXPECT_EQ(S(U::PointString("  -250.E-03 ", 17)), "   -250.E-03     ");
  // Width 9: h = 2, the point and what follows fill 6 columns, the point at column 3.
  EXPECT_EQ(S(U::PointString("1.25", 9)), "  1.25   ");
  EXPECT_EQ(S(U::PointString("1.25", 9)).find('.'), 3u);
  // A text too long for its field comes back whole, trimmed.
  EXPECT_EQ(S(U::PointString(" 123456789.123456789 ", 9)), "123456789.123456789");
}

TEST(TextLayoutColumns, NegativeWidthPadsNothing) {
  EXPECT_EQ(S(U::CenterString(" ab ", -1)), " ab ");
  EXPECT_EQ(S(U::CenterString("ab", INT_MIN)), "ab");
  EXPECT_EQ(S(U::LeftString(" ab ", -5)), "ab");
  EXPECT_EQ(S(U::RightString(" ab ", -5)), "ab");
  EXPECT_EQ(S(U::PointString(" 1.5 ", -1)), "1.5");
  EXPECT_EQ(S(U::PointString(" 1.5 ", INT_MIN)), "1.5");
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

// --- Scientific form.

TEST(TextLayoutScientific, Examples) {
  EXPECT_EQ(S(U::FormatScientific(123.456f, 6)), " 1.23456E+02");
  EXPECT_EQ(S(U::FormatScientific(-0.5f, 6)), "-5.00000E-01");
  EXPECT_EQ(S(U::FormatScientific(0.0f, 3)), " 0.00E+00");
  EXPECT_EQ(S(U::FormatScientific(123.456f, 1)), "  1E+02");
}

TEST(TextLayoutScientific, IdenticalToPrintfOverManyValuesAndDigits) {
  const std::vector<float> values = SampleValues();
  for (int d = 1; d <= 12; ++d)
    for (float v : values) {
      const std::string expected = Printf("% *.*E", d + 6, d - 1, v);
      ASSERT_EQ(S(U::FormatScientific(v, d)), expected) << "digits " << d << " value " << v;
    }
}

TEST(TextLayoutScientific, DigitsBelowOneCountAsOneAndLargeDigitsWork) {
  for (float v : {0.0f, 1.0f, -123.456f, 3e-20f}) {
    EXPECT_EQ(S(U::FormatScientific(v, 0)), Printf("% *.*E", 7, 0, v));
    EXPECT_EQ(S(U::FormatScientific(v, -3)), Printf("% *.*E", 7, 0, v));
    EXPECT_EQ(S(U::FormatScientific(v, INT_MIN)), Printf("% *.*E", 7, 0, v));
    EXPECT_EQ(S(U::FormatScientific(v, 40)), Printf("% *.*E", 46, 39, v));
  }
  EXPECT_EQ(S(U::FormatScientific(0.1f, 40)), " 1.000000014901161193847656250000000000000E-01");
}

TEST(TextLayoutScientific, DigitsAboveTheCapCountAsTheCap) {
  const int cap = U::kMaxDigits;
  const std::string atCap = S(U::FormatScientific(-1.1f, cap));
  EXPECT_EQ(atCap, Printf("% *.*E", cap + 6, cap - 1, -1.1f));
  EXPECT_EQ(S(U::FormatScientific(-1.1f, cap + 1)), atCap);
  EXPECT_EQ(S(U::FormatScientific(-1.1f, INT_MAX)), atCap);
}

// --- Automatic form.

TEST(TextLayoutAutomatic, Examples) {
  EXPECT_EQ(S(U::FormatAutomatic(123.456f, 6)), "     123.456");
  EXPECT_EQ(S(U::FormatAutomatic(100.0f, 6)), "        100.");
  EXPECT_EQ(S(U::FormatAutomatic(1e10f, 6)), "      1.E+10");
  EXPECT_EQ(S(U::FormatAutomatic(0.0f, 6)), "          0.");
  EXPECT_EQ(S(U::FormatAutomatic(-2.5e-7f, 6)), "    -2.5E-07");
  EXPECT_EQ(S(U::FormatAutomatic(123456.0f, 6)), "     123456.");
}

TEST(TextLayoutAutomatic, PrintfTextWithAPointRightAligned) {
  const std::vector<float> values = SampleValues();
  for (int d = 1; d <= 12; ++d)
    for (float v : values) {
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

TEST(TextLayoutAutomatic, DigitsBelowOneCountAsOneAndFortyWork) {
  EXPECT_EQ(S(U::FormatAutomatic(123.456f, 0)), " 1.E+02");
  EXPECT_EQ(S(U::FormatAutomatic(123.456f, -3)), " 1.E+02");
  EXPECT_EQ(S(U::FormatAutomatic(5.0f, 0)), "     5.");
  const std::string forty = S(U::FormatAutomatic(123.456f, 40));
  EXPECT_EQ(forty.size(), 46u);
  EXPECT_EQ(Trimmed(forty), Trimmed(Printf("% *.*G", 46, 40, 123.456f)));
  EXPECT_EQ(Trimmed(forty), "123.45600128173828125");
}

// --- Engineering form.

TEST(TextLayoutEngineering, Examples) {
  EXPECT_EQ(S(U::FormatEngineering(1500.0f, 6)), "      1.5E+03    ");
  EXPECT_EQ(S(U::FormatEngineering(-0.25f, 6)), "   -250.E-03     ");
  EXPECT_EQ(S(U::FormatEngineering(0.0f, 6)), "      0.         ");
  EXPECT_EQ(S(U::FormatEngineering(123456.0f, 6)), "    123.456E+03  ");
  EXPECT_EQ(S(U::FormatEngineering(1e6f, 6)), "      1.E+06     ");
  EXPECT_EQ(S(U::FormatEngineering(-1.0f, 6)), "     -1.         ");
  EXPECT_EQ(S(U::FormatEngineering(100.0f, 6)), "    100.         ");
}

TEST(TextLayoutEngineering, TrailingZerosGoOnlyForShortValues) {
  // The zeros go when the value's shortest double text has at most digits + 1 characters.
  EXPECT_EQ(Trimmed(S(U::FormatEngineering(2.5f, 6))), "2.5");
  // The float 1.1 is 1.10000002384185791015625, shortest double text "1.100000023841858" (17):
  // too long for 6 digits, short enough for 25.
  EXPECT_EQ(Trimmed(S(U::FormatEngineering(1.1f, 6))), "1.10000");
  EXPECT_EQ(Trimmed(S(U::FormatEngineering(1.1f, 25))), "1.10000002384185791015625");
  // The float after 1 has the shortest text "1.0000001192092896" (18 characters): at 16 digits
  // (one more than digits + 1) its zero stays.
  const float afterOne = std::nextafter(1.0f, 2.0f);
  EXPECT_EQ(Trimmed(S(U::FormatEngineering(afterOne, 16))), "1.000000119209290");
  EXPECT_EQ(Trimmed(S(U::FormatEngineering(afterOne, 25))), "1.00000011920928955078125");
  EXPECT_EQ(Trimmed(S(U::FormatEngineering(6.61187458f, 15))), "6.61187458038330");
  // No zeros to remove: nothing changes.
  EXPECT_EQ(Trimmed(S(U::FormatEngineering(1.25f, 3))), "1.25");
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

TEST(TextLayoutEngineering, DigitsBelowOneCountAsOneAndFortyWork) {
  EXPECT_EQ(S(U::FormatEngineering(1500.0f, 0)), " 2.E+03");
  EXPECT_EQ(S(U::FormatEngineering(1500.0f, -3)), " 2.E+03");
  EXPECT_EQ(S(U::FormatEngineering(0.0f, -3)), " 0.    ");
  const std::string forty = S(U::FormatEngineering(1500.0f, 40));
  EXPECT_EQ(forty.size(), 85u);
  EXPECT_EQ(forty.find('.'), 41u);
  EXPECT_EQ(Trimmed(forty), "1.5E+03");
  const std::string long40 = Trimmed(S(U::FormatEngineering(1.1f, 40)));
  EXPECT_EQ(long40, "1.10000002384185791015625");
  EXPECT_EQ(S(U::FormatEngineering(3.0f, INT_MAX)), S(U::FormatEngineering(3.0f, U::kMaxDigits)));
}

// --- Infinities and not-a-numbers.

TEST(TextLayoutNonFinite, EveryFormWritesInfAndNaNInItsField) {
  EXPECT_EQ(S(U::FormatScientific(kInf, 6)), "         Inf");
  EXPECT_EQ(S(U::FormatScientific(-kInf, 6)), "        -Inf");
  EXPECT_EQ(S(U::FormatScientific(kNaN, 6)), "         NaN");
  EXPECT_EQ(S(U::FormatScientific(-kNaN, 6)), "         NaN");
  EXPECT_EQ(S(U::FormatAutomatic(kInf, 6)), "         Inf");
  EXPECT_EQ(S(U::FormatAutomatic(-kInf, 6)), "        -Inf");
  EXPECT_EQ(S(U::FormatAutomatic(kNaN, 6)), "         NaN");
  EXPECT_EQ(S(U::FormatAutomatic(-kNaN, 1)), "    NaN");
  // Engineering: a text without a point, ending just left of the point column.
  EXPECT_EQ(S(U::FormatEngineering(kInf, 6)), "    Inf          ");
  EXPECT_EQ(S(U::FormatEngineering(-kInf, 6)), "   -Inf          ");
  EXPECT_EQ(S(U::FormatEngineering(kNaN, 6)), "    NaN          ");
  EXPECT_EQ(S(U::FormatEngineering(-kNaN, 6)), "    NaN          ");
  // With one digit the point column is 2: "Inf" does not fit left of it, nothing is cut.
  EXPECT_EQ(S(U::FormatEngineering(kInf, 0)), "Inf     ");
  EXPECT_EQ(S(U::FormatEngineering(-kInf, 40)).size(), 85u);
  EXPECT_EQ(S(U::FormatScientific(-kInf, 40)), std::string(42, ' ') + "-Inf");
  for (xypC_FormatEnum f : {xypC_AUTOMATIC, xypC_ENGINEERING, xypC_SCIENTIFIC}) {
    EXPECT_EQ(Trimmed(S(U::Format(kInf, f, 6))), "Inf");
    EXPECT_EQ(Trimmed(S(U::Format(-kInf, f, 6))), "-Inf");
    EXPECT_EQ(Trimmed(S(U::Format(kNaN, f, 6))), "NaN");
  }
}

// --- Format dispatch.

TEST(TextLayoutFormat, RejectsTheFormsItDoesNotWrite) {
  EXPECT_EQ(S(U::Format(1.0f, xypC_DECIMAL, 6)), "Invalid number format");
  EXPECT_EQ(S(U::Format(1.0f, xypC_POWER, 6)), "Invalid number format");
  EXPECT_EQ(S(U::Format(1.0f, static_cast<xypC_FormatEnum>(5), 6)), "Invalid number format");
  EXPECT_EQ(S(U::Format(1.0f, static_cast<xypC_FormatEnum>(-1), 6)), "Invalid number format");
}

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
  } cases[] = {
      {"Time", 10, {"Time"}},
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
      {"Internal force (Elem 3 Int 2)", 10, {"Internal force", "Int 2", "Elem 3"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Lines(U::BreakToLines(c.label, c.width)), c.lines) << c.label;
}

// --- Fit of a column.

TEST(TextLayoutIsFit, CountsDigitsWithoutPointSignAndTrailingZeros) {
  udd_UserXYData data;
  data.AppendPair(1.5f, 0.125f);      // "1.5" 2 digits;   "0.125" 4 digits
  data.AppendPair(-12.25f, 2.0f);     // "-12.25" 4;       "2." 1
  data.AppendPair(100.0f, -1234.5f);  // "100." 3;         "-1234.5" 5
  EXPECT_TRUE(U::IsFit(4, data, 0));
  EXPECT_FALSE(U::IsFit(3, data, 0));
  EXPECT_TRUE(U::IsFit(5, data, 1));
  EXPECT_FALSE(U::IsFit(4, data, 1));
  EXPECT_FALSE(U::IsFit(4, data, 7));  // any non-zero useY means y
  EXPECT_FALSE(U::IsFit(-1, data, 0));
}

TEST(TextLayoutIsFit, SmallRecordsAndNonFiniteValues) {
  udd_UserXYData empty;
  EXPECT_TRUE(U::IsFit(0, empty, 0));
  EXPECT_TRUE(U::IsFit(-5, empty, 1));

  udd_UserXYData one;
  one.AppendPair(1e-7f, 0.1f);  // "%f": "0.000000" is 1 digit; "0.100000" 2
  EXPECT_TRUE(U::IsFit(1, one, 0));
  EXPECT_FALSE(U::IsFit(1, one, 1));
  EXPECT_TRUE(U::IsFit(2, one, 1));

  udd_UserXYData big;
  big.AppendPair(FLT_MAX, 0.0f);  // 39 integer digits
  EXPECT_TRUE(U::IsFit(39, big, 0));
  EXPECT_FALSE(U::IsFit(38, big, 0));

  udd_UserXYData nonFinite;
  nonFinite.AppendPair(-kInf, kNaN);  // "Inf" and "NaN": 3 each
  EXPECT_TRUE(U::IsFit(3, nonFinite, 0));
  EXPECT_FALSE(U::IsFit(2, nonFinite, 0));
  EXPECT_TRUE(U::IsFit(3, nonFinite, 1));
  EXPECT_FALSE(U::IsFit(2, nonFinite, 1));
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
