#include "xypK_XYPlotOptionsIntObj.h"

#include <exception>

#include "omu_Arguments.h"
#include "omu_PrimBool.h"
#include "omu_PrimNone.h"
#include "omu_PrimNumber.h"
#include "omu_PrimString.h"
#include "qryK_QueryRegistrarRole.h"
#include "sesK_ColorMap.h"
#include "sesK_SessionState.h"
#include "udd_PairEntry.h"
#include "xypK_MessageTypes.h"
#include "xypK_SceneManager.h"
#include "xypK_XYToolset.h"

namespace {
using Options = xypC_XYPlotOptions;

const Options& OptionsOf(omu_InterfaceObj& self) {
  return static_cast<xypK_XYPlotOptionsIntObj&>(self).ConstGetOptions();
}

// Members build a fresh primitive from the field they read.
template <float Options::*F>
omu_Result Float(omu_InterfaceObj& self) {
  return omu_PrimNumber::FromSingle(OptionsOf(self).*F);
}
template <int Options::*F>
omu_Result Int(omu_InterfaceObj& self) {
  return std::make_unique<omu_PrimNumber>(OptionsOf(self).*F);
}
template <bool Options::*F>
omu_Result Bool(omu_InterfaceObj& self) {
  return std::make_unique<omu_PrimBool>(OptionsOf(self).*F);
}
template <cow_String Options::*F>
omu_Result Text(omu_InterfaceObj& self) {
  return std::make_unique<omu_PrimString>(OptionsOf(self).*F);
}
template <class E, E Options::*F>
omu_Result Enum(omu_InterfaceObj& self) {
  return std::make_unique<omu_PrimEnum<E>>(OptionsOf(self).*F);
}

// Keywords read into the working copy; an absent keyword keeps the field.
void ReadFloat(omu_Arguments& args, const char* keyword, float& field) {
  double value = field;
  if (args.Get(value, keyword)) field = udd_PairEntry::Narrow(value);
}
template <class E>
void ReadEnum(omu_Arguments& args, const char* keyword, E& field) {
  omu_PrimEnum<E> value(field);
  if (args.Get(value, keyword)) field = value.Get();
}
void ReadColor(omu_Arguments& args, const char* keyword, cow_String& field) {
  sesK_ColorMap::Instance().ProcessColorArg(args, field, keyword);
}
}  // namespace

const omu_MethodRow xypK_XYPlotOptionsIntObj::methods_[] = {
    {"setValues", omu_Method<&xypK_XYPlotOptionsIntObj::SetAttributes>}, {"", nullptr}};

const omu_MemberRow xypK_XYPlotOptionsIntObj::members_[] = {
    {"xAxisScale", Enum<xypC_ScaleEnum, &Options::xAxisScale>, nullptr},
    {"xAxisMaxAutoCompute", Bool<&Options::xMaxAutoCompute>, nullptr},
    {"xAxisMaxValue", Float<&Options::xMaxValue>, nullptr},
    {"xAxisAutoMaxValue", Float<&Options::xAutoMaxValue>, nullptr},
    {"xAxisMinAutoCompute", Bool<&Options::xMinAutoCompute>, nullptr},
    {"xAxisMinValue", Float<&Options::xMinValue>, nullptr},
    {"xAxisAutoMinValue", Float<&Options::xAutoMinValue>, nullptr},
    {"yAxisScale", Enum<xypC_ScaleEnum, &Options::yAxisScale>, nullptr},
    {"yAxisMaxAutoCompute", Bool<&Options::yMaxAutoCompute>, nullptr},
    {"yAxisMaxValue", Float<&Options::yMaxValue>, nullptr},
    {"yAxisAutoMaxValue", Float<&Options::yAutoMaxValue>, nullptr},
    {"yAxisMinAutoCompute", Bool<&Options::yMinAutoCompute>, nullptr},
    {"yAxisMinValue", Float<&Options::yMinValue>, nullptr},
    {"yAxisAutoMinValue", Float<&Options::yAutoMinValue>, nullptr},
    {"xAxisMajorTickMode", Enum<xypC_TickTypeEnum, &Options::xMajorTickMode>, nullptr},
    {"xAxisAutoMajorTickIncrement", Float<&Options::xAutoMajorTickIncrement>, nullptr},
    {"xAxisMajorTickIncrement", Float<&Options::xMajorTickIncrement>, nullptr},
    {"numXAxisMajorTicks", Int<&Options::numXMajorTicks>, nullptr},
    {"numXAxisMinorTicks", Int<&Options::numXMinorTicks>, nullptr},
    {"yAxisMajorTickMode", Enum<xypC_TickTypeEnum, &Options::yMajorTickMode>, nullptr},
    {"yAxisMajorAutoTickIncrement", Float<&Options::yAutoMajorTickIncrement>, nullptr},
    {"yAxisMajorTickIncrement", Float<&Options::yMajorTickIncrement>, nullptr},
    {"numYAxisMajorTicks", Int<&Options::numYMajorTicks>, nullptr},
    {"numYAxisMinorTicks", Int<&Options::numYMinorTicks>, nullptr},
    {"horizontalMajorGridLines", Bool<&Options::xMajorGridLines>, nullptr},
    {"verticalMajorGridLines", Bool<&Options::yMajorGridLines>, nullptr},
    {"majorGridLineStyle", Enum<g3d_LineStyleEnum, &Options::majorGridLineStyle>, nullptr},
    {"majorGridLineColor", Text<&Options::majorGridLineColor>, nullptr},
    {"majorGridLineThickness", Enum<g3d_LineThicknessEnum, &Options::majorGridLineThickness>,
     nullptr},
    {"horizontalMinorGridLines", Bool<&Options::xMinorGridLines>, nullptr},
    {"verticalMinorGridLines", Bool<&Options::yMinorGridLines>, nullptr},
    {"minorGridLineStyle", Enum<g3d_LineStyleEnum, &Options::minorGridLineStyle>, nullptr},
    {"minorGridLineColor", Text<&Options::minorGridLineColor>, nullptr},
    {"minorGridLineThickness", Enum<g3d_LineThicknessEnum, &Options::minorGridLineThickness>,
     nullptr},
    {"xAxisTitleColor", Text<&Options::xAxisTitleColor>, nullptr},
    {"xAxisTitleSize", Float<&Options::xAxisTitleSize>, nullptr},
    {"xAxisTitleFont", Text<&Options::xAxisTitleFont>, nullptr},
    {"yAxisTitleColor", Text<&Options::yAxisTitleColor>, nullptr},
    {"yAxisTitleSize", Float<&Options::yAxisTitleSize>, nullptr},
    {"yAxisTitleFont", Text<&Options::yAxisTitleFont>, nullptr},
    {"xAxisLabelFormat", Enum<xypC_FormatEnum, &Options::xAxisLabelFormat>, nullptr},
    {"xAxisLabelDecimalPlaces", Int<&Options::xAxisLabelDecimalPlaces>, nullptr},
    {"xAxisLabelFrequency", Int<&Options::xAxisLabelFrequency>, nullptr},
    {"xAxisLabelSize", Float<&Options::xAxisLabelSize>, nullptr},
    {"xAxisLabelFont", Text<&Options::xAxisLabelFont>, nullptr},
    {"yAxisLabelFormat", Enum<xypC_FormatEnum, &Options::yAxisLabelFormat>, nullptr},
    {"yAxisLabelDecimalPlaces", Int<&Options::yAxisLabelDecimalPlaces>, nullptr},
    {"yAxisLabelFrequency", Int<&Options::yAxisLabelFrequency>, nullptr},
    {"yAxisLabelSize", Float<&Options::yAxisLabelSize>, nullptr},
    {"yAxisLabelFont", Text<&Options::yAxisLabelFont>, nullptr},
    {"axisColor", Text<&Options::axisColor>, nullptr},
    {"axisThickness", Enum<g3d_LineThicknessEnum, &Options::axisThickness>, nullptr},
    {"aspectRatio", Float<&Options::aspectRatio>, nullptr},
    {"", nullptr, nullptr}};

xypK_XYPlotOptionsIntObj::xypK_XYPlotOptionsIntObj(const cow_String& plotName)
    : plotName_(plotName), isDefault_(false) {
  DescribeType(TypeName(), methods_, members_);
}

xypK_XYPlotOptionsIntObj::xypK_XYPlotOptionsIntObj(bool isDefault) : isDefault_(isDefault) {
  DescribeType(TypeName(), methods_, members_);
}

xypK_XYPlotOptionsIntObj::xypK_XYPlotOptionsIntObj(const xypK_XYPlotOptionsIntObj& other) = default;

std::unique_ptr<omu_InterfaceObj> xypK_XYPlotOptionsIntObj::Copy() const {
  return std::make_unique<xypK_XYPlotOptionsIntObj>(*this);
}

cow_String xypK_XYPlotOptionsIntObj::Repr() const {
  if (!IsBoundToPlot()) return "session.defaultXYPlotOptions";
  return cow_String("session.xyPlots['") + plotName_ + "'].xyPlotOptions";
}

cow_String xypK_XYPlotOptionsIntObj::CommandPath() const {
  return cow_String("session.xyPlots.") + plotName_ + "." + "xyPlotOptions";
}

const xypC_XYPlotOptions& xypK_XYPlotOptionsIntObj::ConstGetOptions() const {
  xypK_XYToolset& toolset = xypK_XYToolset::Instance();
  if (IsBoundToPlot()) return toolset.GetExistingXYPlot(plotName_).options;
  return toolset.GetDefaultOptions();
}

omu_Result xypK_XYPlotOptionsIntObj::SetAttributes(omu_Arguments& args) {
  Options working = ConstGetOptions();
  const Options old = working;

  args.Begin();
  args.Optional();
  std::shared_ptr<xypK_XYPlotOptionsIntObj> other;
  if (args.Get(other, "options", {})) working = other->ConstGetOptions();
  ReadEnum(args, "xAxisScale", working.xAxisScale);
  args.Get(working.xMaxAutoCompute, "xAxisMaxAutoCompute");
  ReadFloat(args, "xAxisMaxValue", working.xMaxValue);
  args.Get(working.xMinAutoCompute, "xAxisMinAutoCompute");
  ReadFloat(args, "xAxisMinValue", working.xMinValue);
  ReadEnum(args, "yAxisScale", working.yAxisScale);
  args.Get(working.yMaxAutoCompute, "yAxisMaxAutoCompute");
  ReadFloat(args, "yAxisMaxValue", working.yMaxValue);
  args.Get(working.yMinAutoCompute, "yAxisMinAutoCompute");
  ReadFloat(args, "yAxisMinValue", working.yMinValue);
  ReadEnum(args, "xAxisMajorTickMode", working.xMajorTickMode);
  ReadFloat(args, "xAxisMajorTickIncrement", working.xMajorTickIncrement);
  args.Get(working.numXMajorTicks, "numXAxisMajorTicks");
  args.Get(working.numXMinorTicks, "numXAxisMinorTicks");
  ReadEnum(args, "yAxisMajorTickMode", working.yMajorTickMode);
  ReadFloat(args, "yAxisMajorTickIncrement", working.yMajorTickIncrement);
  args.Get(working.numYMajorTicks, "numYAxisMajorTicks");
  args.Get(working.numYMinorTicks, "numYAxisMinorTicks");
  args.Get(working.xMajorGridLines, "horizontalMajorGridLines");
  args.Get(working.yMajorGridLines, "verticalMajorGridLines");
  ReadEnum(args, "majorGridLineStyle", working.majorGridLineStyle);
  ReadColor(args, "majorGridLineColor", working.majorGridLineColor);
  ReadEnum(args, "majorGridLineThickness", working.majorGridLineThickness);
  args.Get(working.xMinorGridLines, "horizontalMinorGridLines");
  args.Get(working.yMinorGridLines, "verticalMinorGridLines");
  ReadEnum(args, "minorGridLineStyle", working.minorGridLineStyle);
  ReadColor(args, "minorGridLineColor", working.minorGridLineColor);
  ReadEnum(args, "minorGridLineThickness", working.minorGridLineThickness);
  ReadColor(args, "xAxisTitleColor", working.xAxisTitleColor);
  ReadFloat(args, "xAxisTitleSize", working.xAxisTitleSize);
  args.Get(working.xAxisTitleFont, "xAxisTitleFont");
  ReadColor(args, "yAxisTitleColor", working.yAxisTitleColor);
  ReadFloat(args, "yAxisTitleSize", working.yAxisTitleSize);
  args.Get(working.yAxisTitleFont, "yAxisTitleFont");
  ReadEnum(args, "xAxisLabelFormat", working.xAxisLabelFormat);
  args.Get(working.xAxisLabelDecimalPlaces, "xAxisLabelDecimalPlaces");
  args.Get(working.xAxisLabelFrequency, "xAxisLabelFrequency");
  ReadFloat(args, "xAxisLabelSize", working.xAxisLabelSize);
  args.Get(working.xAxisLabelFont, "xAxisLabelFont");
  ReadEnum(args, "yAxisLabelFormat", working.yAxisLabelFormat);
  args.Get(working.yAxisLabelDecimalPlaces, "yAxisLabelDecimalPlaces");
  args.Get(working.yAxisLabelFrequency, "yAxisLabelFrequency");
  ReadFloat(args, "yAxisLabelSize", working.yAxisLabelSize);
  args.Get(working.yAxisLabelFont, "yAxisLabelFont");
  ReadColor(args, "axisColor", working.axisColor);
  ReadEnum(args, "axisThickness", working.axisThickness);
  ReadFloat(args, "aspectRatio", working.aspectRatio);
  args.End();

  // NaN passes no "<= 0" test: finiteness is checked first.
  if (!std::isfinite(working.aspectRatio) || working.aspectRatio <= 0.0f)
    xypK_MessageTypes::ErrorInvalidAspectRatio();

  xypK_XYToolset& toolset = xypK_XYToolset::Instance();
  if (!IsBoundToPlot()) {
    toolset.SetDefaultOptions(working);
    return std::make_unique<omu_PrimNone>();
  }
  xypK_XYPlot& plot = toolset.GetExistingXYPlot(plotName_);
  plot.options = working;
  try {
    plot.Recalculate();
  } catch (...) {
    // The old options go back; if they cannot be laid out either (the data may have changed
    // since), the first error is still the one the script sees.
    std::exception_ptr first = std::current_exception();
    plot.options = old;
    try {
      plot.Recalculate();
    } catch (...) {
    }
    qryK_QueryRegistrarRole::Instance().FireQuery(CommandPath());
    std::rethrow_exception(first);
  }
  toolset.SceneManager().RefreshPlot(plotName_);
  sesK_SessionState& state = sesK_SessionState::Instance();
  if (state.GetXYPlotName().IsEmpty()) state.SetXYPlotName(plotName_);
  return std::make_unique<omu_PrimNone>();
}
