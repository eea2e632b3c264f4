#include "xypK_LayerFragment.h"

#include "omu_Arguments.h"
#include "omu_PrimNone.h"
#include "omu_PrimType.h"
#include "sesK_SessionState.h"
#include "smg_SceneManagerRole.h"
#include "xypK_Scene.h"
#include "xypK_SceneManager.h"
#include "xypK_XYPlotIntObj.h"
#include "xypK_XYToolset.h"

const omu_MemberRow xypK_LayerFragment::members_[] = {
    {"displayedObject", omu_Getter<&xypK_LayerFragment::GetObjectToDisplay>, nullptr},
    {"", nullptr, nullptr}};

xypK_LayerFragment::xypK_LayerFragment() {
  DescribeType(TypeName(), nullptr, members_);
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
