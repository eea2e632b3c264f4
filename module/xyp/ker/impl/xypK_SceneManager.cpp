#include "xypK_SceneManager.h"

#include "qryK_QueryRegistrarRole.h"
#include "smg_SceneManagerRole.h"
#include "xypC_Utils.h"
#include "xypK_ProbeToolsetClient.h"
#include "xypK_Scene.h"
#include "xypK_Utils.h"
#include "xypK_XYPlot.h"
#include "xypK_XYPlotIntObj.h"
#include "xypK_XYToolset.h"

xypK_SceneManager::xypK_SceneManager() = default;
xypK_SceneManager::~xypK_SceneManager() = default;

xypK_Scene& xypK_SceneManager::Scene(int viewport) {
  auto it = scenes_.find(viewport);
  if (it != scenes_.end()) return *it->second;
  XYPK_ASSERT(!allocating_);
  allocating_ = true;
  const int source = viewport == currentViewport_ ? previousViewport_ : currentViewport_;
  auto from = scenes_.find(source);
  std::unique_ptr<xypK_Scene> scene = from != scenes_.end() && source != viewport
                                          ? std::make_unique<xypK_Scene>(viewport, *from->second)
                                          : std::make_unique<xypK_Scene>(viewport);
  allocating_ = false;
  return *(scenes_[viewport] = std::move(scene));
}

smg_Scene* xypK_SceneManager::FindScene(int viewport) {
  auto it = scenes_.find(viewport);
  return it == scenes_.end() ? nullptr : it->second.get();
}

smg_Scene& xypK_SceneManager::SceneOf(int viewport) {
  return Scene(viewport);
}

void xypK_SceneManager::FreeScene(int viewport) {
  auto it = scenes_.find(viewport);
  if (it == scenes_.end()) return;
  xypK_XYToolset::Instance().ProbeClient().ForgetScene(it->second.get());
  scenes_.erase(it);
  xypK_XYToolset::Instance().DeleteXYPlot(xypC_Utils::GetPlotNameFromVPID(viewport));
}

void xypK_SceneManager::NewCurrentViewport() {
  previousViewport_ = currentViewport_;
  currentViewport_ = smg_SceneManagerRole::Instance().CurrentViewport();
}

void xypK_SceneManager::RefreshPlot(const cow_String& plotName) {
  pendingPlots_.insert(plotName);
  for (auto& [viewport, scene] : scenes_) {
    if (scene->PlotName() != plotName) continue;
    try {
      scene->UpdateScene();
    } catch (...) {
      // The plot is marked invalid and not drawn; saving the viewport reports the reason.
    }
  }
}

void xypK_SceneManager::Refresh() {
  refreshAll_ = true;
  for (auto& [viewport, scene] : scenes_) {
    try {
      scene->UpdateScene();
    } catch (...) {
    }
  }
}

void xypK_SceneManager::CleanupViewport(int viewport) {
  auto it = scenes_.find(viewport);
  if (it == scenes_.end()) return;
  const cow_String name = it->second->PlotName();
  xypK_XYToolset& toolset = xypK_XYToolset::Instance();
  if (name.IsEmpty() || !toolset.IsXYPlot(name)) return;
  xypK_XYPlot& plot = toolset.GetXYPlot(name);
  std::vector<cow_String> doomed;
  for (const auto& [curveName, curve] : plot.curves)
    if (curve.xyDataName.IsEmpty() && curve.xyData.TypeCode() == 0) doomed.push_back(curveName);
  for (const cow_String& curveName : doomed) plot.RemoveCurve(curveName);
  qryK_QueryRegistrarRole::Instance().FireQuery("session.xyPlots[" + name + "]");
}

std::set<cow_String> xypK_SceneManager::TakePendingPlots() {
  std::set<cow_String> taken;
  taken.swap(pendingPlots_);
  return taken;
}

bool xypK_SceneManager::TakeRefreshAll() {
  const bool all = refreshAll_;
  refreshAll_ = false;
  return all;
}
