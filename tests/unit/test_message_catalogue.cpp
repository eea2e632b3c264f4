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

// Registers a resource text for the lifetime of the guard and connects the label maps to the
// resource manager (they consult it only once that is done).
class ScopedResource {
 public:
  ScopedResource(const char* name, const cow_String& text) : name_(name) {
    uti_ResourceManager::InstallLabelLookup();
    thr_ThreadSingleton<uti_ResourceManager>::Instance().SetStringResource(name_, text);
  }
  ~ScopedResource() {
    thr_ThreadSingleton<uti_ResourceManager>::Instance().RemoveStringResource(name_);
  }
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
  bool thrown = false, isXyp = false, isKeyword = false;
  std::string message, detail1, detail2, keyword, file;
  int code = -1, line = 0;
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

std::string MessageOf(const std::function<void()>& raise) {
  return Capture(raise).message;
}

enum class Thrown { Xyp, Keyword };

struct RaiseCase {
  const char* name;
  std::function<void()> raise;
  const char* text;
  int code;
  Thrown type = Thrown::Xyp;
  const char* detail1 = "";
  const char* detail2 = "";
  const char* source = "xypK_MessageTypes.cpp";  // where the error is raised
  int key = -1;  // the catalogue row; -1 for errors outside the table
};

void PrintTo(const RaiseCase& c, std::ostream* os) {
  *os << c.name;
}

// A case of an error without arguments, named after its function.
// clang-format off
#define PLAIN(fn, ...) {#fn, [] { M::Error##fn(); }, __VA_ARGS__}
// clang-format on

std::vector<RaiseCase> TableCases() {
  const Thrown X = Thrown::Xyp, K = Thrown::Keyword;
  std::vector<RaiseCase> rows = {
      PLAIN(XYMustHaveXAndY, "An XYData object must contain an X and Y value", 15),
      PLAIN(InvalidStepNumber, "Invalid step numbers", 16),
      PLAIN(InvalidModel, "Invalid model", 17),
      {"MixedStepDomains", [] { M::ErrorMixedStepDomains("Modal", "Static"); },
       "Mixing steps with Modal and Static domains while creating an XYData object is prohibited",
       1, X, "Modal", "Static"},
      {"InvalidHistoryVariable", [] { M::ErrorInvalidHistoryVariable("ALLKE"); },
       "Invalid History Variable: ALLKE", 5, X, "ALLKE"},
      PLAIN(InvalidStartFrameNumber, "Invalid start frame number", 18),
      PLAIN(InvalidEndFrameNumber, "Invalid end frame number", 19),
      PLAIN(ReadingODBData, "Failed reading data from ODB", 20),
      PLAIN(UnknownXYData, "Unknown XYData", 21),
      PLAIN(XYPlotNameNotGiven, "XYPlot name must be entered", 2),
      PLAIN(CurveNameNotGiven, "Curve name must be entered", 3),
      PLAIN(ZeroLengthXYData, "XYData object must contain at least one data point", 27),
      PLAIN(UnknownColumnLayout, "Unknown column layout", 22),
      PLAIN(PrintMethodSelection, "At least one of the data print methods must be selected", 23),
      PLAIN(XValueDecreasedInInterpolationSel,
            "X value must not decrease for interpolation selection", 24),
      {"NotFoundXYData", [] { M::ErrorNotFoundXYData("XYData-3"); }, "XYData not found: XYData-3",
       26, X, "XYData-3"},
      {"NotFoundCurve", [] { M::ErrorNotFoundCurve("C 7"); }, "Curve not found: C 7", 28, X, "C 7"},
      PLAIN(UnknowXYDataSource, "Unknown source for XYData", 29),
      {"InvalidColumnNumberForCoordinate", [] { M::ErrorInvalidColumnNumberForCoordinate("X"); },
       "Invalid X column number", 30, X, "X"},
      PLAIN(InvalidSectionNumber, "Invalid Section number", 31),
      PLAIN(TwoArgsNeeded, "This operation requires exactly two arguments", 47),
      PLAIN(ExpectingOskInterfaceObjects, "Expecting at least one Oskavo Interface Object", 0, K),
      PLAIN(ExpectingOneOskInterfaceObject, "Expecting Oskavo Interface Object", 0, K),
      PLAIN(ExpectingMaxThreeOskInterfaceObjects,
            "Expecting at most three Oskavo Interface Objects", 0, K),
      PLAIN(TwoArgsMinNeeded, "This operation requires at least two arguments", 48),
      {"MaxValueOptionBelowDataMin", [] { M::ErrorSpecMaxValueLessThanMinValue("Y"); },
       "The current plot options specify a maximum Y-Axis value that\n"
       "is smaller than the minimum Y value contained in the XY data.",
       49, X, "Y"},
      {"MinValueOptionAboveDataMax", [] { M::ErrorSpecMinValueGreaterThanMaxValue("Y"); },
       "The current plot options specify a minimum Y-Axis value that\n"
       "is greater than the maximum Y value contained in the XY data.",
       50, X, "Y"},
      {"MinValueGreaterThanMaxValue", [] { M::ErrorMinValueGreaterThanMaxValue("Y"); },
       "Minimum Y-value is greater than the maximum Y-value", 51, X, "Y"},
      {"AxisValuesNotPositive", [] { M::ErrorAxisValuesNotPositive("Y"); },
       "Y-axis limits should be greater than zero when using a logarithmic scale", 54, X, "Y"},
      {"DataValuesNotPositive", [] { M::ErrorDataValuesNotPositive("c1, c2"); },
       "For plotting of xy data using a logarithmic scale, all data points must be greater than "
       "zero. Curves that may be violating this condition include - c1, c2.",
       55, X, "c1, c2"},
      {"AxisRangeIsZero", [] { M::ErrorAxisRangeIsZero("Y"); }, "Y-axis range can not be 0", 52, X,
       "Y"},
      {"ExcessiveAxisTickmarkNumber", [] { M::ErrorExcessiveAxisTickmarkNumber("Y"); },
       "The value of Y TICKMARK gives an excessive number of tickmarks", 53, X, "Y"},
      PLAIN(FrequencyValueNotPositive, "Frequency value should be larger than zero", 56),
      PLAIN(InvalidAspectRatio, "Aspect ratio of the xyPlot must be a positive number", 57),
      PLAIN(XYFromHistoryAborted, "XY Data extraction from history aborted per user request.", 58),
  };
  for (size_t i = 0; i < rows.size(); ++i) rows[i].key = static_cast<int>(i);
  return rows;
}

std::vector<RaiseCase> FixedCases() {
  const Thrown X = Thrown::Xyp;
  return {
      {"XYPlotUninitialized", [] { M::ErrorXYPlotUninitialized("Viewport: 2"); },
       "The xyPlot object associated with Viewport 'Viewport: 2' is uninitialized.", 14, X,
       "Viewport: 2"},
      PLAIN(InvalidHistoryDataOnODB, "ErrorInvalidHistoryDataOnODB", 0),
      PLAIN(NoXYDataSelected, "ErrorNoXYDataSelected", 6),
      PLAIN(TableWidthSize, "ErrorTableWidthSize", 7),
      PLAIN(NoFileName, "ErrorNoFileName", 9),
      {"InvalidDataTypeForCoordinate", [] { M::ErrorInvalidDataTypeForCoordinate("Y"); },
       "ErrorInvalidDataTypeForCoordinate", 10, X, "Y"},
      PLAIN(ReadingDataFromFile, "ErrorReadingDataFromFile", 11),
      PLAIN(NoCurrentOdb, "ErrorNoCurrentOdb", 12),
      {"OutOfRangeColumnForCoordinate", [] { M::ErrorOutOfRangeColumnForCoordinate("X"); },
       "ErrorWrongColumnNumber", 13, X, "X"},
      PLAIN(EmptyXYRepository, "Empty xyData repository", 25),
  };
}

std::vector<RaiseCase> DelegatedCases() {
  std::vector<RaiseCase> rows = {
      PLAIN(XYDataNameNotGiven, "XYData name must be entered", 201),
      PLAIN(OldNameEqualToNewName, "The new name must differ from the old name", 202),
  };
  for (RaiseCase& c : rows) c.source = "oda_MessageTypes.cpp";
  return rows;
}

std::string CaseName(const testing::TestParamInfo<RaiseCase>& info) {
  return info.param.name;
}

// ---------------------------------------------------------------------------------------------
// Every error: text, code, details, exception type and raising place.

class MessageCatalogueRaiseTest : public testing::TestWithParam<RaiseCase> {};

TEST_P(MessageCatalogueRaiseTest, RaisesItsTextCodeDetailsTypeAndSource) {
  const RaiseCase& c = GetParam();
  const Raised r = Capture(c.raise);
  ASSERT_TRUE(r.thrown);
  EXPECT_EQ(r.message, c.text);
  EXPECT_EQ(r.code, c.code);
  EXPECT_EQ(r.detail1, c.detail1);
  EXPECT_EQ(r.detail2, c.detail2);
  EXPECT_EQ(r.isKeyword, c.type == Thrown::Keyword);
  EXPECT_EQ(r.isXyp, c.type == Thrown::Xyp);
  EXPECT_EQ(r.keyword, "");
  const std::string source = c.source;
  EXPECT_TRUE(r.file.size() >= source.size() &&
              r.file.compare(r.file.size() - source.size(), source.size(), source) == 0)
      << r.file;
  EXPECT_GT(r.line, 0);
}

INSTANTIATE_TEST_SUITE_P(TableRows, MessageCatalogueRaiseTest, testing::ValuesIn(TableCases()),
                         CaseName);
INSTANTIATE_TEST_SUITE_P(OutsideTable, MessageCatalogueRaiseTest, testing::ValuesIn(FixedCases()),
                         CaseName);
INSTANTIATE_TEST_SUITE_P(Delegated, MessageCatalogueRaiseTest, testing::ValuesIn(DelegatedCases()),
                         CaseName);

// ---------------------------------------------------------------------------------------------
// A text registered for a row's resource name replaces the row's default text, until removed.

class MessageCatalogueResourceTest : public testing::TestWithParam<RaiseCase> {};

TEST_P(MessageCatalogueResourceTest, RegisteredResourceReplacesTheDefaultText) {
  const RaiseCase& c = GetParam();
  const std::string prefix = "[" + ResourceNameOf(c.key) + "] ";
  const char* defaultText = Labels::DefaultLabelString(xypK_MessageTypesEnm(c.key));
  ASSERT_NE(defaultText, nullptr);
  {
    // The registered text keeps the row's placeholders, so it composes like the default one.
    ScopedResource resource(ResourceNameOf(c.key).c_str(), cow_String(prefix + defaultText));
    const Raised r = Capture(c.raise);
    ASSERT_TRUE(r.thrown);
    EXPECT_EQ(r.message, prefix + c.text);
    EXPECT_EQ(r.code, c.code);
    EXPECT_EQ(r.detail1, c.detail1);
  }
  EXPECT_EQ(MessageOf(c.raise), c.text);
}

INSTANTIATE_TEST_SUITE_P(TableRows, MessageCatalogueResourceTest, testing::ValuesIn(TableCases()),
                         CaseName);

// ---------------------------------------------------------------------------------------------
// Composition of texts and arguments: arguments go in verbatim, never expanded again; numbered
// placeholders follow their arguments.

TEST(MessageCatalogueComposition, ArgumentsAndPlaceholders) {
  struct Case {
    const char* resource;  // a replacement text for the row, or nullptr for the default
    int key;
    std::function<void()> raise;
    const char* expected;
  } cases[] = {
      {"%2$s before %1$s, %2$s again", 3, [] { M::ErrorMixedStepDomains("Time", "Frequency"); },
       "Frequency before Time, Frequency again"},
      {"%1$s%2$s%1$s", 3, [] { M::ErrorMixedStepDomains("a", "b"); }, "aba"},
      {"%s/%s/%s", 31, [] { M::ErrorExcessiveAxisTickmarkNumber("Z"); }, "Z/Z/Z"},
      {nullptr, 3, [] { M::ErrorMixedStepDomains("%2$s", "Frequency"); },
       "Mixing steps with %2$s and Frequency domains while creating an XYData object is "
       "prohibited"},
      {nullptr, 3, [] { M::ErrorMixedStepDomains("Time", "%1$s%2$s"); },
       "Mixing steps with Time and %1$s%2$s domains while creating an XYData object is "
       "prohibited"},
      {nullptr, 3, [] { M::ErrorMixedStepDomains("", ""); },
       "Mixing steps with  and  domains while creating an XYData object is prohibited"},
      {nullptr, 30, [] { M::ErrorAxisRangeIsZero("%s"); }, "%s-axis range can not be 0"},
      {nullptr, 30, [] { M::ErrorAxisRangeIsZero(""); }, "-axis range can not be 0"},
      {nullptr, 27, [] { M::ErrorMinValueGreaterThanMaxValue("%s%s"); },
       "Minimum %s%s-value is greater than the maximum %s%s-value"},
      {nullptr, 18, [] { M::ErrorInvalidColumnNumberForCoordinate("%1$s"); },
       "Invalid %1$s column number"},
      {nullptr, 4, [] { M::ErrorInvalidHistoryVariable("%s %1$s"); },
       "Invalid History Variable: %s %1$s"},
      {nullptr, 16, [] { M::ErrorNotFoundCurve("%2$s"); }, "Curve not found: %2$s"},
      {nullptr, 15, [] { M::ErrorNotFoundXYData(""); }, "XYData not found: "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    std::unique_ptr<ScopedResource> resource;
    if (c.resource)
      resource = std::make_unique<ScopedResource>(ResourceNameOf(c.key).c_str(), c.resource);
    EXPECT_EQ(MessageOf(c.raise), c.expected);
  }
  EXPECT_EQ(Capture([] { M::ErrorMixedStepDomains("%2$s", "F"); }).detail1, "%2$s");
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
  // The table cases are numbered in order, one a row; the resource test proves each raises its
  // own row.
  ASSERT_EQ(TableCases().size(), static_cast<size_t>(kTableRows));
  for (int key = 0; key < kTableRows; ++key) {
    SCOPED_TRACE(key);
    const auto k = xypK_MessageTypesEnm(key);
    EXPECT_EQ(names[key], ResourceNameOf(key).c_str());
    EXPECT_STREQ(Labels::ResourceName(k), ResourceNameOf(key).c_str());
    EXPECT_EQ(texts[key], Labels::DefaultLabelString(k));
    EXPECT_EQ(labels[key], texts[key]);
    EXPECT_EQ(Labels::LabelString(k), texts[key]);
    EXPECT_EQ(Labels::LabelString(names[key]), texts[key]);
    EXPECT_EQ(Labels::ResourceKey(names[key]), k);
    EXPECT_EQ(Labels::DefaultLabelKey(texts[key]), k);
    EXPECT_EQ(Labels::LabelKey(labels[key]), k);
  }
  EXPECT_EQ(
      Labels::LabelString(xypK_MSG_MixedStepDomains),
      "Mixing steps with %1$s and %2$s domains while creating an XYData object is prohibited");
  EXPECT_EQ(Labels::ResourceKey("xypK_MessageTypes_MSGID_34"), xypK_MSG_XYFromHistoryAborted);
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
  const char* german = "Achse %s hat Spannweite 0";
  ScopedResource resource("xypK_MessageTypes_MSGID_30", german);
  EXPECT_EQ(Labels::LabelString(xypK_MSG_AxisRangeIsZero), german);
  EXPECT_EQ(Labels::LabelString(cow_String("xypK_MessageTypes_MSGID_30")), german);
  EXPECT_STREQ(Labels::DefaultLabelString(xypK_MSG_AxisRangeIsZero), "%s-axis range can not be 0");
  EXPECT_EQ(Labels::LabelKey(german), xypK_MSG_AxisRangeIsZero);
  EXPECT_EQ(Labels::DefaultLabelKey("%s-axis range can not be 0"), xypK_MSG_AxisRangeIsZero);
  EXPECT_EQ(Labels::LabelStrings()[30], german);
  EXPECT_EQ(Labels::DefaultLabelStrings()[30], "%s-axis range can not be 0");
  const Raised r = Capture([] { M::ErrorAxisRangeIsZero("X"); });
  EXPECT_EQ(r.message, "Achse X hat Spannweite 0");
  EXPECT_EQ(r.code, 52);
  // The texts outside the table ignore resources.
  ScopedResource fixed("ErrorNoFileName", "replaced");
  EXPECT_EQ(MessageOf([] { M::ErrorNoFileName(); }), "ErrorNoFileName");
}

// ---------------------------------------------------------------------------------------------
// The milestone table and the plot title table.

TEST(MilestoneAndPlotLabelMaps, Rows) {
  EXPECT_EQ(Milestones::LabelString(0), "Retrieving history data from odb...");
  EXPECT_EQ(Milestones::LabelString(1), "Writing XY report...");
  EXPECT_STREQ(Milestones::ResourceName(0), "xypK_RetrievingHistoryFromOdb");
  EXPECT_EQ(Milestones::ResourceKey("xypK_WritingReport"), 1);
  EXPECT_EQ(Milestones::DefaultLabelKey("Retrieving history data from odb..."), 0);
  EXPECT_EQ(Milestones::ResourceNames().size(), 2u);
  EXPECT_TRUE(Milestones::LabelString(2).IsNull());

  EXPECT_EQ(PlotLabels::LabelString(xypK_XYPlot_NoCurveCreated),
            "No curve created in the current plot");
  EXPECT_EQ(PlotLabels::LabelString(xypK_XYPlot_NoCurveInPlotList), "No curve in plot list");
  EXPECT_STREQ(PlotLabels::ResourceName(xypK_XYPlot_NoCurveCreated), "xypK_XYPlot_MSGID_00");
  EXPECT_EQ(PlotLabels::ResourceKey("xypK_XYPlot_MSGID_01"), xypK_XYPlot_NoCurveInPlotList);
  EXPECT_EQ(PlotLabels::DefaultLabelStrings().size(), 2u);
  EXPECT_TRUE(PlotLabels::LabelString(xypK_XYPlotEnm(2)).IsNull());

  ScopedResource resource("xypK_XYPlot_MSGID_01", "Keine Kurve");
  EXPECT_EQ(PlotLabels::LabelString(xypK_XYPlot_NoCurveInPlotList), "Keine Kurve");
  EXPECT_EQ(PlotLabels::LabelString(xypK_XYPlot_NoCurveCreated),
            "No curve created in the current plot");
}

// ---------------------------------------------------------------------------------------------
// Milestones and warnings reach the work-in-progress reporter as the reporter itself says them.

using Line = std::pair<std::string, std::string>;

std::vector<Line>& ReportedLines() {
  static std::vector<Line> lines;
  return lines;
}

void RecordLine(const char* kind, const cow_String& text) {
  ReportedLines().emplace_back(kind, text.Std());
}

// The lines that call passes to the reporter.
std::vector<Line> Reported(const std::function<void()>& call) {
  ReportedLines().clear();
  cmdC_WIP::SetListener(&RecordLine);
  call();
  cmdC_WIP::SetListener(nullptr);
  return ReportedLines();
}

TEST(WorkInProgress, MilestonesAndWarnings) {
  cmdC_WIP& wip = omi_Singleton<cmdC_WIP>::Instance();
  const cmdC_XypMessageTable& table = cmdC_XypMessageTable::Instance();
  struct Case {
    const char* name;
    std::function<void()> call, direct;
  } cases[] = {
      {"retrieving", [] { M::MilestoneInfoRetrievingHistoryFromODB(); },
       [&] { wip.Milestone("Retrieving history data from odb..."); }},
      {"report", [] { M::MilestoneWritingReport(40); },
       [&] { wip.Milestone("Writing XY report...", 40); }},
      {"frequency", [] { M::WarningOutOfRangeFrequency("5.5", "12"); },
       [&] { wip.Warning(table.WarningOutOfRangeFrequency("5.5", "12")->Text()); }},
      {"invalid data", [] { M::WarningInvalidDataForXYPlot(); },
       [&] { wip.Warning(table.WarningInvalidDataForXYPlot()->Text()); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<Line> lines = Reported(c.call);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines, Reported(c.direct));
  }
  EXPECT_EQ(Reported(cases[0].call)[0].second, "Retrieving history data from odb...");
  const Line frequency = Reported(cases[2].call)[0];
  EXPECT_EQ(frequency.first, "Warning");
  EXPECT_NE(frequency.second.find("5.5"), std::string::npos);
  EXPECT_NE(frequency.second.find("12"), std::string::npos);
  const Line report = Reported(cases[1].call)[0];
  EXPECT_EQ(report.first, "Milestone");
  EXPECT_NE(report.second.find("Writing XY report..."), std::string::npos);

  ScopedResource resource("xypK_RetrievingHistoryFromOdb", "Lese Verlaufsdaten...");
  EXPECT_EQ(Reported(cases[0].call)[0].second, "Lese Verlaufsdaten...");
}

}  // namespace
