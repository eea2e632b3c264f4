// The colour map: X11 names in their spellings, #RRGGBB, "Default", and the colour keyword of
// setValues calls.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>

#include "omu_Arguments.h"
#include "omu_PrimNumber.h"
#include "omu_PrimString.h"
#include "omu_TypeErrorException.h"
#include "omu_ValueErrorException.h"
#include "sesK_ColorMap.h"

namespace {

using Rgb = std::array<int, 3>;

// The colour Lookup gives, or {-1, -1, -1} when it refuses (and then rgb must be untouched).
Rgb Find(const cow_String& name) {
  unsigned char rgb[3] = {7, 7, 7};
  if (sesK_ColorMap::Instance().Lookup(name, rgb)) return {rgb[0], rgb[1], rgb[2]};
  EXPECT_TRUE(rgb[0] == 7 && rgb[1] == 7 && rgb[2] == 7) << "refused '" << name << "' wrote rgb";
  return {-1, -1, -1};
}

const Rgb kNone = {-1, -1, -1};

}  // namespace

TEST(ColorMap, NamesMatchInAnyCaseAndInX11Spellings) {
  for (const char* name : {"red", "RED", "Red", "rEd", "red1"})
    EXPECT_EQ(Find(name), Rgb({255, 0, 0})) << name;
  for (const char* name :
       {"DarkOliveGreen", "darkolivegreen", "dark olive green", "Dark Olive Green"})
    EXPECT_EQ(Find(name), Rgb({85, 107, 47})) << name;
  EXPECT_EQ(Find("navy"), Rgb({0, 0, 128}));
  EXPECT_EQ(Find("NavyBlue"), Rgb({0, 0, 128}));
  EXPECT_EQ(Find("light goldenrod yellow"), Rgb({250, 250, 210}));
  EXPECT_EQ(Find("SlateBlue3"), Rgb({105, 89, 205}));
  EXPECT_EQ(Find("DARKORANGE4"), Rgb({139, 69, 0}));
  EXPECT_EQ(Find("green"), Rgb({0, 255, 0}));
  EXPECT_EQ(Find("WebGreen"), Rgb({0, 128, 0}));
  EXPECT_EQ(Find("rebecca purple"), Rgb({102, 51, 153}));
  // Only X11's own spellings: no other spacing, no padding, no invented shades.
  for (const char* name : {"darkolive green", "dark  red", " red", "red ", "dark-red", "red5",
                           "red0", "SlateGrey1", "blurple", "",
                           "r\xc3\xa9"
                           "d",
                           "lightgoldenrodyellowlightgoldenrodyellow"})
    EXPECT_EQ(Find(name), kNone) << name;
  EXPECT_EQ(Find(cow_String("red\0", 4)), kNone);
  EXPECT_EQ(Find(cow_String::Null()), kNone);
  EXPECT_FALSE(sesK_ColorMap::Instance().IsColor("blurple"));
  EXPECT_TRUE(sesK_ColorMap::Instance().IsColor("Dark Red"));
}

TEST(ColorMap, GrayAndGreySpellingsAgree) {
  for (int n = 0; n <= 100; ++n) {
    const Rgb gray = Find(("gray" + std::to_string(n)).c_str());
    EXPECT_EQ(Find(("GREY" + std::to_string(n)).c_str()), gray) << n;
    EXPECT_TRUE(gray[0] == gray[1] && gray[1] == gray[2]) << n;
    EXPECT_LE(std::fabs(gray[0] - n * 2.55), 0.5) << n;  // n percent of full white, rounded
  }
  EXPECT_EQ(Find("gray50"), Rgb({127, 127, 127}));
  EXPECT_EQ(Find("gray101"), kNone);
  EXPECT_EQ(Find("gray"), Rgb({190, 190, 190}));
  EXPECT_EQ(Find("Grey"), Find("gray"));
  EXPECT_EQ(Find("LightSlateGray"), Rgb({119, 136, 153}));
  EXPECT_EQ(Find("light slate grey"), Find("LightSlateGray"));
  EXPECT_EQ(Find("DimGrey"), Find("dim gray"));
  EXPECT_EQ(Find("DarkGrey"), Rgb({169, 169, 169}));
}

TEST(ColorMap, HexTriplets) {
  EXPECT_EQ(Find("#FF8000"), Rgb({255, 128, 0}));
  EXPECT_EQ(Find("#ff8000"), Rgb({255, 128, 0}));
  EXPECT_EQ(Find("#a1B2c3"), Rgb({0xa1, 0xb2, 0xc3}));
  EXPECT_EQ(Find("#000000"), Rgb({0, 0, 0}));
  for (const char* text : {"#", "#FFF", "#FF800", "#FF80001", "#GG0000", "#12345z", "#12 456",
                           "FF8000", "0xFF8000", "##FF800", " #FF8000"})
    EXPECT_EQ(Find(text), kNone) << text;
  EXPECT_TRUE(sesK_ColorMap::Instance().IsColor("#00ff00"));
  EXPECT_FALSE(sesK_ColorMap::Instance().IsColor("#00ff0"));
}

TEST(ColorMap, DefaultIsAColourWithoutRgbAndTheMapOutlivesFinalize) {
  const sesK_ColorMap& map = sesK_ColorMap::Instance();
  for (const char* name : {"Default", "default", "DEFAULT"}) {
    EXPECT_TRUE(map.IsColor(name)) << name;
    EXPECT_EQ(Find(name), kNone) << name;
  }
  EXPECT_FALSE(map.IsColor("Defaults"));
  EXPECT_FALSE(map.IsColor("Default "));
  // Finalize, then Instance gives a working map.
  EXPECT_EQ(&sesK_ColorMap::Instance(), &map);
  sesK_ColorMap::Finalize();
  EXPECT_EQ(Find("Blue"), Rgb({0, 0, 255}));
}

namespace {

// Reads `keyword` from a setValues call holding `value` under the keyword `given`, the caller's
// colour being "Blue" before: "read <colour>", "absent <colour>", or the error's kind and text
// (followed by " (changed)" if the caller's colour changed all the same).
std::string ReadColor(const char* given, std::unique_ptr<omu_Primitive> value,
                      const char* keyword = "lineColor") {
  omu_Arguments args("setValues");
  args.AddKeyword(given, std::move(value));
  args.Begin();
  args.Optional();
  cow_String color = "Blue";
  try {
    const bool read = sesK_ColorMap::Instance().ProcessColorArg(args, color, keyword);
    if (read) args.End();  // the keyword counts as read
    return (read ? "read " : "absent ") + color.Std();
  } catch (const omu_ValueErrorException& e) {
    return "ValueError " + e.Message().Std() + (color == "Blue" ? "" : " (changed)");
  } catch (const omu_TypeErrorException& e) {
    return "TypeError " + e.Message().Std() + (color == "Blue" ? "" : " (changed)");
  }
}

std::unique_ptr<omu_Primitive> Str(const char* text) {
  return std::make_unique<omu_PrimString>(text);
}

}  // namespace

TEST(ColorMap, ColorArgKeepsKnownTextAsWrittenAndRefusesUnknownTextAndOtherKinds) {
  EXPECT_EQ(ReadColor("lineStyle", Str("solid")), "absent Blue");
  for (const char* given : {"Dark Red", "#00ff00", "default", "grey42"})
    EXPECT_EQ(ReadColor("lineColor", Str(given)), std::string("read ") + given);
  EXPECT_EQ(ReadColor("lineColor", Str("blurple")),
            "ValueError lineColor: unknown colour 'blurple' (an X11 colour name such as 'Red', "
            "'#RRGGBB', or 'Default')");
  // Text that would break a one-line message is shown escaped.
  const std::string odd = ReadColor("symbolColor", Str("re\nd'"), "symbolColor");
  EXPECT_EQ(odd.rfind("ValueError symbolColor: unknown colour 're\\x0ad\\''", 0), 0u) << odd;
  EXPECT_EQ(odd.find("(changed)"), std::string::npos) << odd;
  const std::string number = ReadColor("lineColor", std::make_unique<omu_PrimNumber>(3.0));
  EXPECT_EQ(number.rfind("TypeError ", 0), 0u) << number;
  EXPECT_NE(number.find("'lineColor' expects str"), std::string::npos) << number;
  EXPECT_EQ(number.find("(changed)"), std::string::npos) << number;
}
