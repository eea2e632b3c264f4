// The probe report's number test and number forms, where they differ from the XY report's:
// what counts as a number, the point a one-digit scientific text gains, and the engineering
// mantissa's trailing zeros.
#include <gtest/gtest.h>

#include "prbK_ProbeReportUtils.h"
#include "xypK_Utils.h"

using U = prbK_ProbeReportUtils;

TEST(ProbeReportUtils, IsFloatTellsNumbersTextsAndMissingValues) {
  struct Case {
    const char* text;
    prbK_ProbeEnum expected;
  };
  for (const Case& c : {Case{nullptr, prbK_NOT_A_NUMBER}, Case{"", prbK_NOT_A_NUMBER},
                        Case{"NoValue", prbK_NO_VALUE},   Case{"12 NoValue x", prbK_NO_VALUE},
                        Case{"1", prbK_NUMBER},           Case{"-1.5e+3", prbK_NUMBER},
                        Case{".", prbK_NUMBER},           Case{"+", prbK_NUMBER},
                        Case{"1-2", prbK_NUMBER},         Case{"+-+-", prbK_NUMBER},
                        Case{"2.5\n", prbK_NUMBER},       Case{"\n3", prbK_NUMBER},
                        Case{"e5", prbK_NOT_A_NUMBER},    Case{"1e5E", prbK_NOT_A_NUMBER},
                        Case{"1..2", prbK_NOT_A_NUMBER},  Case{"+++1", prbK_NOT_A_NUMBER},
                        Case{"1---", prbK_NOT_A_NUMBER},  Case{"1 2", prbK_NOT_A_NUMBER},
                        Case{"abc", prbK_NOT_A_NUMBER},   Case{"(1, 2)", prbK_NOT_A_NUMBER}})
    EXPECT_EQ(U::IsFloat(c.text), c.expected) << (c.text ? c.text : "null");
  // Where the XY report's test differs: it refuses ".", "+" and "1-2".
  EXPECT_NE(static_cast<int>(xypK_Utils::IsFloat(".")), static_cast<int>(U::IsFloat(".")));
}

TEST(ProbeReportUtils, NumberForms) {
  struct Case {
    float value;
    prbC_FormatEnm format;
    int digits;
    const char* expected;
  };
  for (const Case& c : {
           Case{123.456f, prbC_SCIENTIFIC, 6, " 1.23456E+02"},
           Case{2.0f, prbC_SCIENTIFIC, 1, "  2E+00."},   // a point even without decimals
           Case{-0.5f, prbC_SCIENTIFIC, 0, " -5E-01."},  // digits below 1 count as 1
           Case{100.0f, prbC_AUTOMATIC, 6, "        100."},
           Case{1500.0f, prbC_ENGINEERING, 6, "      1.5E+03    "},
           // The float 1.1 is not short, so the XY form keeps its zeros; the probe form drops
           // them whenever the decimal count is short.
           Case{1.1f, prbC_ENGINEERING, 6, "      1.1        "},
           Case{1.1f, prbC_DECIMAL, 6, "Invalid number format"},
           Case{1.1f, prbC_POWER, 6, "Invalid number format"},
       })
    EXPECT_EQ(U::Format(c.value, c.format, c.digits), c.expected)
        << c.value << " format " << c.format << " digits " << c.digits;
  EXPECT_EQ(xypK_Utils::FormatEngineering(1.1f, 6), "      1.10000    ");
  EXPECT_EQ(U::Format(1.1f, static_cast<prbC_FormatEnm>(99), 6), "Invalid number format");
}
