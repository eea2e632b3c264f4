#pragma once
// The XY message catalogue: every error the XY side of the kernel reports, the milestones it
// shows while reading history data and writing reports, and the two warnings it forwards to the
// message library.
//
// Catalogue errors look their text up by key in uti_LabelMap<xypK_MessageTypesEnm, 1>, so a
// text registered with the resource manager under the row's resource name replaces the default
// one. They throw uti_XypException (omu_KeywordErrorException for the three keyword errors)
// through nex_Exception::Throw and never return. Milestones and warnings go to the
// work-in-progress reporter and return normally.
#include "cow_String.h"
#include "uti_LabelMap.h"

// Keys of the catalogue rows. The underlying type is fixed so that any int converts to a valid
// value: a lookup with a key outside the table is a miss, not undefined behaviour.
enum xypK_MessageTypesEnm : int {
  xypK_MSG_XYMustHaveXAndY = 0,
  xypK_MSG_InvalidStepNumber = 1,
  xypK_MSG_InvalidModel = 2,
  xypK_MSG_MixedStepDomains = 3,
  xypK_MSG_InvalidHistoryVariable = 4,
  xypK_MSG_InvalidStartFrameNumber = 5,
  xypK_MSG_InvalidEndFrameNumber = 6,
  xypK_MSG_ReadingODBData = 7,
  xypK_MSG_UnknownXYData = 8,
  xypK_MSG_XYPlotNameNotGiven = 9,
  xypK_MSG_CurveNameNotGiven = 10,
  xypK_MSG_ZeroLengthXYData = 11,
  xypK_MSG_UnknownColumnLayout = 12,
  xypK_MSG_PrintMethodSelection = 13,
  xypK_MSG_XValueDecreasedInInterpolationSel = 14,
  xypK_MSG_NotFoundXYData = 15,
  xypK_MSG_NotFoundCurve = 16,
  xypK_MSG_UnknownXYDataSource = 17,
  xypK_MSG_InvalidColumnNumberForCoordinate = 18,
  xypK_MSG_InvalidSectionNumber = 19,
  xypK_MSG_TwoArgsNeeded = 20,
  xypK_MSG_ExpectingOskInterfaceObjects = 21,
  xypK_MSG_ExpectingOneOskInterfaceObject = 22,
  xypK_MSG_ExpectingMaxThreeOskInterfaceObjects = 23,
  xypK_MSG_TwoArgsMinNeeded = 24,
  xypK_MSG_OptionMaxValueLessThanDataMin = 25,
  xypK_MSG_OptionMinValueGreaterThanDataMax = 26,
  xypK_MSG_MinValueGreaterThanMaxValue = 27,
  xypK_MSG_AxisValuesNotPositive = 28,
  xypK_MSG_DataValuesNotPositive = 29,
  xypK_MSG_AxisRangeIsZero = 30,
  xypK_MSG_ExcessiveAxisTickmarkNumber = 31,
  xypK_MSG_FrequencyValueNotPositive = 32,
  xypK_MSG_InvalidAspectRatio = 33,
  xypK_MSG_XYFromHistoryAborted = 34,
};

// Keys of the milestone rows in uti_LabelMap<int, 645>.
enum xypK_MilestoneKey : int {
  xypK_Milestone_RetrievingHistoryFromOdb = 0,
  xypK_Milestone_WritingReport = 1,
};

// The catalogue rows, in key order (defined in xypK_MessageTypes.cpp).
template <>
const uti_LabelMap<xypK_MessageTypesEnm, 1>::Row uti_LabelMap<xypK_MessageTypesEnm, 1>::table[];
// The milestone rows (defined in xypK_MessageTypes.cpp).
template <>
const uti_LabelMap<int, 645>::Row uti_LabelMap<int, 645>::table[];

class xypK_MessageTypes {
 public:
  using Labels = uti_LabelMap<xypK_MessageTypesEnm, 1>;
  using Milestones = uti_LabelMap<int, 645>;

  xypK_MessageTypes() = delete;

  // Catalogue errors, in key order.
  [[noreturn]] static void ErrorXYMustHaveXAndY();
  [[noreturn]] static void ErrorInvalidStepNumber();
  [[noreturn]] static void ErrorInvalidModel();
  [[noreturn]] static void ErrorMixedStepDomains(const cow_String& domain1,
                                                 const cow_String& domain2);
  [[noreturn]] static void ErrorInvalidHistoryVariable(const cow_String& name);
  [[noreturn]] static void ErrorInvalidStartFrameNumber();
  [[noreturn]] static void ErrorInvalidEndFrameNumber();
  [[noreturn]] static void ErrorReadingODBData();
  [[noreturn]] static void ErrorUnknownXYData();
  [[noreturn]] static void ErrorXYPlotNameNotGiven();
  [[noreturn]] static void ErrorCurveNameNotGiven();
  [[noreturn]] static void ErrorZeroLengthXYData();
  [[noreturn]] static void ErrorUnknownColumnLayout();
  [[noreturn]] static void ErrorPrintMethodSelection();
  [[noreturn]] static void ErrorXValueDecreasedInInterpolationSel();
  [[noreturn]] static void ErrorNotFoundXYData(const cow_String& name);
  [[noreturn]] static void ErrorNotFoundCurve(const cow_String& name);
  [[noreturn]] static void ErrorUnknowXYDataSource();
  [[noreturn]] static void ErrorInvalidColumnNumberForCoordinate(const cow_String& coordinate);
  [[noreturn]] static void ErrorInvalidSectionNumber();
  [[noreturn]] static void ErrorTwoArgsNeeded();
  [[noreturn]] static void ErrorExpectingOskInterfaceObjects();
  [[noreturn]] static void ErrorExpectingOneOskInterfaceObject();
  [[noreturn]] static void ErrorExpectingMaxThreeOskInterfaceObjects();
  [[noreturn]] static void ErrorTwoArgsMinNeeded();
  [[noreturn]] static void ErrorSpecMaxValueLessThanMinValue(const cow_String& axis);
  [[noreturn]] static void ErrorSpecMinValueGreaterThanMaxValue(const cow_String& axis);
  [[noreturn]] static void ErrorMinValueGreaterThanMaxValue(const cow_String& axis);
  [[noreturn]] static void ErrorAxisValuesNotPositive(const cow_String& axis);
  [[noreturn]] static void ErrorDataValuesNotPositive(const cow_String& curves);
  [[noreturn]] static void ErrorAxisRangeIsZero(const cow_String& axis);
  [[noreturn]] static void ErrorExcessiveAxisTickmarkNumber(const cow_String& axis);
  [[noreturn]] static void ErrorFrequencyValueNotPositive();
  [[noreturn]] static void ErrorInvalidAspectRatio();
  [[noreturn]] static void ErrorXYFromHistoryAborted();

  // Errors with fixed texts, told apart by their codes.
  [[noreturn]] static void ErrorXYPlotUninitialized(const cow_String& viewport);
  [[noreturn]] static void ErrorInvalidHistoryDataOnODB();
  [[noreturn]] static void ErrorNoXYDataSelected();
  [[noreturn]] static void ErrorTableWidthSize();
  [[noreturn]] static void ErrorNoFileName();
  [[noreturn]] static void ErrorInvalidDataTypeForCoordinate(const cow_String& coordinate);
  [[noreturn]] static void ErrorReadingDataFromFile();
  [[noreturn]] static void ErrorNoCurrentOdb();
  [[noreturn]] static void ErrorOutOfRangeColumnForCoordinate(const cow_String& coordinate);
  [[noreturn]] static void ErrorEmptyXYRepository();
  // A plot handle whose plot was deleted: "XYPlot not found: " + name (code 100, ours).
  [[noreturn]] static void ErrorNotFoundXYPlot(const cow_String& name);

  // Errors of the results library's XY data objects, raised by that library.
  [[noreturn]] static void ErrorXYDataNameNotGiven();
  [[noreturn]] static void ErrorOldNameEqualToNewName();

  // Progress and warnings, shown through the work-in-progress reporter.
  static void MilestoneInfoRetrievingHistoryFromODB();
  static void MilestoneWritingReport(int percent);
  static void WarningOutOfRangeFrequency(const cow_String& a, const cow_String& b);
  static void WarningInvalidDataForXYPlot();
};
