// The XY message catalogue: texts, codes, details and exception types of every error, resource
// replacement of the texts, the label-map lookups on the catalogue's tables, and the milestones
// and warnings that go to the work-in-progress reporter.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "cmdC_WIP.h"
#include "cmdC_XypMessageTable.h"
#include "cow_String.h"
#include "nex_Exception.h"
#include "omi_Singleton.h"
#include "omu_KeywordErrorException.h"
#include "thr_ThreadSingleton.h"
#include "uti_ResourceManager.h"
#include "uti_XypException.h"
#include "xypK_MessageTypes.h"
#include "xypK_XYPlotLabels.h"

namespace {

using Labels = uti_LabelMap<xypK_MessageTypesEnm, 1>;
using Milestones = uti_LabelMap<int, 645>;
using PlotLabels = uti_LabelMap<xypK_XYPlotEnm, 1>;
using M = xypK_MessageTypes;

constexpr int kTableRows = 35;

uti_ResourceManager& Resources() {
  return thr_ThreadSingleton<uti_ResourceManager>::Instance();
}

// Registers a resource text for the lifetime of the guard and connects the label maps to the
// resource manager (they consult it only once that is done).
class ScopedResource {
 public:
  ScopedResource(const char* name, const cow_String& text) : name_(name) {
    uti_ResourceManager::InstallLabelLookup();
    Resources().SetStringResource(name_, text);
  }
  ~ScopedResource() { Resources().RemoveStringResource(name_); }
  ScopedResource(const ScopedResource&) = delete;
  ScopedResource& operator=(const ScopedResource&) = delete;

 private:
  cow_String name_;
};

std::string ResourceNameOf(int key) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "xypK_MessageTypes_MSGID_%02d", key);
  return buf;
}

// What an operation raised.
struct Raised {
  bool thrown = false;
  bool isXyp = false;
  bool isKeyword = false;
  std::string message;
  int code = -1;
  std::string detail1;
  std::string detail2;
  std::string keyword;
  std::string file;
  int line = 0;
};

Raised Capture(const std::function<void()>& raise) {
  Raised r;
  try {
    raise();
  } catch (const nex_Exception& e) {
    r.thrown = true;
    r.isXyp = dynamic_cast<const uti_XypException*>(&e) != nullptr;
    const auto* keyword = dynamic_cast<const omu_KeywordErrorException*>(&e);
    r.isKeyword = keyword != nullptr;
    if (keyword) r.keyword = keyword->Keyword().Std();
    r.message = e.Message().Std();
    r.code = e.Code();
    r.detail1 = e.Detail1().Std();
    r.detail2 = e.Detail2().Std();
    r.file = e.File() ? e.File() : "";
    r.line = e.Line();
  }
  return r;
}

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

enum class Thrown { Xyp, Keyword };
enum class Origin { Table, Fixed, Delegated };

struct RaiseCase {
  const char* name;
  Origin origin;
  int key;  // the catalogue row; -1 for errors outside the table
  std::function<void()> raise;
  const char* text;
  int code;
  const char* detail1;
  const char* detail2;
  Thrown type;
};

void PrintTo(const RaiseCase& c, std::ostream* os) {
  *os << c.name;
}

std::vector<RaiseCase> TableCases() {
  const Origin T = Origin::Table;
  const Thrown X = Thrown::Xyp, K = Thrown::Keyword;
  return {
      {"XYMustHaveXAndY", T, 0, [] { M::ErrorXYMustHaveXAndY(); },
       "An XYData object must contain an X and Y value", 15, "", "", X},
      {"InvalidStepNumber", T, 1, [] { M::ErrorInvalidStepNumber(); }, "Invalid step numbers", 16,
       "", "", X},
      {"InvalidModel", T, 2, [] { M::ErrorInvalidModel(); }, "Invalid model", 17, "", "", X},
      {"MixedStepDomains", T, 3, [] { M::ErrorMixedStepDomains("Modal", "Static"); },
       "Mixing steps with Modal and Static domains while creating an XYData object is prohibited",
       1, "Modal", "Static", X},
      {"InvalidHistoryVariable", T, 4, [] { M::ErrorInvalidHistoryVariable("ALLKE"); },
       "Invalid History Variable: ALLKE", 5, "ALLKE", "", X},
      {"InvalidStartFrameNumber", T, 5, [] { M::ErrorInvalidStartFrameNumber(); },
       "Invalid start frame number", 18, "", "", X},
      {"InvalidEndFrameNumber", T, 6, [] { M::ErrorInvalidEndFrameNumber(); },
       "Invalid end frame number", 19, "", "", X},
      {"ReadingODBData", T, 7, [] { M::ErrorReadingODBData(); }, "Failed reading data from ODB", 20,
       "", "", X},
      {"UnknownXYData", T, 8, [] { M::ErrorUnknownXYData(); }, "Unknown XYData", 21, "", "", X},
      {"XYPlotNameNotGiven", T, 9, [] { M::ErrorXYPlotNameNotGiven(); },
       "XYPlot name must be entered", 2, "", "", X},
      {"CurveNameNotGiven", T, 10, [] { M::ErrorCurveNameNotGiven(); },
       "Curve name must be entered", 3, "", "", X},
      {"ZeroLengthXYData", T, 11, [] { M::ErrorZeroLengthXYData(); },
       "XYData object must contain at least one data point", 27, "", "", X},
      {"UnknownColumnLayout", T, 12, [] { M::ErrorUnknownColumnLayout(); }, "Unknown column layout",
       22, "", "", X},
      {"PrintMethodSelection", T, 13, [] { M::ErrorPrintMethodSelection(); },
       "At least one of the data print methods must be selected", 23, "", "", X},
      {"XValueDecreasedInInterpolationSel", T, 14,
       [] { M::ErrorXValueDecreasedInInterpolationSel(); },
       "X value must not decrease for interpolation selection", 24, "", "", X},
      {"NotFoundXYData", T, 15, [] { M::ErrorNotFoundXYData("XYData-3"); },
       "XYData not found: XYData-3", 26, "XYData-3", "", X},
      {"NotFoundCurve", T, 16, [] { M::ErrorNotFoundCurve("C 7"); }, "Curve not found: C 7", 28,
       "C 7", "", X},
      {"UnknowXYDataSource", T, 17, [] { M::ErrorUnknowXYDataSource(); },
       "Unknown source for XYData", 29, "", "", X},
      {"InvalidColumnNumberForCoordinate", T, 18,
       [] { M::ErrorInvalidColumnNumberForCoordinate("X"); }, "Invalid X column number", 30, "X",
       "", X},
      {"InvalidSectionNumber", T, 19, [] { M::ErrorInvalidSectionNumber(); },
       "Invalid Section number", 31, "", "", X},
      {"TwoArgsNeeded", T, 20, [] { M::ErrorTwoArgsNeeded(); },
       "This operation requires exactly two arguments", 47, "", "", X},
      {"ExpectingOskInterfaceObjects", T, 21, [] { M::ErrorExpectingOskInterfaceObjects(); },
       "Expecting at least one Oskavo Interface Object", 0, "", "", K},
      {"ExpectingOneOskInterfaceObject", T, 22, [] { M::ErrorExpectingOneOskInterfaceObject(); },
       "Expecting Oskavo Interface Object", 0, "", "", K},
      {"ExpectingMaxThreeOskInterfaceObjects", T, 23,
       [] { M::ErrorExpectingMaxThreeOskInterfaceObjects(); },
       "Expecting at most three Oskavo Interface Objects", 0, "", "", K},
      {"TwoArgsMinNeeded", T, 24, [] { M::ErrorTwoArgsMinNeeded(); },
       "This operation requires at least two arguments", 48, "", "", X},
      {"MaxValueOptionBelowDataMin", T, 25, [] { M::ErrorSpecMaxValueLessThanMinValue("Y"); },
       "The current plot options specify a maximum Y-Axis value that\n"
       "is smaller than the minimum Y value contained in the XY data.",
       49, "Y", "", X},
      {"MinValueOptionAboveDataMax", T, 26, [] { M::ErrorSpecMinValueGreaterThanMaxValue("Y"); },
       "The current plot options specify a minimum Y-Axis value that\n"
       "is greater than the maximum Y value contained in the XY data.",
       50, "Y", "", X},
      {"MinValueGreaterThanMaxValue", T, 27, [] { M::ErrorMinValueGreaterThanMaxValue("Y"); },
       "Minimum Y-value is greater than the maximum Y-value", 51, "Y", "", X},
      {"AxisValuesNotPositive", T, 28, [] { M::ErrorAxisValuesNotPositive("Y"); },
       "Y-axis limits should be greater than zero when using a logarithmic scale", 54, "Y", "", X},
      {"DataValuesNotPositive", T, 29, [] { M::ErrorDataValuesNotPositive("c1, c2"); },
       "For plotting of xy data using a logarithmic scale, all data points must be greater than "
       "zero. Curves that may be violating this condition include - c1, c2.",
       55, "c1, c2", "", X},
      {"AxisRangeIsZero", T, 30, [] { M::ErrorAxisRangeIsZero("Y"); }, "Y-axis range can not be 0",
       52, "Y", "", X},
      {"ExcessiveAxisTickmarkNumber", T, 31, [] { M::ErrorExcessiveAxisTickmarkNumber("Y"); },
       "The value of Y TICKMARK gives an excessive number of tickmarks", 53, "Y", "", X},
      {"FrequencyValueNotPositive", T, 32, [] { M::ErrorFrequencyValueNotPositive(); },
       "Frequency value should be larger than zero", 56, "", "", X},
      {"InvalidAspectRatio", T, 33, [] { M::ErrorInvalidAspectRatio(); },
       "Aspect ratio of the xyPlot must be a positive number", 57, "", "", X},
      {"XYFromHistoryAborted", T, 34, [] { M::ErrorXYFromHistoryAborted(); },
       "XY Data extraction from history aborted per user request.", 58, "", "", X},
  };
}

std::vector<RaiseCase> FixedCases() {
  const Origin F = Origin::Fixed;
  const Thrown X = Thrown::Xyp;
  return {
      {"XYPlotUninitialized", F, -1, [] { M::ErrorXYPlotUninitialized("Viewport: 2"); },
       "The xyPlot object associated with Viewport 'Viewport: 2' is uninitialized.", 14,
       "Viewport: 2", "", X},
      {"InvalidHistoryDataOnODB", F, -1, [] { M::ErrorInvalidHistoryDataOnODB(); },
       "ErrorInvalidHistoryDataOnODB", 0, "", "", X},
      {"NoXYDataSelected", F, -1, [] { M::ErrorNoXYDataSelected(); }, "ErrorNoXYDataSelected", 6,
       "", "", X},
      {"TableWidthSize", F, -1, [] { M::ErrorTableWidthSize(); }, "ErrorTableWidthSize", 7, "", "",
       X},
      {"NoFileName", F, -1, [] { M::ErrorNoFileName(); }, "ErrorNoFileName", 9, "", "", X},
      {"InvalidDataTypeForCoordinate", F, -1, [] { M::ErrorInvalidDataTypeForCoordinate("Y"); },
       "ErrorInvalidDataTypeForCoordinate", 10, "Y", "", X},
      {"ReadingDataFromFile", F, -1, [] { M::ErrorReadingDataFromFile(); },
       "ErrorReadingDataFromFile", 11, "", "", X},
      {"NoCurrentOdb", F, -1, [] { M::ErrorNoCurrentOdb(); }, "ErrorNoCurrentOdb", 12, "", "", X},
      {"OutOfRangeColumnForCoordinate", F, -1, [] { M::ErrorOutOfRangeColumnForCoordinate("X"); },
       "ErrorWrongColumnNumber", 13, "X", "", X},
      {"EmptyXYRepository", F, -1, [] { M::ErrorEmptyXYRepository(); }, "Empty xyData repository",
       25, "", "", X},
  };
}

std::vector<RaiseCase> DelegatedCases() {
  const Origin D = Origin::Delegated;
  const Thrown X = Thrown::Xyp;
  return {
      {"XYDataNameNotGiven", D, -1, [] { M::ErrorXYDataNameNotGiven(); },
       "XYData name must be entered", 201, "", "", X},
      {"OldNameEqualToNewName", D, -1, [] { M::ErrorOldNameEqualToNewName(); },
       "The new name must differ from the old name", 202, "", "", X},
  };
}

std::string CaseName(const testing::TestParamInfo<RaiseCase>& info) {
  return info.param.name;
}

// ---------------------------------------------------------------------------------------------
// Every error: text, code, details, exception type and raising place.

class MessageCatalogueRaiseTest : public testing::TestWithParam<RaiseCase> {};

TEST_P(MessageCatalogueRaiseTest, RaisesItsTextCodeAndDetails) {
  const RaiseCase& c = GetParam();
  const Raised r = Capture(c.raise);
  ASSERT_TRUE(r.thrown);
  EXPECT_EQ(r.message, c.text);
  EXPECT_EQ(r.code, c.code);
  EXPECT_EQ(r.detail1, c.detail1);
  EXPECT_EQ(r.detail2, c.detail2);
}

TEST_P(MessageCatalogueRaiseTest, ThrowsTheExpectedExceptionType) {
  const RaiseCase& c = GetParam();
  const Raised r = Capture(c.raise);
  ASSERT_TRUE(r.thrown);
  if (c.type == Thrown::Keyword) {
    EXPECT_TRUE(r.isKeyword);
    EXPECT_FALSE(r.isXyp);
    EXPECT_EQ(r.keyword, "");
  } else {
    EXPECT_TRUE(r.isXyp);
    EXPECT_FALSE(r.isKeyword);
  }
}

TEST_P(MessageCatalogueRaiseTest, IsStampedWithTheRaisingSource) {
  const RaiseCase& c = GetParam();
  const Raised r = Capture(c.raise);
  ASSERT_TRUE(r.thrown);
  const char* source =
      c.origin == Origin::Delegated ? "oda_MessageTypes.cpp" : "xypK_MessageTypes.cpp";
  EXPECT_TRUE(EndsWith(r.file, source)) << r.file;
  EXPECT_GT(r.line, 0);
}

INSTANTIATE_TEST_SUITE_P(TableRows, MessageCatalogueRaiseTest, testing::ValuesIn(TableCases()),
                         CaseName);
INSTANTIATE_TEST_SUITE_P(OutsideTable, MessageCatalogueRaiseTest, testing::ValuesIn(FixedCases()),
                         CaseName);
INSTANTIATE_TEST_SUITE_P(Delegated, MessageCatalogueRaiseTest, testing::ValuesIn(DelegatedCases()),
                         CaseName);

TEST(MessageCatalogueCoverage, TableCasesCoverEveryRowOnce) {
  std::set<int> keys;
  for (const RaiseCase& c : TableCases()) EXPECT_TRUE(keys.insert(c.key).second) << c.name;
  ASSERT_EQ(keys.size(), static_cast<size_t>(kTableRows));
  EXPECT_EQ(*keys.begin(), 0);
  EXPECT_EQ(*keys.rbegin(), kTableRows - 1);
}

// ---------------------------------------------------------------------------------------------
// A text registered for a row's resource name replaces the row's default text.

class MessageCatalogueResourceTest : public testing::TestWithParam<RaiseCase> {};

TEST_P(MessageCatalogueResourceTest, RegisteredResourceReplacesTheDefaultText) {
  const RaiseCase& c = GetParam();
  const std::string prefix = "[" + ResourceNameOf(c.key) + "] ";
  const char* defaultText = Labels::DefaultLabelString(xypK_MessageTypesEnm(c.key));
  ASSERT_NE(defaultText, nullptr);
  // The registered text keeps the row's placeholders, so it composes like the default one.
  ScopedResource resource(ResourceNameOf(c.key).c_str(), cow_String(prefix + defaultText));
  const Raised r = Capture(c.raise);
  ASSERT_TRUE(r.thrown);
  EXPECT_EQ(r.message, prefix + c.text);
  EXPECT_EQ(r.code, c.code);
}

TEST_P(MessageCatalogueResourceTest, DefaultTextIsBackOnceTheResourceIsRemoved) {
  const RaiseCase& c = GetParam();
  { ScopedResource resource(ResourceNameOf(c.key).c_str(), "replaced"); }
  EXPECT_EQ(Capture(c.raise).message, c.text);
}

INSTANTIATE_TEST_SUITE_P(TableRows, MessageCatalogueResourceTest, testing::ValuesIn(TableCases()),
                         CaseName);

TEST(MessageCatalogueResource, TranslatedAxisRangeText) {
  ScopedResource resource("xypK_MessageTypes_MSGID_30", "Achse %s hat Spannweite 0");
  const Raised r = Capture([] { M::ErrorAxisRangeIsZero("X"); });
  ASSERT_TRUE(r.thrown);
  EXPECT_EQ(r.message, "Achse X hat Spannweite 0");
  EXPECT_EQ(r.code, 52);
  EXPECT_EQ(r.detail1, "X");
}

TEST(MessageCatalogueResource, FixedTextsIgnoreResources) {
  ScopedResource resource("ErrorNoFileName", "replaced");
  EXPECT_EQ(Capture([] { M::ErrorNoFileName(); }).message, "ErrorNoFileName");
}

// ---------------------------------------------------------------------------------------------
// Composition of texts and arguments.

TEST(MessageCatalogueComposition, MixedStepDomainsExample) {
  const Raised r = Capture([] { M::ErrorMixedStepDomains("Time", "Frequency"); });
  ASSERT_TRUE(r.thrown);
  EXPECT_EQ(r.message,
            "Mixing steps with Time and Frequency domains while creating an XYData object is "
            "prohibited");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.detail1, "Time");
  EXPECT_EQ(r.detail2, "Frequency");
}

TEST(MessageCatalogueComposition, AxisRangeIsZeroExample) {
  const Raised r = Capture([] { M::ErrorAxisRangeIsZero("X"); });
  ASSERT_TRUE(r.thrown);
  EXPECT_EQ(r.message, "X-axis range can not be 0");
  EXPECT_EQ(r.code, 52);
}

TEST(MessageCatalogueComposition, NumberedPlaceholdersFollowTheirArgumentsNotTheirOrder) {
  ScopedResource resource("xypK_MessageTypes_MSGID_03", "%2$s before %1$s, %2$s again");
  EXPECT_EQ(Capture([] { M::ErrorMixedStepDomains("Time", "Frequency"); }).message,
            "Frequency before Time, Frequency again");
}

TEST(MessageCatalogueComposition, NumberedPlaceholdersAtTheEdgesAndAdjacent) {
  ScopedResource resource("xypK_MessageTypes_MSGID_03", "%1$s%2$s%1$s");
  EXPECT_EQ(Capture([] { M::ErrorMixedStepDomains("a", "b"); }).message, "aba");
}

TEST(MessageCatalogueComposition, FirstArgumentContainingSecondPlaceholderIsVerbatim) {
  const Raised r = Capture([] { M::ErrorMixedStepDomains("%2$s", "Frequency"); });
  EXPECT_EQ(r.message,
            "Mixing steps with %2$s and Frequency domains while creating an XYData object is "
            "prohibited");
  EXPECT_EQ(r.detail1, "%2$s");
}

TEST(MessageCatalogueComposition, SecondArgumentContainingFirstPlaceholderIsVerbatim) {
  const Raised r = Capture([] { M::ErrorMixedStepDomains("Time", "%1$s%2$s"); });
  EXPECT_EQ(r.message,
            "Mixing steps with Time and %1$s%2$s domains while creating an XYData object is "
            "prohibited");
}

TEST(MessageCatalogueComposition, ArgumentContainingPercentSIsVerbatim) {
  EXPECT_EQ(Capture([] { M::ErrorAxisRangeIsZero("%s"); }).message, "%s-axis range can not be 0");
  EXPECT_EQ(Capture([] { M::ErrorMinValueGreaterThanMaxValue("%s%s"); }).message,
            "Minimum %s%s-value is greater than the maximum %s%s-value");
  EXPECT_EQ(Capture([] { M::ErrorInvalidColumnNumberForCoordinate("%1$s"); }).message,
            "Invalid %1$s column number");
}

TEST(MessageCatalogueComposition, AppendedArgumentIsNotInterpreted) {
  EXPECT_EQ(Capture([] { M::ErrorInvalidHistoryVariable("%s %1$s"); }).message,
            "Invalid History Variable: %s %1$s");
  EXPECT_EQ(Capture([] { M::ErrorNotFoundCurve("%2$s"); }).message, "Curve not found: %2$s");
}

TEST(MessageCatalogueComposition, EveryOccurrenceOfPercentSTakesTheSingleArgument) {
  ScopedResource resource("xypK_MessageTypes_MSGID_31", "%s/%s/%s");
  const Raised r = Capture([] { M::ErrorExcessiveAxisTickmarkNumber("Z"); });
  EXPECT_EQ(r.message, "Z/Z/Z");
  EXPECT_EQ(r.detail1, "Z");
}

TEST(MessageCatalogueComposition, EmptyArguments) {
  EXPECT_EQ(Capture([] { M::ErrorAxisRangeIsZero(""); }).message, "-axis range can not be 0");
  EXPECT_EQ(Capture([] { M::ErrorNotFoundXYData(""); }).message, "XYData not found: ");
  EXPECT_EQ(Capture([] { M::ErrorMixedStepDomains("", ""); }).message,
            "Mixing steps with  and  domains while creating an XYData object is prohibited");
}

TEST(MessageCatalogueComposition, LineBreakSeparatesTheTwoHalves) {
  const Raised r = Capture([] { M::ErrorSpecMinValueGreaterThanMaxValue("X"); });
  const size_t nl = r.message.find('\n');
  ASSERT_NE(nl, std::string::npos);
  EXPECT_EQ(r.message.substr(0, nl),
            "The current plot options specify a minimum X-Axis value that");
  EXPECT_EQ(r.message.substr(nl + 1),
            "is greater than the maximum X value contained in the XY data.");
}

// ---------------------------------------------------------------------------------------------
// Label-map lookups on the catalogue table.

TEST(MessageCatalogueLabelMap, ColumnsHaveOneEntryPerRowInKeyOrder) {
  const std::vector<cow_String> texts = Labels::DefaultLabelStrings();
  const std::vector<cow_String> labels = Labels::LabelStrings();
  const std::vector<cow_String> names = Labels::ResourceNames();
  ASSERT_EQ(texts.size(), static_cast<size_t>(kTableRows));
  ASSERT_EQ(labels.size(), static_cast<size_t>(kTableRows));
  ASSERT_EQ(names.size(), static_cast<size_t>(kTableRows));
  for (int key = 0; key < kTableRows; ++key) {
    SCOPED_TRACE(key);
    const auto k = xypK_MessageTypesEnm(key);
    EXPECT_EQ(names[key], ResourceNameOf(key).c_str());
    EXPECT_EQ(texts[key], Labels::DefaultLabelString(k));
    EXPECT_EQ(labels[key], texts[key]);
    EXPECT_EQ(Labels::ResourceKey(names[key]), k);
    EXPECT_EQ(Labels::DefaultLabelKey(texts[key]), k);
    EXPECT_EQ(Labels::LabelKey(labels[key]), k);
  }
}

TEST(MessageCatalogueLabelMap, LookupsByKeyAndByResourceName) {
  const char* text =
      "Mixing steps with %1$s and %2$s domains while creating an XYData object is prohibited";
  EXPECT_EQ(Labels::LabelString(xypK_MSG_MixedStepDomains), text);
  EXPECT_EQ(Labels::LabelString(cow_String("xypK_MessageTypes_MSGID_03")), text);
  EXPECT_STREQ(Labels::DefaultLabelString(xypK_MSG_MixedStepDomains), text);
  EXPECT_STREQ(Labels::ResourceName(xypK_MSG_MixedStepDomains), "xypK_MessageTypes_MSGID_03");
  EXPECT_EQ(Labels::LabelKey(text), xypK_MSG_MixedStepDomains);
  EXPECT_EQ(Labels::DefaultLabelKey(text), xypK_MSG_MixedStepDomains);
  EXPECT_EQ(Labels::ResourceKey("xypK_MessageTypes_MSGID_34"), xypK_MSG_XYFromHistoryAborted);
  EXPECT_EQ(Labels::LabelString(xypK_MSG_XYMustHaveXAndY),
            "An XYData object must contain an X and Y value");
}

TEST(MessageCatalogueLabelMap, MissingKeyOrNameGivesNullResults) {
  const auto missing = xypK_MessageTypesEnm(kTableRows);
  EXPECT_TRUE(Labels::LabelString(missing).IsNull());
  EXPECT_EQ(Labels::DefaultLabelString(missing), nullptr);
  EXPECT_EQ(Labels::ResourceName(missing), nullptr);
  EXPECT_TRUE(Labels::LabelString(xypK_MessageTypesEnm(-1)).IsNull());
  EXPECT_TRUE(Labels::LabelString(cow_String("xypK_MessageTypes_MSGID_35")).IsNull());
  EXPECT_TRUE(Labels::LabelString(cow_String::Null()).IsNull());
}

TEST(MessageCatalogueLabelMap, RegisteredResourceChangesLabelsButNotDefaults) {
  ScopedResource resource("xypK_MessageTypes_MSGID_30", "Achse %s hat Spannweite 0");
  EXPECT_EQ(Labels::LabelString(xypK_MSG_AxisRangeIsZero), "Achse %s hat Spannweite 0");
  EXPECT_EQ(Labels::LabelString(cow_String("xypK_MessageTypes_MSGID_30")),
            "Achse %s hat Spannweite 0");
  EXPECT_STREQ(Labels::DefaultLabelString(xypK_MSG_AxisRangeIsZero), "%s-axis range can not be 0");
  EXPECT_EQ(Labels::LabelKey("Achse %s hat Spannweite 0"), xypK_MSG_AxisRangeIsZero);
  EXPECT_EQ(Labels::DefaultLabelKey("%s-axis range can not be 0"), xypK_MSG_AxisRangeIsZero);
  EXPECT_EQ(Labels::LabelStrings()[30], "Achse %s hat Spannweite 0");
  EXPECT_EQ(Labels::DefaultLabelStrings()[30], "%s-axis range can not be 0");
}

TEST(MessageCatalogueLabelMapDeathTest, ReverseLookupMissIsAProgrammingError) {
  EXPECT_DEATH((void)Labels::LabelKey("no such label"), "Unable to find key given label string");
  EXPECT_DEATH((void)Labels::DefaultLabelKey("no such text"),
               "Unable to find key given label string");
  EXPECT_DEATH((void)Labels::ResourceKey("xypK_MessageTypes_MSGID_99"),
               "Unable to find key given resource string");
}

// ---------------------------------------------------------------------------------------------
// The milestone table and the plot title table.

TEST(MilestoneLabelMap, Rows) {
  EXPECT_EQ(Milestones::LabelString(0), "Retrieving history data from odb...");
  EXPECT_EQ(Milestones::LabelString(1), "Writing XY report...");
  EXPECT_STREQ(Milestones::ResourceName(0), "xypK_RetrievingHistoryFromOdb");
  EXPECT_STREQ(Milestones::ResourceName(1), "xypK_WritingReport");
  EXPECT_EQ(Milestones::ResourceKey("xypK_WritingReport"), 1);
  EXPECT_EQ(Milestones::DefaultLabelKey("Retrieving history data from odb..."), 0);
  EXPECT_EQ(Milestones::ResourceNames().size(), 2u);
  EXPECT_TRUE(Milestones::LabelString(2).IsNull());
}

TEST(XYPlotLabelMap, Rows) {
  EXPECT_EQ(PlotLabels::LabelString(xypK_XYPlot_NoCurveCreated),
            "No curve created in the current plot");
  EXPECT_EQ(PlotLabels::LabelString(xypK_XYPlot_NoCurveInPlotList), "No curve in plot list");
  EXPECT_STREQ(PlotLabels::ResourceName(xypK_XYPlot_NoCurveCreated), "xypK_XYPlot_MSGID_00");
  EXPECT_STREQ(PlotLabels::ResourceName(xypK_XYPlot_NoCurveInPlotList), "xypK_XYPlot_MSGID_01");
  EXPECT_EQ(PlotLabels::ResourceKey("xypK_XYPlot_MSGID_01"), xypK_XYPlot_NoCurveInPlotList);
  EXPECT_EQ(PlotLabels::DefaultLabelStrings().size(), 2u);
  EXPECT_TRUE(PlotLabels::LabelString(xypK_XYPlotEnm(2)).IsNull());
}

TEST(XYPlotLabelMap, RegisteredResourceReplacesTitle) {
  ScopedResource resource("xypK_XYPlot_MSGID_01", "Keine Kurve");
  EXPECT_EQ(PlotLabels::LabelString(xypK_XYPlot_NoCurveInPlotList), "Keine Kurve");
  EXPECT_EQ(PlotLabels::LabelString(xypK_XYPlot_NoCurveCreated),
            "No curve created in the current plot");
}

// ---------------------------------------------------------------------------------------------
// Milestones and warnings reach the work-in-progress reporter.

using Line = std::pair<std::string, std::string>;

std::vector<Line>& ReportedLines() {
  static std::vector<Line> lines;
  return lines;
}

void RecordLine(const char* kind, const cow_String& text) {
  ReportedLines().emplace_back(kind, text.Std());
}

class WorkInProgressTest : public testing::Test {
 protected:
  void SetUp() override {
    ReportedLines().clear();
    cmdC_WIP::SetListener(&RecordLine);
  }
  void TearDown() override {
    cmdC_WIP::SetListener(nullptr);
    ReportedLines().clear();
  }
  // What the reporter passes on when called directly.
  static std::vector<Line> Direct(const std::function<void(cmdC_WIP&)>& call) {
    const std::vector<Line> saved = ReportedLines();
    ReportedLines().clear();
    call(omi_Singleton<cmdC_WIP>::Instance());
    std::vector<Line> out = ReportedLines();
    ReportedLines() = saved;
    return out;
  }
};

TEST_F(WorkInProgressTest, RetrievingHistoryMilestone) {
  M::MilestoneInfoRetrievingHistoryFromODB();
  ASSERT_EQ(ReportedLines().size(), 1u);
  EXPECT_EQ(ReportedLines()[0].second, "Retrieving history data from odb...");
  EXPECT_EQ(ReportedLines(),
            Direct([](cmdC_WIP& wip) { wip.Milestone("Retrieving history data from odb..."); }));
}

TEST_F(WorkInProgressTest, WritingReportMilestoneCarriesThePercentage) {
  M::MilestoneWritingReport(40);
  ASSERT_EQ(ReportedLines().size(), 1u);
  EXPECT_EQ(ReportedLines()[0].first, "Milestone");
  EXPECT_NE(ReportedLines()[0].second.find("Writing XY report..."), std::string::npos);
  EXPECT_EQ(ReportedLines(),
            Direct([](cmdC_WIP& wip) { wip.Milestone("Writing XY report...", 40); }));
}

TEST_F(WorkInProgressTest, MilestoneTextComesFromTheResources) {
  ScopedResource resource("xypK_RetrievingHistoryFromOdb", "Lese Verlaufsdaten...");
  M::MilestoneInfoRetrievingHistoryFromODB();
  ASSERT_EQ(ReportedLines().size(), 1u);
  EXPECT_EQ(ReportedLines()[0].second, "Lese Verlaufsdaten...");
}

TEST_F(WorkInProgressTest, OutOfRangeFrequencyWarning) {
  M::WarningOutOfRangeFrequency("5.5", "12");
  ASSERT_EQ(ReportedLines().size(), 1u);
  EXPECT_EQ(ReportedLines()[0].first, "Warning");
  const std::string& text = ReportedLines()[0].second;
  EXPECT_EQ(text, cmdC_XypMessageTable::Instance().WarningOutOfRangeFrequency("5.5", "12")->Text());
  EXPECT_NE(text.find("5.5"), std::string::npos);
  EXPECT_NE(text.find("12"), std::string::npos);
}

TEST_F(WorkInProgressTest, InvalidDataForXYPlotWarning) {
  M::WarningInvalidDataForXYPlot();
  ASSERT_EQ(ReportedLines().size(), 1u);
  EXPECT_EQ(ReportedLines()[0].first, "Warning");
  EXPECT_EQ(ReportedLines()[0].second,
            cmdC_XypMessageTable::Instance().WarningInvalidDataForXYPlot()->Text());
}

}  // namespace
