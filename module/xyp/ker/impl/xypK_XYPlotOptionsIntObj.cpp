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

namespace {
constexpr omu_Parameter kSetValuesParameters[] = {
    {"options", "XYPlotOptions", "None", "options to start from"},
    {"xAxisScale", nullptr, nullptr, nullptr},
    {"xAxisMaxAutoCompute", nullptr, nullptr, nullptr},
    {"xAxisMaxValue", nullptr, nullptr, nullptr},
    {"xAxisMinAutoCompute", nullptr, nullptr, nullptr},
    {"xAxisMinValue", nullptr, nullptr, nullptr},
    {"yAxisScale", nullptr, nullptr, nullptr},
    {"yAxisMaxAutoCompute", nullptr, nullptr, nullptr},
    {"yAxisMaxValue", nullptr, nullptr, nullptr},
    {"yAxisMinAutoCompute", nullptr, nullptr, nullptr},
    {"yAxisMinValue", nullptr, nullptr, nullptr},
    {"xAxisMajorTickMode", nullptr, nullptr, nullptr},
    {"xAxisMajorTickIncrement", nullptr, nullptr, nullptr},
    {"numXAxisMajorTicks", nullptr, nullptr, nullptr},
    {"numXAxisMinorTicks", nullptr, nullptr, nullptr},
    {"yAxisMajorTickMode", nullptr, nullptr, nullptr},
    {"yAxisMajorTickIncrement", nullptr, nullptr, nullptr},
    {"numYAxisMajorTicks", nullptr, nullptr, nullptr},
    {"numYAxisMinorTicks", nullptr, nullptr, nullptr},
    {"horizontalMajorGridLines", nullptr, nullptr, nullptr},
    {"verticalMajorGridLines", nullptr, nullptr, nullptr},
    {"majorGridLineStyle", nullptr, nullptr, nullptr},
    {"majorGridLineColor", nullptr, nullptr, nullptr},
    {"majorGridLineThickness", nullptr, nullptr, nullptr},
    {"horizontalMinorGridLines", nullptr, nullptr, nullptr},
    {"verticalMinorGridLines", nullptr, nullptr, nullptr},
    {"minorGridLineStyle", nullptr, nullptr, nullptr},
    {"minorGridLineColor", nullptr, nullptr, nullptr},
    {"minorGridLineThickness", nullptr, nullptr, nullptr},
    {"xAxisTitleColor", nullptr, nullptr, nullptr},
    {"xAxisTitleSize", nullptr, nullptr, nullptr},
    {"xAxisTitleFont", nullptr, nullptr, nullptr},
    {"yAxisTitleColor", nullptr, nullptr, nullptr},
    {"yAxisTitleSize", nullptr, nullptr, nullptr},
    {"yAxisTitleFont", nullptr, nullptr, nullptr},
    {"xAxisLabelFormat", nullptr, nullptr, nullptr},
    {"xAxisLabelDecimalPlaces", nullptr, nullptr, nullptr},
    {"xAxisLabelFrequency", nullptr, nullptr, nullptr},
    {"xAxisLabelSize", nullptr, nullptr, nullptr},
    {"xAxisLabelFont", nullptr, nullptr, nullptr},
    {"yAxisLabelFormat", nullptr, nullptr, nullptr},
    {"yAxisLabelDecimalPlaces", nullptr, nullptr, nullptr},
    {"yAxisLabelFrequency", nullptr, nullptr, nullptr},
    {"yAxisLabelSize", nullptr, nullptr, nullptr},
    {"yAxisLabelFont", nullptr, nullptr, nullptr},
    {"axisColor", nullptr, nullptr, nullptr},
    {"axisThickness", nullptr, nullptr, nullptr},
    {"aspectRatio", nullptr, nullptr, nullptr},
    {nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kSetValues{
    "Changes the plot options and lays the axes out again (a change they cannot take is undone).",
    kSetValuesParameters, nullptr, omu_Signature::Form::Unchanged};
}  // namespace

const omu_MethodRow xypK_XYPlotOptionsIntObj::methods_[] = {
    {"setValues", omu_Method<&xypK_XYPlotOptionsIntObj::SetAttributes>, &kSetValues},
    {"", nullptr}};

const omu_MemberRow xypK_XYPlotOptionsIntObj::members_[] = {
    {"xAxisScale", Member<&Options::xAxisScale>, nullptr, "SymbolicConstant",
     "the X axis scale: LINEAR or LOG"},
    {"xAxisMaxAutoCompute", Member<&Options::xMaxAutoCompute>, nullptr, "bool",
     "the X maximum is computed from the data"},
    {"xAxisMaxValue", Member<&Options::xMaxValue>, nullptr, "float",
     "the X maximum when not computed"},
    {"xAxisAutoMaxValue", Member<&Options::xAutoMaxValue>, nullptr, "float",
     "the X maximum the layout computed (read only)"},
    {"xAxisMinAutoCompute", Member<&Options::xMinAutoCompute>, nullptr, "bool",
     "the X minimum is computed from the data"},
    {"xAxisMinValue", Member<&Options::xMinValue>, nullptr, "float",
     "the X minimum when not computed"},
    {"xAxisAutoMinValue", Member<&Options::xAutoMinValue>, nullptr, "float",
     "the X minimum the layout computed (read only)"},
    {"yAxisScale", Member<&Options::yAxisScale>, nullptr, "SymbolicConstant",
     "the Y axis scale: LINEAR or LOG"},
    {"yAxisMaxAutoCompute", Member<&Options::yMaxAutoCompute>, nullptr, "bool",
     "the Y maximum is computed from the data"},
    {"yAxisMaxValue", Member<&Options::yMaxValue>, nullptr, "float",
     "the Y maximum when not computed"},
    {"yAxisAutoMaxValue", Member<&Options::yAutoMaxValue>, nullptr, "float",
     "the Y maximum the layout computed (read only)"},
    {"yAxisMinAutoCompute", Member<&Options::yMinAutoCompute>, nullptr, "bool",
     "the Y minimum is computed from the data"},
    {"yAxisMinValue", Member<&Options::yMinValue>, nullptr, "float",
     "the Y minimum when not computed"},
    {"yAxisAutoMinValue", Member<&Options::yAutoMinValue>, nullptr, "float",
     "the Y minimum the layout computed (read only)"},
    {"xAxisMajorTickMode", Member<&Options::xMajorTickMode>, nullptr, "SymbolicConstant",
     "how X major ticks are placed: AUTOCOMPUTE, INCREMENT or TOTAL_NUMBER"},
    {"xAxisAutoMajorTickIncrement", Member<&Options::xAutoMajorTickIncrement>, nullptr, "float",
     "the X major tick increment the layout computed (read only)"},
    {"xAxisMajorTickIncrement", Member<&Options::xMajorTickIncrement>, nullptr, "float",
     "the X major tick increment, in INCREMENT mode"},
    {"numXAxisMajorTicks", Member<&Options::numXMajorTicks>, nullptr, "int",
     "the number of X major ticks, in TOTAL_NUMBER mode"},
    {"numXAxisMinorTicks", Member<&Options::numXMinorTicks>, nullptr, "int",
     "X minor ticks between two major ones"},
    {"yAxisMajorTickMode", Member<&Options::yMajorTickMode>, nullptr, "SymbolicConstant",
     "how Y major ticks are placed: AUTOCOMPUTE, INCREMENT or TOTAL_NUMBER"},
    {"yAxisMajorAutoTickIncrement", Member<&Options::yAutoMajorTickIncrement>, nullptr, "float",
     "the Y major tick increment the layout computed (read only)"},
    {"yAxisMajorTickIncrement", Member<&Options::yMajorTickIncrement>, nullptr, "float",
     "the Y major tick increment, in INCREMENT mode"},
    {"numYAxisMajorTicks", Member<&Options::numYMajorTicks>, nullptr, "int",
     "the number of Y major ticks, in TOTAL_NUMBER mode"},
    {"numYAxisMinorTicks", Member<&Options::numYMinorTicks>, nullptr, "int",
     "Y minor ticks between two major ones"},
    {"horizontalMajorGridLines", Member<&Options::xMajorGridLines>, nullptr, "bool",
     "draw horizontal grid lines at the major ticks"},
    {"verticalMajorGridLines", Member<&Options::yMajorGridLines>, nullptr, "bool",
     "draw vertical grid lines at the major ticks"},
    {"majorGridLineStyle", Member<&Options::majorGridLineStyle>, nullptr, "SymbolicConstant",
     "SOLID, DASHED, DOTTED or DOT_DASH"},
    {"majorGridLineColor", Member<&Options::majorGridLineColor>, nullptr, "str",
     "the major grid lines' colour"},
    {"majorGridLineThickness", Member<&Options::majorGridLineThickness>, nullptr,
     "SymbolicConstant", "VERY_THIN, THIN, MEDIUM or THICK"},
    {"horizontalMinorGridLines", Member<&Options::xMinorGridLines>, nullptr, "bool",
     "draw horizontal grid lines at the minor ticks"},
    {"verticalMinorGridLines", Member<&Options::yMinorGridLines>, nullptr, "bool",
     "draw vertical grid lines at the minor ticks"},
    {"minorGridLineStyle", Member<&Options::minorGridLineStyle>, nullptr, "SymbolicConstant",
     "SOLID, DASHED, DOTTED or DOT_DASH"},
    {"minorGridLineColor", Member<&Options::minorGridLineColor>, nullptr, "str",
     "the minor grid lines' colour"},
    {"minorGridLineThickness", Member<&Options::minorGridLineThickness>, nullptr,
     "SymbolicConstant", "VERY_THIN, THIN, MEDIUM or THICK"},
    {"xAxisTitleColor", Member<&Options::xAxisTitleColor>, nullptr, "str",
     "the X axis title's colour"},
    {"xAxisTitleSize", Member<&Options::xAxisTitleSize>, nullptr, "float",
     "the X axis title's size in points"},
    {"xAxisTitleFont", Member<&Options::xAxisTitleFont>, nullptr, "str", "the X axis title's font"},
    {"yAxisTitleColor", Member<&Options::yAxisTitleColor>, nullptr, "str",
     "the Y axis title's colour"},
    {"yAxisTitleSize", Member<&Options::yAxisTitleSize>, nullptr, "float",
     "the Y axis title's size in points"},
    {"yAxisTitleFont", Member<&Options::yAxisTitleFont>, nullptr, "str", "the Y axis title's font"},
    {"xAxisLabelFormat", Member<&Options::xAxisLabelFormat>, nullptr, "SymbolicConstant",
     "X tick labels: AUTOMATIC, DECIMAL, SCIENTIFIC or ENGINEERING"},
    {"xAxisLabelDecimalPlaces", Member<&Options::xAxisLabelDecimalPlaces>, nullptr, "int",
     "X tick label decimals; -1 the fewest that print every tick exactly"},
    {"xAxisLabelFrequency", Member<&Options::xAxisLabelFrequency>, nullptr, "int",
     "every how many X major ticks a label is drawn"},
    {"xAxisLabelSize", Member<&Options::xAxisLabelSize>, nullptr, "float",
     "the X tick labels' size in points"},
    {"xAxisLabelFont", Member<&Options::xAxisLabelFont>, nullptr, "str", "the X tick labels' font"},
    {"yAxisLabelFormat", Member<&Options::yAxisLabelFormat>, nullptr, "SymbolicConstant",
     "Y tick labels: AUTOMATIC, DECIMAL, SCIENTIFIC or ENGINEERING"},
    {"yAxisLabelDecimalPlaces", Member<&Options::yAxisLabelDecimalPlaces>, nullptr, "int",
     "Y tick label decimals; -1 the fewest that print every tick exactly"},
    {"yAxisLabelFrequency", Member<&Options::yAxisLabelFrequency>, nullptr, "int",
     "every how many Y major ticks a label is drawn"},
    {"yAxisLabelSize", Member<&Options::yAxisLabelSize>, nullptr, "float",
     "the Y tick labels' size in points"},
    {"yAxisLabelFont", Member<&Options::yAxisLabelFont>, nullptr, "str", "the Y tick labels' font"},
    {"axisColor", Member<&Options::axisColor>, nullptr, "str", "the frame's and ticks' colour"},
    {"axisThickness", Member<&Options::axisThickness>, nullptr, "SymbolicConstant",
     "VERY_THIN, THIN, MEDIUM or THICK"},
    {"aspectRatio", Member<&Options::aspectRatio>, nullptr, "float",
     "the frame's width over its height, above 0"},
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
