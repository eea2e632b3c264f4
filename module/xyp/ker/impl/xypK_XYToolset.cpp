#include "xypK_XYToolset.h"

#include <exception>
#include <vector>

#include "ddr_Root.h"
#include "omi_Singleton.h"
#include "prbK_ProbeToolset.h"
#include "qryK_QueryRegistrarRole.h"
#include "sesK_SessionState.h"
#include "smg_SceneManagerRole.h"
#include "thr_ThreadSingleton.h"
#include "xypK_LayerFragment.h"
#include "xypK_MessageTypes.h"
#include "xypK_OdbFragment.h"
#include "xypK_ProbeToolsetClient.h"
#include "xypK_PytModule.h"
#include "xypK_SceneManager.h"
#include "xypK_SessionFragment.h"
#include "xypK_XYToolsetClient.h"

xypK_XYToolset& xypK_XYToolset::Instance() {
  return omi_Singleton<xypK_XYToolset>::Instance();
}
void xypK_XYToolset::Finalize() {
  omi_SingletonBase<xypK_XYToolset>::Finalize();
}
bool xypK_XYToolset::Exists() {
  return omi_Singleton<xypK_XYToolset>::Exists();
}

xypK_XYToolset::xypK_XYToolset()
    : layerFragment_(std::make_unique<xypK_LayerFragment>()),
      sessionFragment_(std::make_unique<xypK_SessionFragment>()),
      odbFragment_(std::make_unique<xypK_OdbFragment>()),
      sceneManager_(std::make_unique<xypK_SceneManager>()),
      module_(std::make_unique<xypK_PytModule>()),
      probeClient_(std::make_unique<xypK_ProbeToolsetClient>()) {
  smg_SceneManagerRole::Instance().AddSceneManager(omu_DISPLAY_XYPLOT, sceneManager_.get());
  prbK_ProbeToolset::Instance().AddClient(probeClient_.get());
  // What was read from a results file goes when the file is closed.
  closeListener_ = thr_ThreadSingleton<ddr_Root>::Instance().AddCloseListener(
      [this](const cow_String& path) { CleanupFromFile(path); });
}

xypK_XYToolset::~xypK_XYToolset() {
  thr_ThreadSingleton<ddr_Root>::Instance().RemoveCloseListener(closeListener_);
  RemoveAllClients();
  if (prbK_ProbeToolset::Exists()) prbK_ProbeToolset::Instance().RemoveClient(probeClient_.get());
  if (smg_SceneManagerRole::Exists())
    smg_SceneManagerRole::Instance().RemoveSceneManager(omu_DISPLAY_XYPLOT, sceneManager_.get());
  sceneManager_.reset();
  layerFragment_.reset();
  sessionFragment_.reset();
  odbFragment_.reset();
  module_.reset();
}

void xypK_XYToolset::AddClient(xypK_XYToolsetClient* client) {
  if (client) clients_.AppendUnlessMember(client);
}

void xypK_XYToolset::RemoveClient(xypK_XYToolsetClient* client) {
  clients_.Remove(client);
}

void xypK_XYToolset::RemoveAllClients() {
  while (!clients_.IsEmpty()) {
    std::unique_ptr<xypK_XYToolsetClient> doomed(clients_.First());
    clients_.RemoveAt(0);
  }
}

void xypK_XYToolset::ActivateXYPlot(int viewport) {
  const cow_List<xypK_XYToolsetClient*> snapshot = clients_;
  for (xypK_XYToolsetClient* client : snapshot)
    if (clients_.IsMember(client)) client->ActivateXYPlot(viewport);
}

void xypK_XYToolset::CleanupFromFile(const cow_String& fileName) {
  // A closed file may be rewritten before it opens again: its lists go with it.
  historyFiles_.Remove(fileName);
  const cow_List<xypK_XYToolsetClient*> snapshot = clients_;
  for (xypK_XYToolsetClient* client : snapshot)
    if (clients_.IsMember(client)) client->CleanupFromFile(fileName);
}

xypK_XYPlot& xypK_XYToolset::GetExistingXYPlot(const cow_String& name) {
  if (!plots_.IsMember(name)) xypK_MessageTypes::ErrorNotFoundXYPlot(name);
  return plots_.Get(name);
}

xypK_Curve& xypK_XYToolset::GetExistingCurve(const cow_String& plotName,
                                             const cow_String& curveName) {
  xypK_XYPlot& plot = GetExistingXYPlot(plotName);
  if (!plot.curves.IsMember(curveName)) xypK_MessageTypes::ErrorNotFoundCurve(curveName);
  return plot.curves.Get(curveName);
}

void xypK_XYToolset::RecalculateOrUndo(const cow_String& plotName,
                                       const std::function<void()>& undo, const cow_String& query) {
  try {
    GetExistingXYPlot(plotName).Recalculate();
  } catch (...) {
    std::exception_ptr first = std::current_exception();
    undo();
    try {
      GetExistingXYPlot(plotName).Recalculate();
    } catch (...) {
    }
    qryK_QueryRegistrarRole::Instance().FireQuery(query);
    std::rethrow_exception(first);
  }
}

bool xypK_XYToolset::DeleteXYPlot(const cow_String& name) {
  if (!plots_.Remove(name)) return false;
  sceneManager_->RefreshPlot(name);
  return true;
}

bool xypK_XYToolset::CopyXYPlot(cow_String from, cow_String to) {
  const xypK_XYPlot* source = plots_.Find(from);
  if (!source) return false;
  const xypK_XYPlot copy = *source;  // `source` dies if `to` replaces it
  plots_.Insert(to, copy);
  return true;
}

void xypK_XYToolset::CleanupViewport(int viewport) {
  sceneManager_->CleanupViewport(viewport);
}

template <class Change>
void xypK_XYToolset::ChangeCurves(const cow_String& dataName, const cow_String& otherName,
                                  Change change) {
  // The affected (plot, curve) names are listed first and changed afterwards, so the walk never
  // sees its own changes; nothing is copied while the list is made.
  struct Affected {
    cow_String plot;
    cow_String curve;
  };
  std::vector<Affected> affected;
  for (const auto& [plotName, plot] : plots_)
    for (const auto& [curveName, curve] : plot.curves)
      if (!curve.xyDataName.IsEmpty() &&
          (curve.xyDataName == dataName || curve.xyDataName == otherName))
        affected.push_back({plotName, curveName});

  std::size_t i = 0;
  while (i < affected.size()) {
    const cow_String plotName = affected[i].plot;
    bool changed = false;
    for (; i < affected.size() && affected[i].plot == plotName; ++i) {
      xypK_XYPlot* plot = plots_.IsMember(plotName) ? &plots_.Get(plotName) : nullptr;
      if (plot && plot->curves.IsMember(affected[i].curve) && change(*plot, affected[i].curve))
        changed = true;
    }
    if (changed) sceneManager_->RefreshPlot(plotName);
  }
}

void xypK_XYToolset::DeleteXYData(const cow_String& name) {
  ChangeCurves(name, name, [&](xypK_XYPlot& plot, const cow_String& curveName) {
    return plot.RemoveCurve(curveName);
  });
}

void xypK_XYToolset::RenameXYData(const cow_String& oldName, const cow_String& newName) {
  ChangeCurves(oldName, newName, [&](xypK_XYPlot& plot, const cow_String& curveName) {
    // A curve of the new name showed data that the renamed entry now replaces.
    if (plot.curves.ConstGet(curveName).xyDataName == newName) return plot.RemoveCurve(curveName);
    xypK_Curve& curve = plot.curves.Get(curveName);
    curve.xyDataName = newName;
    if (curve.ConstGetCurveXYData().TypeCode() != 0) {
      if (curve.options.systemDefinedLegendText == oldName)
        curve.options.systemDefinedLegendText = newName;
      if (curve.options.legendText == oldName) curve.options.legendText = newName;
    }
    return plot.IsInCurvesToPlot(curveName);
  });
}

void xypK_XYToolset::UpdateXYData(const cow_String& name) {
  ChangeCurves(name, name, [&](xypK_XYPlot& plot, const cow_String& curveName) {
    plot.curves.Get(curveName).CalculateMinMax();
    return plot.IsInCurvesToPlot(curveName);
  });
}
