#pragma once
// The scenes of the viewports that show XY plots, one per viewport, made on first use. Changes
// to a plot update every scene that shows it; the names of the plots asked to redraw are also
// kept until taken, for whoever redraws on its own schedule.
#include <map>
#include <memory>
#include <set>

#include "cow_String.h"
#include "smg_SceneManager.h"

class xypK_Scene;

class xypK_SceneManager : public smg_SceneManager {
 public:
  xypK_SceneManager();
  ~xypK_SceneManager() override;

  // The viewport's scene, made when there is none: a copy of the current viewport's scene
  // when that shows a plot, else an empty one.
  xypK_Scene& Scene(int viewport);
  smg_Scene& SceneOf(int viewport) override;
  smg_Scene* FindScene(int viewport) override;
  bool IsAllocated(int viewport) const { return scenes_.count(viewport) != 0; }
  // Deletes the scene, and the plot the viewport owned (never a user's plot).
  void FreeScene(int viewport) override;
  void NewCurrentViewport() override;

  // The plot of that name changed (or was deleted): the scenes showing it recalculate it. A
  // plot that can no longer be laid out is marked invalid (not drawn) until it can.
  void RefreshPlot(const cow_String& plotName);
  void Refresh();
  // Removes from the viewport's plot the curves of private data read from history output.
  void CleanupViewport(int viewport);

  // The plots asked to redraw since the last call, and whether everything was; both are cleared.
  std::set<cow_String> TakePendingPlots();
  bool TakeRefreshAll();
  bool HasPendingRefresh(const cow_String& plotName) const {
    return refreshAll_ || pendingPlots_.count(plotName) != 0;
  }

 private:
  std::map<int, std::unique_ptr<xypK_Scene>> scenes_;
  int currentViewport_ = 1;
  int previousViewport_ = 1;
  bool allocating_ = false;
  std::set<cow_String> pendingPlots_;
  bool refreshAll_ = false;
};
