#include "xypK_MessageTypes.h"

#include <memory>

#include "cmdC_MessageType.h"
#include "cmdC_WIP.h"
#include "cmdC_XypMessageTable.h"
#include "nex_Exception.h"
#include "oda_MessageTypes.h"
#include "omi_Assert.h"
#include "omi_Singleton.h"
#include "omu_KeywordErrorException.h"
#include "uti_XypException.h"

template <>
const uti_LabelMap<xypK_MessageTypesEnm, 1>::Row uti_LabelMap<xypK_MessageTypesEnm, 1>::table[] = {
    {"An XYData object must contain an X and Y value", "xypK_MessageTypes_MSGID_00",
     xypK_MSG_XYMustHaveXAndY},
    {"Invalid step numbers", "xypK_MessageTypes_MSGID_01", xypK_MSG_InvalidStepNumber},
    {"Invalid model", "xypK_MessageTypes_MSGID_02", xypK_MSG_InvalidModel},
    {"Mixing steps with %1$s and %2$s domains while creating an XYData object is prohibited",
     "xypK_MessageTypes_MSGID_03", xypK_MSG_MixedStepDomains},
    {"Invalid History Variable: ", "xypK_MessageTypes_MSGID_04", xypK_MSG_InvalidHistoryVariable},
    {"Invalid start frame number", "xypK_MessageTypes_MSGID_05", xypK_MSG_InvalidStartFrameNumber},
    {"Invalid end frame number", "xypK_MessageTypes_MSGID_06", xypK_MSG_InvalidEndFrameNumber},
    {"Failed reading data from ODB", "xypK_MessageTypes_MSGID_07", xypK_MSG_ReadingODBData},
    {"Unknown XYData", "xypK_MessageTypes_MSGID_08", xypK_MSG_UnknownXYData},
    {"XYPlot name must be entered", "xypK_MessageTypes_MSGID_09", xypK_MSG_XYPlotNameNotGiven},
    {"Curve name must be entered", "xypK_MessageTypes_MSGID_10", xypK_MSG_CurveNameNotGiven},
    {"XYData object must contain at least one data point", "xypK_MessageTypes_MSGID_11",
     xypK_MSG_ZeroLengthXYData},
    {"Unknown column layout", "xypK_MessageTypes_MSGID_12", xypK_MSG_UnknownColumnLayout},
    {"At least one of the data print methods must be selected", "xypK_MessageTypes_MSGID_13",
     xypK_MSG_PrintMethodSelection},
    {"X value must not decrease for interpolation selection", "xypK_MessageTypes_MSGID_14",
     xypK_MSG_XValueDecreasedInInterpolationSel},
    {"XYData not found: ", "xypK_MessageTypes_MSGID_15", xypK_MSG_NotFoundXYData},
    {"Curve not found: ", "xypK_MessageTypes_MSGID_16", xypK_MSG_NotFoundCurve},
    {"Unknown source for XYData", "xypK_MessageTypes_MSGID_17", xypK_MSG_UnknownXYDataSource},
    {"Invalid %s column number", "xypK_MessageTypes_MSGID_18",
     xypK_MSG_InvalidColumnNumberForCoordinate},
    {"Invalid Section number", "xypK_MessageTypes_MSGID_19", xypK_MSG_InvalidSectionNumber},
    {"This operation requires exactly two arguments", "xypK_MessageTypes_MSGID_20",
     xypK_MSG_TwoArgsNeeded},
    {"Expecting at least one Oskavo Interface Object", "xypK_MessageTypes_MSGID_21",
     xypK_MSG_ExpectingOskInterfaceObjects},
    {"Expecting Oskavo Interface Object", "xypK_MessageTypes_MSGID_22",
     xypK_MSG_ExpectingOneOskInterfaceObject},
    {"Expecting at most three Oskavo Interface Objects", "xypK_MessageTypes_MSGID_23",
     xypK_MSG_ExpectingMaxThreeOskInterfaceObjects},
    {"This operation requires at least two arguments", "xypK_MessageTypes_MSGID_24",
     xypK_MSG_TwoArgsMinNeeded},
    {"The current plot options specify a maximum %s-Axis value that\n"
     "is smaller than the minimum %s value contained in the XY data.",
     "xypK_MessageTypes_MSGID_25", xypK_MSG_OptionMaxValueLessThanDataMin},
    {"The current plot options specify a minimum %s-Axis value that\n"
     "is greater than the maximum %s value contained in the XY data.",
     "xypK_MessageTypes_MSGID_26", xypK_MSG_OptionMinValueGreaterThanDataMax},
    {"Minimum %s-value is greater than the maximum %s-value", "xypK_MessageTypes_MSGID_27",
     xypK_MSG_MinValueGreaterThanMaxValue},
    {"%s-axis limits should be greater than zero when using a logarithmic scale",
     "xypK_MessageTypes_MSGID_28", xypK_MSG_AxisValuesNotPositive},
    {"For plotting of xy data using a logarithmic scale, all data points must be greater than "
     "zero. Curves that may be violating this condition include - %s.",
     "xypK_MessageTypes_MSGID_29", xypK_MSG_DataValuesNotPositive},
    {"%s-axis range can not be 0", "xypK_MessageTypes_MSGID_30", xypK_MSG_AxisRangeIsZero},
    {"The value of %s TICKMARK gives an excessive number of tickmarks",
     "xypK_MessageTypes_MSGID_31", xypK_MSG_ExcessiveAxisTickmarkNumber},
    {"Frequency value should be larger than zero", "xypK_MessageTypes_MSGID_32",
     xypK_MSG_FrequencyValueNotPositive},
    {"Aspect ratio of the xyPlot must be a positive number", "xypK_MessageTypes_MSGID_33",
     xypK_MSG_InvalidAspectRatio},
    {"XY Data extraction from history aborted per user request.", "xypK_MessageTypes_MSGID_34",
     xypK_MSG_XYFromHistoryAborted},
    {nullptr, nullptr, xypK_MessageTypesEnm(0)}};

template <>
const uti_LabelMap<int, 645>::Row uti_LabelMap<int, 645>::table[] = {
    {"Retrieving history data from odb...", "xypK_RetrievingHistoryFromOdb",
     xypK_Milestone_RetrievingHistoryFromOdb},
    {"Writing XY report...", "xypK_WritingReport", xypK_Milestone_WritingReport},
    {nullptr, nullptr, 0}};

namespace {

using Labels = xypK_MessageTypes::Labels;

// The row's text: the registered resource when there is one, the default text otherwise.
cow_String Text(xypK_MessageTypesEnm key) {
  return Labels::LabelString(key);
}

// The row's text with every "%s" replaced by value.
cow_String WithEach(xypK_MessageTypesEnm key, const cow_String& value) {
  return Text(key).Substitute("%s", value);
}

// The row's text with every "%1$s" replaced by first and every "%2$s" by second. The text is
// cut at the "%1$s" markers and "%2$s" is replaced within the pieces only, so neither argument
// is ever scanned for markers: an argument that contains one comes out as given.
cow_String WithPair(xypK_MessageTypesEnm key, const cow_String& first, const cow_String& second) {
  static const cow_String kFirst = "%1$s", kSecond = "%2$s";
  const cow_String text = Text(key);
  cow_String out;
  size_t start = 0;
  for (;;) {
    const size_t hit = text.Find(kFirst, start);
    out += text.Substr(start, hit - start).Substitute(kSecond, second);
    if (hit == text.Length()) break;
    out += first;
    start = hit + kFirst.Length();
  }
  return out;
}

// The row's text followed by value.
cow_String Followed(xypK_MessageTypesEnm key, const cow_String& value) {
  return Text(key) + value;
}

uti_XypException Error(cow_String text, int code, cow_String detail1 = "",
                       cow_String detail2 = "") {
  return uti_XypException(std::move(text), code, std::move(detail1), std::move(detail2));
}

omu_KeywordErrorException KeywordError(xypK_MessageTypesEnm key) {
  return omu_KeywordErrorException(Text(key), "");
}

cmdC_WIP& Reporter() {
  return omi_Singleton<cmdC_WIP>::Instance();
}

}  // namespace

void xypK_MessageTypes::ErrorXYMustHaveXAndY() {
  NEX_THROW(Error(Text(xypK_MSG_XYMustHaveXAndY), 15));
}

void xypK_MessageTypes::ErrorInvalidStepNumber() {
  NEX_THROW(Error(Text(xypK_MSG_InvalidStepNumber), 16));
}

void xypK_MessageTypes::ErrorInvalidModel() {
  NEX_THROW(Error(Text(xypK_MSG_InvalidModel), 17));
}

void xypK_MessageTypes::ErrorMixedStepDomains(const cow_String& domain1,
                                              const cow_String& domain2) {
  NEX_THROW(Error(WithPair(xypK_MSG_MixedStepDomains, domain1, domain2), 1, domain1, domain2));
}

void xypK_MessageTypes::ErrorInvalidHistoryVariable(const cow_String& name) {
  NEX_THROW(Error(Followed(xypK_MSG_InvalidHistoryVariable, name), 5, name));
}

void xypK_MessageTypes::ErrorInvalidStartFrameNumber() {
  NEX_THROW(Error(Text(xypK_MSG_InvalidStartFrameNumber), 18));
}

void xypK_MessageTypes::ErrorInvalidEndFrameNumber() {
  NEX_THROW(Error(Text(xypK_MSG_InvalidEndFrameNumber), 19));
}

void xypK_MessageTypes::ErrorReadingODBData() {
  NEX_THROW(Error(Text(xypK_MSG_ReadingODBData), 20));
}

void xypK_MessageTypes::ErrorUnknownXYData() {
  NEX_THROW(Error(Text(xypK_MSG_UnknownXYData), 21));
}

void xypK_MessageTypes::ErrorXYPlotNameNotGiven() {
  NEX_THROW(Error(Text(xypK_MSG_XYPlotNameNotGiven), 2));
}

void xypK_MessageTypes::ErrorCurveNameNotGiven() {
  NEX_THROW(Error(Text(xypK_MSG_CurveNameNotGiven), 3));
}

void xypK_MessageTypes::ErrorZeroLengthXYData() {
  NEX_THROW(Error(Text(xypK_MSG_ZeroLengthXYData), 27));
}

void xypK_MessageTypes::ErrorUnknownColumnLayout() {
  NEX_THROW(Error(Text(xypK_MSG_UnknownColumnLayout), 22));
}

void xypK_MessageTypes::ErrorPrintMethodSelection() {
  NEX_THROW(Error(Text(xypK_MSG_PrintMethodSelection), 23));
}

void xypK_MessageTypes::ErrorXValueDecreasedInInterpolationSel() {
  NEX_THROW(Error(Text(xypK_MSG_XValueDecreasedInInterpolationSel), 24));
}

void xypK_MessageTypes::ErrorNotFoundXYData(const cow_String& name) {
  NEX_THROW(Error(Followed(xypK_MSG_NotFoundXYData, name), 26, name));
}

void xypK_MessageTypes::ErrorNotFoundCurve(const cow_String& name) {
  NEX_THROW(Error(Followed(xypK_MSG_NotFoundCurve, name), 28, name));
}

void xypK_MessageTypes::ErrorUnknowXYDataSource() {
  NEX_THROW(Error(Text(xypK_MSG_UnknownXYDataSource), 29));
}

void xypK_MessageTypes::ErrorInvalidColumnNumberForCoordinate(const cow_String& coordinate) {
  NEX_THROW(Error(WithEach(xypK_MSG_InvalidColumnNumberForCoordinate, coordinate), 30, coordinate));
}

void xypK_MessageTypes::ErrorInvalidSectionNumber() {
  NEX_THROW(Error(Text(xypK_MSG_InvalidSectionNumber), 31));
}

void xypK_MessageTypes::ErrorTwoArgsNeeded() {
  NEX_THROW(Error(Text(xypK_MSG_TwoArgsNeeded), 47));
}

void xypK_MessageTypes::ErrorExpectingOskInterfaceObjects() {
  NEX_THROW(KeywordError(xypK_MSG_ExpectingOskInterfaceObjects));
}

void xypK_MessageTypes::ErrorExpectingOneOskInterfaceObject() {
  NEX_THROW(KeywordError(xypK_MSG_ExpectingOneOskInterfaceObject));
}

void xypK_MessageTypes::ErrorExpectingMaxThreeOskInterfaceObjects() {
  NEX_THROW(KeywordError(xypK_MSG_ExpectingMaxThreeOskInterfaceObjects));
}

void xypK_MessageTypes::ErrorTwoArgsMinNeeded() {
  NEX_THROW(Error(Text(xypK_MSG_TwoArgsMinNeeded), 48));
}

void xypK_MessageTypes::ErrorSpecMaxValueLessThanMinValue(const cow_String& axis) {
  NEX_THROW(Error(WithEach(xypK_MSG_OptionMaxValueLessThanDataMin, axis), 49, axis));
}

void xypK_MessageTypes::ErrorSpecMinValueGreaterThanMaxValue(const cow_String& axis) {
  NEX_THROW(Error(WithEach(xypK_MSG_OptionMinValueGreaterThanDataMax, axis), 50, axis));
}

void xypK_MessageTypes::ErrorMinValueGreaterThanMaxValue(const cow_String& axis) {
  NEX_THROW(Error(WithEach(xypK_MSG_MinValueGreaterThanMaxValue, axis), 51, axis));
}

void xypK_MessageTypes::ErrorAxisValuesNotPositive(const cow_String& axis) {
  NEX_THROW(Error(WithEach(xypK_MSG_AxisValuesNotPositive, axis), 54, axis));
}

void xypK_MessageTypes::ErrorDataValuesNotPositive(const cow_String& curves) {
  NEX_THROW(Error(WithEach(xypK_MSG_DataValuesNotPositive, curves), 55, curves));
}

void xypK_MessageTypes::ErrorAxisRangeIsZero(const cow_String& axis) {
  NEX_THROW(Error(WithEach(xypK_MSG_AxisRangeIsZero, axis), 52, axis));
}

void xypK_MessageTypes::ErrorExcessiveAxisTickmarkNumber(const cow_String& axis) {
  NEX_THROW(Error(WithEach(xypK_MSG_ExcessiveAxisTickmarkNumber, axis), 53, axis));
}

void xypK_MessageTypes::ErrorFrequencyValueNotPositive() {
  NEX_THROW(Error(Text(xypK_MSG_FrequencyValueNotPositive), 56));
}

void xypK_MessageTypes::ErrorInvalidAspectRatio() {
  NEX_THROW(Error(Text(xypK_MSG_InvalidAspectRatio), 57));
}

void xypK_MessageTypes::ErrorXYFromHistoryAborted() {
  NEX_THROW(Error(Text(xypK_MSG_XYFromHistoryAborted), 58));
}

void xypK_MessageTypes::ErrorXYPlotUninitialized(const cow_String& viewport) {
  NEX_THROW(Error("The xyPlot object associated with Viewport '" + viewport + "' is uninitialized.",
                  14, viewport));
}

void xypK_MessageTypes::ErrorInvalidHistoryDataOnODB() {
  NEX_THROW(Error("ErrorInvalidHistoryDataOnODB", 0));
}

void xypK_MessageTypes::ErrorNoXYDataSelected() {
  NEX_THROW(Error("ErrorNoXYDataSelected", 6));
}

void xypK_MessageTypes::ErrorTableWidthSize() {
  NEX_THROW(Error("ErrorTableWidthSize", 7));
}

void xypK_MessageTypes::ErrorNoFileName() {
  NEX_THROW(Error("ErrorNoFileName", 9));
}

void xypK_MessageTypes::ErrorInvalidDataTypeForCoordinate(const cow_String& coordinate) {
  NEX_THROW(Error("ErrorInvalidDataTypeForCoordinate", 10, coordinate));
}

void xypK_MessageTypes::ErrorReadingDataFromFile() {
  NEX_THROW(Error("ErrorReadingDataFromFile", 11));
}

void xypK_MessageTypes::ErrorNoCurrentOdb() {
  NEX_THROW(Error("ErrorNoCurrentOdb", 12));
}

void xypK_MessageTypes::ErrorOutOfRangeColumnForCoordinate(const cow_String& coordinate) {
  NEX_THROW(Error("ErrorWrongColumnNumber", 13, coordinate));
}

void xypK_MessageTypes::ErrorEmptyXYRepository() {
  NEX_THROW(Error("Empty xyData repository", 25));
}

void xypK_MessageTypes::ErrorXYDataNameNotGiven() {
  oda_MessageTypes::ErrorXYDataNameNotGiven();
}

void xypK_MessageTypes::ErrorOldNameEqualToNewName() {
  oda_MessageTypes::ErrorOldNameEqualToNewName();
}

void xypK_MessageTypes::MilestoneInfoRetrievingHistoryFromODB() {
  Reporter().Milestone(Milestones::LabelString(xypK_Milestone_RetrievingHistoryFromOdb));
}

void xypK_MessageTypes::MilestoneWritingReport(int percent) {
  Reporter().Milestone(Milestones::LabelString(xypK_Milestone_WritingReport), percent);
}

void xypK_MessageTypes::WarningOutOfRangeFrequency(const cow_String& a, const cow_String& b) {
  const std::unique_ptr<cmdC_MessageType> message =
      cmdC_XypMessageTable::Instance().WarningOutOfRangeFrequency(a, b);
  OMI_ASSERT(message != nullptr);
  Reporter().Warning(*message);
}

void xypK_MessageTypes::WarningInvalidDataForXYPlot() {
  const std::unique_ptr<cmdC_MessageType> message =
      cmdC_XypMessageTable::Instance().WarningInvalidDataForXYPlot();
  OMI_ASSERT(message != nullptr);
  Reporter().Warning(*message);
}

void xypK_MessageTypes::ErrorNotFoundXYPlot(const cow_String& name) {
  NEX_THROW(Error("XYPlot not found: " + name, 100, name));
}
