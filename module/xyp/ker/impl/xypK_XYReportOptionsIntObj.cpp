#include "xypK_XYReportOptionsIntObj.h"

#include "omu_Arguments.h"
#include "omu_PrimBool.h"
#include "omu_PrimNone.h"
#include "omu_PrimNumber.h"
#include "xypC_XYReportOptions.h"

namespace {
constexpr omu_Parameter kSetValuesParameters[] = {
    {"pageWidth", nullptr, nullptr, nullptr},        {"numDigits", nullptr, nullptr, nullptr},
    {"interpolation", nullptr, nullptr, nullptr},    {"xyData", nullptr, nullptr, nullptr},
    {"totals", nullptr, nullptr, nullptr},           {"minMax", nullptr, nullptr, nullptr},
    {"pageWidthLimited", nullptr, nullptr, nullptr}, {"numberFormat", nullptr, nullptr, nullptr},
    {"layout", nullptr, nullptr, nullptr},           {nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kSetValues{"Changes the XY report options.", kSetValuesParameters, nullptr,
                               omu_Signature::Form::Unchanged};
}  // namespace

const omu_MethodRow xypK_XYReportOptionsIntObj::methods_[] = {
    {"setValues", omu_Method<&xypK_XYReportOptionsIntObj::SetAttributes>, &kSetValues},
    {"", nullptr}};

const omu_MemberRow xypK_XYReportOptionsIntObj::members_[] = {
    {"pageWidth", omu_Getter<&xypK_XYReportOptionsIntObj::GetNumColumns>, nullptr, "int",
     "the page width in characters, with pageWidthLimited SPECIFY"},
    {"numDigits", omu_Getter<&xypK_XYReportOptionsIntObj::GetNumDigits>, nullptr, "int",
     "significant digits of the values"},
    {"interpolation", omu_Getter<&xypK_XYReportOptionsIntObj::GetInterpolation>, nullptr, "bool",
     "interpolate values at the x values of the other columns"},
    {"xyData", omu_Getter<&xypK_XYReportOptionsIntObj::GetPrintXYData>, nullptr, "bool",
     "write the pairs"},
    {"totals", omu_Getter<&xypK_XYReportOptionsIntObj::GetPrintTotal>, nullptr, "bool",
     "write the column totals"},
    {"minMax", omu_Getter<&xypK_XYReportOptionsIntObj::GetPrintMinMax>, nullptr, "bool",
     "write the columns' minimum and maximum"},
    {"pageWidthLimited", omu_Getter<&xypK_XYReportOptionsIntObj::GetPageWidth>, nullptr,
     "SymbolicConstant", "NO_LIMIT or SPECIFY"},
    {"numberFormat", omu_Getter<&xypK_XYReportOptionsIntObj::GetNumFormat>, nullptr,
     "SymbolicConstant", "AUTOMATIC, ENGINEERING or SCIENTIFIC"},
    {"layout", omu_Getter<&xypK_XYReportOptionsIntObj::GetColumnLayout>, nullptr,
     "SymbolicConstant", "SINGLE_TABLE or SEPARATE_TABLES"},
    {"", nullptr, nullptr}};

namespace {
xypC_XYReportSettings& SetOf(bool isDefault) {
  return xypC_XYReportOptions::TheInstance().Set(isDefault);
}
}  // namespace

xypK_XYReportOptionsIntObj::xypK_XYReportOptionsIntObj(bool isDefault) : isDefault_(isDefault) {
  DescribeType(TypeName(), methods_, members_);
}

std::unique_ptr<omu_InterfaceObj> xypK_XYReportOptionsIntObj::Copy() const {
  return std::make_unique<xypK_XYReportOptionsIntObj>(isDefault_);
}

cow_String xypK_XYReportOptionsIntObj::Repr() const {
  return isDefault_ ? "session.defaultXYReportOptions" : "session.xyReportOptions";
}

omu_Result xypK_XYReportOptionsIntObj::GetNumColumns() {
  return std::make_unique<omu_PrimNumber>(SetOf(isDefault_).pageWidth);
}
omu_Result xypK_XYReportOptionsIntObj::GetNumDigits() {
  return std::make_unique<omu_PrimNumber>(SetOf(isDefault_).numDigits);
}
omu_Result xypK_XYReportOptionsIntObj::GetInterpolation() {
  return std::make_unique<omu_PrimBool>(SetOf(isDefault_).interpolation);
}
omu_Result xypK_XYReportOptionsIntObj::GetPrintXYData() {
  return std::make_unique<omu_PrimBool>(SetOf(isDefault_).xyData);
}
omu_Result xypK_XYReportOptionsIntObj::GetPrintTotal() {
  return std::make_unique<omu_PrimBool>(SetOf(isDefault_).totals);
}
omu_Result xypK_XYReportOptionsIntObj::GetPrintMinMax() {
  return std::make_unique<omu_PrimBool>(SetOf(isDefault_).minMax);
}
omu_Result xypK_XYReportOptionsIntObj::GetPageWidth() {
  return std::make_unique<omu_PrimEnum<xypC_PageWidthEnum>>(SetOf(isDefault_).pageWidthLimited);
}
omu_Result xypK_XYReportOptionsIntObj::GetNumFormat() {
  return std::make_unique<omu_PrimEnum<xypC_FormatEnum>>(SetOf(isDefault_).numberFormat);
}
omu_Result xypK_XYReportOptionsIntObj::GetColumnLayout() {
  return std::make_unique<omu_PrimEnum<xypC_ColumnLayoutEnum>>(SetOf(isDefault_).layout);
}

omu_Result xypK_XYReportOptionsIntObj::SetAttributes(omu_Arguments& args) {
  if (isDefault_)
    SetDefaultAttributes(args);
  else
    SetCurrentAttributes(args);
  return std::make_unique<omu_PrimNone>();
}

void xypK_XYReportOptionsIntObj::SetCurrentAttributes(omu_Arguments& args) {
  SetAttributesOf(false, args);
}

void xypK_XYReportOptionsIntObj::SetDefaultAttributes(omu_Arguments& args) {
  SetAttributesOf(true, args);
}

void xypK_XYReportOptionsIntObj::SetAttributesOf(bool isDefault, omu_Arguments& args) {
  xypC_XYReportSettings& set = SetOf(isDefault);
  args.Begin();
  args.Optional();
  args.Get(set.pageWidth, "pageWidth");
  args.Get(set.numDigits, "numDigits");
  args.Get(set.interpolation, "interpolation");
  args.Get(set.xyData, "xyData");
  args.Get(set.totals, "totals");
  args.Get(set.minMax, "minMax");
  omu_PrimEnum<xypC_PageWidthEnum> pageWidth(set.pageWidthLimited);
  if (args.Get(pageWidth, "pageWidthLimited")) set.pageWidthLimited = pageWidth.Get();
  omu_PrimEnum<xypC_FormatEnum> format(set.numberFormat);
  if (args.Get(format, "numberFormat")) set.numberFormat = format.Get();
  omu_PrimEnum<xypC_ColumnLayoutEnum> layout(set.layout);
  if (args.Get(layout, "layout")) set.layout = layout.Get();
  args.End("");
}
