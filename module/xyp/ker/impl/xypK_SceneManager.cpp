#include "xypK_SceneManager.h"

void xypK_SceneManager::RefreshPlot(const cow_String& plotName) {
  pendingPlots_.insert(plotName);
}

void xypK_SceneManager::Refresh() {
  refreshAll_ = true;
}

void xypK_SceneManager::CleanupViewport(int) {}

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
