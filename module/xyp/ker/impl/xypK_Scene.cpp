#include "xypK_Scene.h"

#include <algorithm>
#include <cmath>

#include "gdr_IdMapRenderer.h"
#include "sesK_SessionState.h"
#include "smg_SceneManagerRole.h"
#include "xmd_VisMaps.h"
#include "xypC_Utils.h"
#include "xypK_PlotLayout.h"
#include "xypK_XYPlot.h"
#include "xypK_XYPlotEditor.h"
#include "xypK_XYPlotIntObj.h"
#include "xypK_XYToolset.h"

namespace {
cow_String PathOf(const cow_String& plotName) {
  return "session.xyPlots['" + plotName + "']";
}
}  // namespace

void CurveHighlightInfo::Add(int index) {
  if (index < 0) return;
  if (static_cast<std::size_t>(count_) >= indices_.Size())
    indices_.Resize(std::max<std::size_t>(8, indices_.Size() * 2));
  indices_.Set(static_cast<std::size_t>(count_++), index);
}

xypK_Scene::xypK_Scene(int viewport) : smg_Scene(viewport) {
  FitView();
}

xypK_Scene::xypK_Scene(int viewport, const xypK_Scene& source) : smg_Scene(viewport) {
  viewDynamics_ = source.viewDynamics_;
  extentGrown_ = source.extentGrown_;
  keepView_ = source.keepView_;
  fitPending_ = source.fitPending_;
  camera_ = source.camera_;
  if (source.plotName_.IsEmpty()) return;
  xypK_XYToolset& toolset = xypK_XYToolset::Instance();
  const cow_String own = xypC_Utils::GetPlotNameFromVPID(viewport);
  if (!toolset.IsXYPlot(own)) toolset.CopyXYPlot(source.plotName_, own);
  const xypK_XYPlotIntObj handle(own, viewport);
  SetXYPlotObject(&handle);
  UpdateScene();
}

xypK_Scene::~xypK_Scene() {
  ReleaseMapId();
}

void xypK_Scene::SetXYPlotObject(const xypK_XYPlotIntObj* plot) {
  const cow_String name = plot ? plot->PlotName() : cow_String();
  xypK_XYToolset& toolset = xypK_XYToolset::Instance();
  sesK_SessionState& state = sesK_SessionState::Instance();
  smg_SceneManagerRole& role = smg_SceneManagerRole::Instance();
  if (name == plotName_ && editor_) {
    toolset.ActivateXYPlot(Viewport());
    state.SetPrimaryObjectPath(Viewport(), PathOf(name));
    return;
  }
  if (IsMapped() && !plotName_.IsEmpty()) role.SetObjView(PathOf(plotName_), camera_, Viewport());
  toolset.ActivateXYPlot(Viewport());
  plotName_ = name;
  state.SetPrimaryObjectPath(Viewport(), name.IsEmpty() ? cow_String() : PathOf(name));
  editor_.reset();
  if (name.IsEmpty()) return;
  editor_ = std::make_unique<xypK_XYPlotEditor>(name, this);
  ++revision_;
  PassLegendOptions();
  editor_->Load(nullptr);
  if (IsMapped() && role.ObjHasView(PathOf(name), Viewport()))
    SetCamera(role.GetObjView(PathOf(name), Viewport()));
  else
    ResetCamera();
}

void xypK_Scene::PassLegendOptions() {
  if (editor_)
    editor_->SetLegendOptions(smg_SceneManagerRole::Instance().ConstGetViewAnnCTX(Viewport()));
}

void xypK_Scene::ResetCamera() {
  viewRestored_ = false;
  FitView();
  extentGrown_ = false;
  keepView_ = false;
}

void xypK_Scene::SetCamera(const g3d_Camera& camera) {
  camera_ = camera;
  viewRestored_ = true;
  ++revision_;
  --updateCount_;
}

// The view is what the plot draws outside its curves, measured: the frame, tick marks and
// labels, power-of-ten markers and titles, so that the fitted plot fills the viewport with
// nothing cut. Without a plot that can be laid out, the frame's square with room around it.
void xypK_Scene::FitView() {
  ++revision_;
  float x0 = -0.17f, y0 = -0.17f, x1 = 1.22f, y1 = 1.05f;
  if (editor_) editor_->ContentBounds(x0, y0, x1, y1);  // left as they are when false
  camera_ = g3d_Camera((x0 + x1) / 2.0f, (y0 + y1) / 2.0f, std::max((x1 - x0) / 2.0f, 1e-3f),
                       std::max((y1 - y0) / 2.0f, 1e-3f));
}

const xypK_PlotLayout& xypK_Scene::Layout(float width, float height) const {
  if (!layout_ || layoutRevision_ != revision_ || layoutWidth_ != width ||
      layoutHeight_ != height) {
    // The layout reads the plot as laid out; without an editor it only fits the view.
    static const xypK_XYPlotEditor none("", nullptr);
    layout_ = std::make_unique<xypK_PlotLayout>(
        editor_ ? *editor_ : none, camera_,
        smg_SceneManagerRole::Instance().ConstGetViewAnnCTX(Viewport()), width, height);
    layoutRevision_ = revision_;
    layoutWidth_ = width;
    layoutHeight_ = height;
  }
  return *layout_;
}

g3d_XForm xypK_Scene::ViewToDevice(float width, float height) const {
  return Layout(width, height).ViewToDevice();
}

void xypK_Scene::UpdateScene() {
  xypK_XYToolset& toolset = xypK_XYToolset::Instance();
  if (plotName_.IsEmpty() || !toolset.IsXYPlot(plotName_)) return;
  ++updateCount_;
  xypK_XYPlot& plot = toolset.GetXYPlot(plotName_);
  try {
    plot.Recalculate();
  } catch (...) {
    // Nothing can be picked on a plot that cannot be laid out: its map (of the old data)
    // goes too, so no id of it is read against the new data.
    toolset.GetXYPlot(plotName_).valid = false;
    ReleaseMapId();
    throw;
  }
  plot.valid = true;
  // Labels and titles are known once the plot is laid out: frame it anew, unless a view was
  // given for it and the plot's extent has not changed since.
  const g3d_Sphere& extent = plot.GetExtent();
  const float radius = std::fabs(extent.radius) > 0.0f ? std::fabs(extent.radius) : 1.0f;
  if (extent.center[0] != centerX_ || extent.center[1] != centerY_ || radius != radius_) {
    centerX_ = extent.center[0];
    centerY_ = extent.center[1];
    radius_ = radius;
    viewRestored_ = false;
  }
  if (!viewRestored_) FitView();
  ++revision_;
  FillIdBuffer();
  Draft();
}

void xypK_Scene::FillIdBuffer() {
  if (!probeEnabled_ || !editor_) return;
  const xypK_XYToolset& toolset = xypK_XYToolset::Instance();
  if (!toolset.IsXYPlot(plotName_) || !toolset.ConstGetXYPlot(plotName_).valid) return;
  const int width = static_cast<int>(std::lround(std::clamp(Width(), 0.0f, 16384.0f)));
  const int height = static_cast<int>(std::lround(std::clamp(Height(), 0.0f, 16384.0f)));
  if (width < 1 || height < 1) return;  // the viewport has no size yet
  xmd_IdMap* map = xmd_VisMaps::Get(probeMapId_);
  if (!map || map->Width() != width || map->Height() != height) {
    ReleaseMapId();
    probeMapId_ = xmd_VisMaps::Create(width, height);
    map = xmd_VisMaps::Get(probeMapId_);
  }
  map->Clear();
  gdr_IdMapRenderer renderer(*map);
  // The layout first: where its legend goes is found from the curves drawn whole (per pixel
  // column), not segment by segment as the id map needs them.
  Layout(static_cast<float>(width), static_cast<float>(height));
  fillingIdBuffer_ = true;
  try {
    DraftCB(renderer);
  } catch (...) {
    fillingIdBuffer_ = false;
    throw;
  }
  fillingIdBuffer_ = false;
}

int xypK_Scene::Probe(const g3d_Point& point) const {
  return xmd_VisMaps::Query(probeMapId_, point.x, point.y, 1.0f);
}

void xypK_Scene::ReleaseMapId() {
  xmd_VisMaps::Release(probeMapId_);
  probeMapId_ = 0;
}

void xypK_Scene::DisableProbe() {
  probeEnabled_ = false;
  ClearHighlights();
  ReleaseMapId();
}

void xypK_Scene::Map() {
  smg_Scene::Map();
  if (fitPending_) {
    FitView();
    fitPending_ = false;
  }
  UpdateScene();
}

void xypK_Scene::Resize(float width, float height) {
  smg_Scene::Resize(width, height);
  UpdateScene();
}

void xypK_Scene::Refresh() {
  highlights_.clear();
  ++revision_;
  PassLegendOptions();
  Draft();
}

void xypK_Scene::ViewAnnOptionsUpdate() {
  ++revision_;
  PassLegendOptions();
  FillIdBuffer();
  Draft();
}

void xypK_Scene::DraftCB(gdr_Renderer& renderer) {
  xypK_XYToolset& toolset = xypK_XYToolset::Instance();
  if (!editor_ || !toolset.IsXYPlot(plotName_) || !toolset.ConstGetXYPlot(plotName_).valid) return;
  const g3d_XForm previous = renderer.Transform();
  const xypK_PlotLayout& layout =
      Layout(static_cast<float>(renderer.Width()), static_cast<float>(renderer.Height()));
  // The legend as placed for this size (only drawing reads the editor's legend options).
  editor_->SetLegendOptions(layout.Legend());
  renderer.SetTransform(layout.ViewToDevice());
  editor_->Draft(renderer);
  renderer.SetTransform(previous);
}

void xypK_Scene::SketchCB(gdr_Renderer& renderer) {
  xypK_XYToolset& toolset = xypK_XYToolset::Instance();
  if (!editor_ || highlights_.empty() || !toolset.IsXYPlot(plotName_)) return;
  const g3d_XForm previous = renderer.Transform();
  renderer.SetTransform(
      ViewToDevice(static_cast<float>(renderer.Width()), static_cast<float>(renderer.Height())));
  editor_->HighlightPoint(renderer);
  renderer.SetTransform(previous);
}

CurveHighlightInfo& xypK_Scene::HighlightInfo(const cow_String& curve, bool add) {
  if (!add) highlights_.clear();
  for (auto& info : highlights_)
    if (info->CurveName() == curve) return *info;
  highlights_.push_back(std::make_unique<CurveHighlightInfo>(curve));
  return *highlights_.back();
}

void xypK_Scene::Highlight(const cow_String& curve, int point, bool add) {
  HighlightInfo(curve, add).Add(point);
  Sketch();
}

void xypK_Scene::Highlight(const cow_String& curve, float x, float y, bool add) {
  HighlightInfo(curve, add).SetPoint(x, y);
  Sketch();
}

void xypK_Scene::ClearHighlights() {
  if (smg_SceneManagerRole::Instance().CurrentViewport() != Viewport()) return;
  highlights_.clear();
  Sketch();
}
