#include "xypK_XYPlotOptionsIntObj.h"

#include "omu_Arguments.h"
#include "omu_PrimNone.h"
#include "omu_PrimNumber.h"
#include "omu_RecordMember.h"
#include "sesK_ColorMap.h"
#include "sesK_SessionState.h"
#include "udd_PairEntry.h"
#include "xypK_MessageTypes.h"
#include "xypK_SceneManager.h"
#include "xypK_XYToolset.h"

namespace {
using Options = xypC_XYPlotOptions;

template <auto Field>
constexpr omu_GetterFn Member = omu_RecordMember<xypK_XYPlotOptionsIntObj, Field>;

// Keywords read into the working copy; an absent keyword keeps the field.
void ReadFloat(omu_Arguments& args, const char* keyword, float& field) {
  double value = field;
  if (args.Get(value, keyword)) field = udd_PairEntry::Narrow(value);
}
void ReadColor(omu_Arguments& args, const char* keyword, cow_String& field) {
  sesK_ColorMap::Instance().ProcessColorArg(args, field, keyword);
}
}  // namespace

const omu_MethodRow xypK_XYPlotOptionsIntObj::methods_[] = {
    {"setValues", omu_Method<&xypK_XYPlotOptionsIntObj::SetAttributes>}, {"", nullptr}};

const omu_MemberRow xypK_XYPlotOptionsIntObj::members_[] = {
    {"xAxisScale", Member<&Options::xAxisScale>, nullptr},
    {"xAxisMaxAutoCompute", Member<&Options::xMaxAutoCompute>, nullptr},
    {"xAxisMaxValue", Member<&Options::xMaxValue>, nullptr},
    {"xAxisAutoMaxValue", Member<&Options::xAutoMaxValue>, nullptr},
    {"xAxisMinAutoCompute", Member<&Options::xMinAutoCompute>, nullptr},
    {"xAxisMinValue", Member<&Options::xMinValue>, nullptr},
    {"xAxisAutoMinValue", Member<&Options::xAutoMinValue>, nullptr},
    {"yAxisScale", Member<&Options::yAxisScale>, nullptr},
    {"yAxisMaxAutoCompute", Member<&Options::yMaxAutoCompute>, nullptr},
    {"yAxisMaxValue", Member<&Options::yMaxValue>, nullptr},
    {"yAxisAutoMaxValue", Member<&Options::yAutoMaxValue>, nullptr},
    {"yAxisMinAutoCompute", Member<&Options::yMinAutoCompute>, nullptr},
    {"yAxisMinValue", Member<&Options::yMinValue>, nullptr},
    {"yAxisAutoMinValue", Member<&Options::yAutoMinValue>, nullptr},
    {"xAxisMajorTickMode", Member<&Options::xMajorTickMode>, nullptr},
    {"xAxisAutoMajorTickIncrement", Member<&Options::xAutoMajorTickIncrement>, nullptr},
    {"xAxisMajorTickIncrement", Member<&Options::xMajorTickIncrement>, nullptr},
    {"numXAxisMajorTicks", Member<&Options::numXMajorTicks>, nullptr},
    {"numXAxisMinorTicks", Member<&Options::numXMinorTicks>, nullptr},
    {"yAxisMajorTickMode", Member<&Options::yMajorTickMode>, nullptr},
    {"yAxisMajorAutoTickIncrement", Member<&Options::yAutoMajorTickIncrement>, nullptr},
    {"yAxisMajorTickIncrement", Member<&Options::yMajorTickIncrement>, nullptr},
    {"numYAxisMajorTicks", Member<&Options::numYMajorTicks>, nullptr},
    {"numYAxisMinorTicks", Member<&Options::numYMinorTicks>, nullptr},
    {"horizontalMajorGridLines", Member<&Options::xMajorGridLines>, nullptr},
    {"verticalMajorGridLines", Member<&Options::yMajorGridLines>, nullptr},
    {"majorGridLineStyle", Member<&Options::majorGridLineStyle>, nullptr},
    {"majorGridLineColor", Member<&Options::majorGridLineColor>, nullptr},
    {"majorGridLineThickness", Member<&Options::majorGridLineThickness>, nullptr},
    {"horizontalMinorGridLines", Member<&Options::xMinorGridLines>, nullptr},
    {"verticalMinorGridLines", Member<&Options::yMinorGridLines>, nullptr},
    {"minorGridLineStyle", Member<&Options::minorGridLineStyle>, nullptr},
    {"minorGridLineColor", Member<&Options::minorGridLineColor>, nullptr},
    {"minorGridLineThickness", Member<&Options::minorGridLineThickness>, nullptr},
    {"xAxisTitleColor", Member<&Options::xAxisTitleColor>, nullptr},
    {"xAxisTitleSize", Member<&Options::xAxisTitleSize>, nullptr},
    {"xAxisTitleFont", Member<&Options::xAxisTitleFont>, nullptr},
    {"yAxisTitleColor", Member<&Options::yAxisTitleColor>, nullptr},
    {"yAxisTitleSize", Member<&Options::yAxisTitleSize>, nullptr},
    {"yAxisTitleFont", Member<&Options::yAxisTitleFont>, nullptr},
    {"xAxisLabelFormat", Member<&Options::xAxisLabelFormat>, nullptr},
    {"xAxisLabelDecimalPlaces", Member<&Options::xAxisLabelDecimalPlaces>, nullptr},
    {"xAxisLabelFrequency", Member<&Options::xAxisLabelFrequency>, nullptr},
    {"xAxisLabelSize", Member<&Options::xAxisLabelSize>, nullptr},
    {"xAxisLabelFont", Member<&Options::xAxisLabelFont>, nullptr},
    {"yAxisLabelFormat", Member<&Options::yAxisLabelFormat>, nullptr},
    {"yAxisLabelDecimalPlaces", Member<&Options::yAxisLabelDecimalPlaces>, nullptr},
    {"yAxisLabelFrequency", Member<&Options::yAxisLabelFrequency>, nullptr},
    {"yAxisLabelSize", Member<&Options::yAxisLabelSize>, nullptr},
    {"yAxisLabelFont", Member<&Options::yAxisLabelFont>, nullptr},
    {"axisColor", Member<&Options::axisColor>, nullptr},
    {"axisThickness", Member<&Options::axisThickness>, nullptr},
    {"aspectRatio", Member<&Options::aspectRatio>, nullptr},
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
  omu_ReadEnum(args, "xAxisScale", working.xAxisScale);
  args.Get(working.xMaxAutoCompute, "xAxisMaxAutoCompute");
  ReadFloat(args, "xAxisMaxValue", working.xMaxValue);
  args.Get(working.xMinAutoCompute, "xAxisMinAutoCompute");
  ReadFloat(args, "xAxisMinValue", working.xMinValue);
  omu_ReadEnum(args, "yAxisScale", working.yAxisScale);
  args.Get(working.yMaxAutoCompute, "yAxisMaxAutoCompute");
  ReadFloat(args, "yAxisMaxValue", working.yMaxValue);
  args.Get(working.yMinAutoCompute, "yAxisMinAutoCompute");
  ReadFloat(args, "yAxisMinValue", working.yMinValue);
  omu_ReadEnum(args, "xAxisMajorTickMode", working.xMajorTickMode);
  ReadFloat(args, "xAxisMajorTickIncrement", working.xMajorTickIncrement);
  args.Get(working.numXMajorTicks, "numXAxisMajorTicks");
  args.Get(working.numXMinorTicks, "numXAxisMinorTicks");
  omu_ReadEnum(args, "yAxisMajorTickMode", working.yMajorTickMode);
  ReadFloat(args, "yAxisMajorTickIncrement", working.yMajorTickIncrement);
  args.Get(working.numYMajorTicks, "numYAxisMajorTicks");
  args.Get(working.numYMinorTicks, "numYAxisMinorTicks");
  args.Get(working.xMajorGridLines, "horizontalMajorGridLines");
  args.Get(working.yMajorGridLines, "verticalMajorGridLines");
  omu_ReadEnum(args, "majorGridLineStyle", working.majorGridLineStyle);
  ReadColor(args, "majorGridLineColor", working.majorGridLineColor);
  omu_ReadEnum(args, "majorGridLineThickness", working.majorGridLineThickness);
  args.Get(working.xMinorGridLines, "horizontalMinorGridLines");
  args.Get(working.yMinorGridLines, "verticalMinorGridLines");
  omu_ReadEnum(args, "minorGridLineStyle", working.minorGridLineStyle);
  ReadColor(args, "minorGridLineColor", working.minorGridLineColor);
  omu_ReadEnum(args, "minorGridLineThickness", working.minorGridLineThickness);
  ReadColor(args, "xAxisTitleColor", working.xAxisTitleColor);
  ReadFloat(args, "xAxisTitleSize", working.xAxisTitleSize);
  args.Get(working.xAxisTitleFont, "xAxisTitleFont");
  ReadColor(args, "yAxisTitleColor", working.yAxisTitleColor);
  ReadFloat(args, "yAxisTitleSize", working.yAxisTitleSize);
  args.Get(working.yAxisTitleFont, "yAxisTitleFont");
  omu_ReadEnum(args, "xAxisLabelFormat", working.xAxisLabelFormat);
  args.Get(working.xAxisLabelDecimalPlaces, "xAxisLabelDecimalPlaces");
  args.Get(working.xAxisLabelFrequency, "xAxisLabelFrequency");
  ReadFloat(args, "xAxisLabelSize", working.xAxisLabelSize);
  args.Get(working.xAxisLabelFont, "xAxisLabelFont");
  omu_ReadEnum(args, "yAxisLabelFormat", working.yAxisLabelFormat);
  args.Get(working.yAxisLabelDecimalPlaces, "yAxisLabelDecimalPlaces");
  args.Get(working.yAxisLabelFrequency, "yAxisLabelFrequency");
  ReadFloat(args, "yAxisLabelSize", working.yAxisLabelSize);
  args.Get(working.yAxisLabelFont, "yAxisLabelFont");
  ReadColor(args, "axisColor", working.axisColor);
  omu_ReadEnum(args, "axisThickness", working.axisThickness);
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
  toolset.RecalculateOrUndo(
      plotName_, [&] { toolset.GetExistingXYPlot(plotName_).options = old; }, CommandPath());
  toolset.SceneManager().RefreshPlot(plotName_);
  sesK_SessionState& state = sesK_SessionState::Instance();
  if (state.GetXYPlotName().IsEmpty()) state.SetXYPlotName(plotName_);
  return std::make_unique<omu_PrimNone>();
}
