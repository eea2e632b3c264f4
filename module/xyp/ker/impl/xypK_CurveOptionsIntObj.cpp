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

const omu_MethodRow xypK_CurveOptionsIntObj::methods_[] = {
    {"setValues", omu_Method<&xypK_CurveOptionsIntObj::SetAttributes>}, {"", nullptr}};

const omu_MemberRow xypK_CurveOptionsIntObj::members_[] = {
    {"systemDefinedLegendText", Member<&Options::systemDefinedLegendText>, nullptr},
    {"legendText", Member<&Options::legendText>, nullptr},
    {"legendTextSource", Member<&Options::legendTextSource>, nullptr},
    {"showLine", Member<&Options::showLine>, nullptr},
    {"lineStyle", Member<&Options::lineStyle>, nullptr},
    {"lineThickness", Member<&Options::lineThickness>, nullptr},
    {"lineColor", Member<&Options::lineColor>, nullptr},
    {"showSymbol", Member<&Options::showSymbol>, nullptr},
    {"symbolColor", Member<&Options::symbolColor>, nullptr},
    {"symbolMarker", Member<&Options::symbolMarker>, nullptr},
    {"symbolSize", Member<&Options::symbolSize>, nullptr},
    {"symbolFrequency", Member<&Options::symbolFrequency>, nullptr},
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
