#include "xypK_LayerFragment.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "nex_Exception.h"
#include "omu_Arguments.h"
#include "omu_PrimNone.h"
#include "omu_PrimNumber.h"
#include "omu_PrimTuple.h"
#include "omu_PrimType.h"
#include "omu_ValueErrorException.h"
#include "sesK_SessionState.h"
#include "smg_SceneManagerRole.h"
#include "xypK_Scene.h"
#include "xypK_SceneManager.h"
#include "xypK_XYPlot.h"
#include "xypK_XYPlotEditor.h"
#include "xypK_XYPlotIntObj.h"
#include "xypK_XYToolset.h"

const omu_MemberRow xypK_LayerFragment::members_[] = {
    {"displayedObject", omu_Getter<&xypK_LayerFragment::GetObjectToDisplay>, nullptr,
     "XYPlot, Odb or None", "what the viewport shows"},
    {"", nullptr, nullptr}};

namespace {
constexpr omu_Parameter kPlotPositionParameters[] = {
    {"x", "float", nullptr, "the data point's x value"},
    {"y", "float", nullptr, "its y value"},
    {nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kPlotPosition{"The pixel (x, y) where the viewport's plot draws a data point.",
                                  kPlotPositionParameters, "tuple of two floats",
                                  omu_Signature::Form::Keywords};
}  // namespace

const omu_MethodRow xypK_LayerFragment::methods_[] = {
    {"plotPosition", omu_Method<&xypK_LayerFragment::PlotPosition>, &kPlotPosition}, {"", nullptr}};

xypK_LayerFragment::xypK_LayerFragment() {
  DescribeType(TypeName(), methods_, members_);
}

std::unique_ptr<omu_InterfaceObj> xypK_LayerFragment::Copy() const {
  return std::unique_ptr<omu_InterfaceObj>(new xypK_LayerFragment(*this));
}

bool xypK_LayerFragment::CanDisplay(const omu_Primitive& object) const {
  std::shared_ptr<xypK_XYPlotIntObj> plot;
  return omu_ValueReader::Read(object, plot);
}

cow_String xypK_LayerFragment::DisplayedKind() const {
  return omu_ValueReader::Expected(std::shared_ptr<xypK_XYPlotIntObj>());
}

void xypK_LayerFragment::SetObjectToDisplay(const omu_Primitive* object) {
  std::shared_ptr<xypK_XYPlotIntObj> plot;
  if (object) omu_ValueReader::Require(*object, plot, "'displayedObject'");
  if (plot) xypK_XYToolset::Instance().GetExistingXYPlot(plot->PlotName());

  const int viewport = Viewport();
  xypK_Scene& scene = xypK_XYToolset::Instance().SceneManager().Scene(viewport);
  sesK_SessionState& state = sesK_SessionState::Instance();
  const xypK_XYPlotIntObj none(cow_String(), viewport);
  scene.SetXYPlotObject(plot ? plot.get() : &none);
  state.SetType(viewport, plot ? omu_DISPLAY_XYPLOT : omu_DISPLAY_NONE);
  smg_SceneManagerRole::Instance().SetTypeToDisplay(state.GetType(viewport), viewport, LayerName());
  if (plot) {
    try {
      scene.UpdateScene();
    } catch (...) {
      // Shown but not drawable yet: saving the viewport reports why.
    }
  }
}

omu_Result xypK_LayerFragment::GetObjectToDisplay() {
  const int viewport = Viewport();
  const int type = LayerName().IsEmpty()
                       ? sesK_SessionState::Instance().GetType(viewport)
                       : smg_SceneManagerRole::Instance().GetTypeToDisplay(viewport, LayerName());
  if (type == omu_DISPLAY_XYPLOT) {
    const cow_String name = xypK_XYToolset::Instance().SceneManager().Scene(viewport).PlotName();
    return std::make_unique<omu_PrimType>(std::make_shared<xypK_XYPlotIntObj>(name, viewport));
  }
  if (type == omu_DISPLAY_NONE) return std::make_unique<omu_PrimNone>();
  return nullptr;
}

omu_Result xypK_LayerFragment::PlotPosition(omu_Arguments& args) {
  double x = 0.0, y = 0.0;
  args.Begin();
  args.Get(x, "x");
  args.Get(y, "y");
  args.End();
  const int viewport = Viewport();
  xypK_XYToolset& toolset = xypK_XYToolset::Instance();
  const xypK_Scene* scene =
      static_cast<const xypK_Scene*>(toolset.SceneManager().FindScene(viewport));
  if (!scene || !scene->Editor() || !toolset.IsXYPlot(scene->PlotName()) ||
      smg_SceneManagerRole::Instance().GetTypeToDisplay(viewport, LayerName()) !=
          omu_DISPLAY_XYPLOT)
    NEX_THROW(omu_ValueErrorException("plotPosition: the viewport shows no XY plot"));
  const xypK_XYPlot& plot = toolset.ConstGetXYPlot(scene->PlotName());
  float x0, y0, x1, y1;
  if (!plot.valid || !scene->Editor()->FrameBounds(x0, y0, x1, y1))
    NEX_THROW(omu_ValueErrorException("plotPosition: the plot shown cannot be laid out"));
  // On a logarithmic axis the data's log10 (values below the smallest normal float as that).
  auto onAxis = [](double v, bool log) {
    return log ? std::log10(std::max(v, static_cast<double>(FLT_MIN))) : v;
  };
  const double u = (onAxis(x, plot.options.xAxisScale == xypC_LOG) - plot.xAxisMin) /
                   (static_cast<double>(plot.xAxisMax) - plot.xAxisMin);
  const double v = (onAxis(y, plot.options.yAxisScale == xypC_LOG) - plot.yAxisMin) /
                   (static_cast<double>(plot.yAxisMax) - plot.yAxisMin);
  const g3d_XForm::Point d = scene->ViewToDevice(scene->Width(), scene->Height())
                                 .Apply(x0 + (x1 - x0) * u, y0 + (y1 - y0) * v);
  auto pixel = std::make_unique<omu_PrimTuple>();
  pixel->Append(std::make_unique<omu_PrimNumber>(d.x));
  pixel->Append(std::make_unique<omu_PrimNumber>(d.y));
  return pixel;
}
