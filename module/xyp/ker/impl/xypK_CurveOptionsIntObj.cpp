#include "xypK_CurveOptionsIntObj.h"

#include "omu_Arguments.h"
#include "omu_PrimNumber.h"
#include "omu_RecordMember.h"
#include "sesK_ColorMap.h"
#include "xypK_SceneManager.h"
#include "xypK_XYToolset.h"

namespace {
using Options = xypC_CurveOptions;

template <auto Field>
constexpr omu_GetterFn Member = omu_RecordMember<xypK_CurveOptionsIntObj, Field>;
}  // namespace

namespace {
constexpr omu_Parameter kSetValuesParameters[] = {
    {"options", "XYCurveOptions", "None", "options to start from"},
    {"legendTextSource", nullptr, nullptr, nullptr},
    {"legendText", nullptr, nullptr, nullptr},
    {"showLine", nullptr, nullptr, nullptr},
    {"lineStyle", nullptr, nullptr, nullptr},
    {"lineThickness", nullptr, nullptr, nullptr},
    {"lineColor", nullptr, nullptr, nullptr},
    {"showSymbol", nullptr, nullptr, nullptr},
    {"symbolColor", nullptr, nullptr, nullptr},
    {"symbolMarker", nullptr, nullptr, nullptr},
    {"symbolSize", nullptr, nullptr, nullptr},
    {"symbolFrequency", nullptr, nullptr, nullptr},
    {nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kSetValues{
    "Changes the curve's options; the plot is laid out again (a change it cannot draw is undone).",
    kSetValuesParameters, "int (1)", omu_Signature::Form::Unchanged};
}  // namespace

const omu_MethodRow xypK_CurveOptionsIntObj::methods_[] = {
    {"setValues", omu_Method<&xypK_CurveOptionsIntObj::SetAttributes>, &kSetValues}, {"", nullptr}};

const omu_MemberRow xypK_CurveOptionsIntObj::members_[] = {
    {"systemDefinedLegendText", Member<&Options::systemDefinedLegendText>, nullptr, "str",
     "the legend text made from the data (read only)"},
    {"legendText", Member<&Options::legendText>, nullptr, "str",
     "the legend text, with legendTextSource USER_DEFINED"},
    {"legendTextSource", Member<&Options::legendTextSource>, nullptr, "SymbolicConstant",
     "SYSTEM_DEFINED or USER_DEFINED"},
    {"showLine", Member<&Options::showLine>, nullptr, "bool", "draw the curve's line"},
    {"lineStyle", Member<&Options::lineStyle>, nullptr, "SymbolicConstant",
     "SOLID, DASHED, DOTTED or DOT_DASH"},
    {"lineThickness", Member<&Options::lineThickness>, nullptr, "SymbolicConstant",
     "VERY_THIN, THIN, MEDIUM or THICK"},
    {"lineColor", Member<&Options::lineColor>, nullptr, "str",
     "a colour: an X11 name, '#RRGGBB' or 'Default'"},
    {"showSymbol", Member<&Options::showSymbol>, nullptr, "bool", "draw a symbol at the pairs"},
    {"symbolColor", Member<&Options::symbolColor>, nullptr, "str",
     "a colour: an X11 name, '#RRGGBB' or 'Default'"},
    {"symbolMarker", Member<&Options::symbolMarker>, nullptr, "SymbolicConstant",
     "FILLED_CIRCLE ... PLUS, or DEFAULT_MARKER"},
    {"symbolSize", Member<&Options::symbolSize>, nullptr, "SymbolicConstant",
     "SMALL, MEDIUM_SIZE or LARGE"},
    {"symbolFrequency", Member<&Options::symbolFrequency>, nullptr, "int",
     "a symbol at every how many pairs"},
    {"", nullptr, nullptr}};

xypK_CurveOptionsIntObj::xypK_CurveOptionsIntObj(const cow_String& plotName,
                                                 const cow_String& curveName)
    : plotName_(plotName), curveName_(curveName) {
  DescribeType(TypeName(), methods_, members_);
}

xypK_CurveOptionsIntObj::xypK_CurveOptionsIntObj(const xypK_CurveOptionsIntObj& other) = default;

std::unique_ptr<omu_InterfaceObj> xypK_CurveOptionsIntObj::Copy() const {
  return std::make_unique<xypK_CurveOptionsIntObj>(*this);
}

cow_String xypK_CurveOptionsIntObj::Repr() const {
  return cow_String("session.xyPlots['") + plotName_ + "'].curves['" + curveName_ +
         "'].curveOptions";
}

cow_String xypK_CurveOptionsIntObj::CommandPath() const {
  return cow_String("session.") + "xyPlots" + "." + plotName_ + "." + "curves" + "." + curveName_ +
         "." + "curveOptions";
}

const xypC_CurveOptions& xypK_CurveOptionsIntObj::ConstGetOptions() const {
  return xypK_XYToolset::Instance().GetExistingCurve(plotName_, curveName_).options;
}

omu_Result xypK_CurveOptionsIntObj::SetAttributes(omu_Arguments& args) {
  Options working = plotName_.IsEmpty() ? Options() : ConstGetOptions();
  const Options old = working;
  sesK_ColorMap& colors = sesK_ColorMap::Instance();

  args.Begin();
  args.Optional();
  std::shared_ptr<xypK_CurveOptionsIntObj> other;
  if (args.Get(other, "options", {})) working = other->ConstGetOptions();
  omu_ReadEnum(args, "legendTextSource", working.legendTextSource);
  args.Get(working.legendText, "legendText");
  args.Get(working.showLine, "showLine");
  omu_ReadEnum(args, "lineStyle", working.lineStyle);
  omu_ReadEnum(args, "lineThickness", working.lineThickness);
  colors.ProcessColorArg(args, working.lineColor, "lineColor");
  args.Get(working.showSymbol, "showSymbol");
  colors.ProcessColorArg(args, working.symbolColor, "symbolColor");
  omu_ReadEnum(args, "symbolMarker", working.symbolMarker);
  omu_ReadEnum(args, "symbolSize", working.symbolSize);
  args.Get(working.symbolFrequency, "symbolFrequency");
  args.End();

  if (!plotName_.IsEmpty()) {
    xypK_XYToolset& toolset = xypK_XYToolset::Instance();
    xypK_Curve& curve = toolset.GetExistingCurve(plotName_, curveName_);
    const bool shownBefore = old.IsDisplayed();
    const bool shownAfter = working.IsDisplayed();
    curve.options = working;
    if (shownBefore != shownAfter)
      toolset.RecalculateOrUndo(
          plotName_, [&] { toolset.GetExistingCurve(plotName_, curveName_).options = old; },
          CommandPath());
    toolset.SceneManager().RefreshPlot(plotName_);
  }
  return std::make_unique<omu_PrimNumber>(1);
}
