#include "xypK_CurveOptionsIntObj.h"

#include <exception>

#include "omu_Arguments.h"
#include "omu_PrimBool.h"
#include "omu_PrimNumber.h"
#include "omu_PrimString.h"
#include "qryK_QueryRegistrarRole.h"
#include "sesK_ColorMap.h"
#include "xypK_SceneManager.h"
#include "xypK_XYToolset.h"

namespace {
using Options = xypC_CurveOptions;

const Options& OptionsOf(omu_InterfaceObj& self) {
  return static_cast<xypK_CurveOptionsIntObj&>(self).ConstGetOptions();
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
template <class E>
void ReadEnum(omu_Arguments& args, const char* keyword, E& field) {
  omu_PrimEnum<E> value(field);
  if (args.Get(value, keyword)) field = value.Get();
}
}  // namespace

const omu_MethodRow xypK_CurveOptionsIntObj::methods_[] = {
    {"setValues", omu_Method<&xypK_CurveOptionsIntObj::SetAttributes>}, {"", nullptr}};

const omu_MemberRow xypK_CurveOptionsIntObj::members_[] = {
    {"systemDefinedLegendText", Text<&Options::systemDefinedLegendText>, nullptr},
    {"legendText", Text<&Options::legendText>, nullptr},
    {"legendTextSource", Enum<xypC_TitleStyleEnum, &Options::legendTextSource>, nullptr},
    {"showLine", Bool<&Options::showLine>, nullptr},
    {"lineStyle", Enum<g3d_LineStyleEnum, &Options::lineStyle>, nullptr},
    {"lineThickness", Enum<g3d_LineThicknessEnum, &Options::lineThickness>, nullptr},
    {"lineColor", Text<&Options::lineColor>, nullptr},
    {"showSymbol", Bool<&Options::showSymbol>, nullptr},
    {"symbolColor", Text<&Options::symbolColor>, nullptr},
    {"symbolMarker", Enum<g3d_MarkerEnum, &Options::symbolMarker>, nullptr},
    {"symbolSize", Enum<g3d_MarkerSizeEnum, &Options::symbolSize>, nullptr},
    {"symbolFrequency", Int<&Options::symbolFrequency>, nullptr},
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
  ReadEnum(args, "legendTextSource", working.legendTextSource);
  args.Get(working.legendText, "legendText");
  args.Get(working.showLine, "showLine");
  ReadEnum(args, "lineStyle", working.lineStyle);
  ReadEnum(args, "lineThickness", working.lineThickness);
  colors.ProcessColorArg(args, working.lineColor, "lineColor");
  args.Get(working.showSymbol, "showSymbol");
  colors.ProcessColorArg(args, working.symbolColor, "symbolColor");
  ReadEnum(args, "symbolMarker", working.symbolMarker);
  ReadEnum(args, "symbolSize", working.symbolSize);
  args.Get(working.symbolFrequency, "symbolFrequency");
  args.End();

  if (!plotName_.IsEmpty()) {
    xypK_XYToolset& toolset = xypK_XYToolset::Instance();
    xypK_Curve& curve = toolset.GetExistingCurve(plotName_, curveName_);
    const bool shownBefore = old.IsDisplayed();
    const bool shownAfter = working.IsDisplayed();
    curve.options = working;
    if (shownBefore != shownAfter) {
      xypK_XYPlot& plot = toolset.GetExistingXYPlot(plotName_);
      try {
        plot.Recalculate();
      } catch (...) {
        std::exception_ptr first = std::current_exception();
        plot.curves.Get(curveName_).options = old;
        try {
          plot.Recalculate();
        } catch (...) {
        }
        qryK_QueryRegistrarRole::Instance().FireQuery(CommandPath());
        std::rethrow_exception(first);
      }
    }
    toolset.SceneManager().RefreshPlot(plotName_);
  }
  return std::make_unique<omu_PrimNumber>(1);
}
