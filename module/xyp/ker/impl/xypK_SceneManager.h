#pragma once
// Keeps the viewports that show XY plots up to date. Changes to a plot ask for a redraw of every
// viewport showing it; the requests are collected here and the display takes them when it draws.
#include <set>

#include "cow_String.h"

class xypK_SceneManager {
 public:
  // The plot of that name changed (or was deleted): viewports showing it must redraw.
  void RefreshPlot(const cow_String& plotName);
  // Everything shown must redraw.
  void Refresh();
  // The viewport is going away; its own plot is cleaned up by the display.
  void CleanupViewport(int viewport);

  // The plots asked to redraw since the last call, and whether everything was; both are cleared.
  std::set<cow_String> TakePendingPlots();
  bool TakeRefreshAll();
  bool HasPendingRefresh(const cow_String& plotName) const {
    return refreshAll_ || pendingPlots_.count(plotName) != 0;
  }

 private:
  std::set<cow_String> pendingPlots_;
  bool refreshAll_ = false;
};
