#include "gdy_ModelSceneManager.h"

#include <vector>

#include "ddr_Root.h"
#include "gdy_ModelLayerFragment.h"
#include "modC_ModeManager.h"
#include "omi_Singleton.h"
#include "sesK_SessionState.h"
#include "smg_SceneManagerRole.h"
#include "thr_ThreadSingleton.h"

namespace {
std::unique_ptr<gdy_ModelSceneManager>& Owner() {
  static std::unique_ptr<gdy_ModelSceneManager> manager;
  return manager;
}
}  // namespace

gdy_ModelSceneManager* gdy_ModelSceneManager::Instance() {
  return Owner().get();
}

void gdy_ModelSceneManager::Create() {
  if (!Owner()) Owner() = std::make_unique<gdy_ModelSceneManager>();
}

void gdy_ModelSceneManager::Destroy() {
  Owner().reset();
}

gdy_ModelSceneManager::gdy_ModelSceneManager()
    : fragment_(std::make_unique<gdy_ModelLayerFragment>()) {
  smg_SceneManagerRole::Instance().AddSceneManager(omu_DISPLAY_ODB, this);
  closeListener_ = thr_ThreadSingleton<ddr_Root>::Instance().AddCloseListener(
      [this](const cow_String& path) { DatabaseClosing(path); });
}

gdy_ModelSceneManager::~gdy_ModelSceneManager() {
  if (omi_Singleton<ddr_Root>::Exists())
    thr_ThreadSingleton<ddr_Root>::Instance().RemoveCloseListener(closeListener_);
  if (smg_SceneManagerRole::Exists())
    smg_SceneManagerRole::Instance().RemoveSceneManager(omu_DISPLAY_ODB, this);
  scenes_.clear();
  fragment_.reset();
}

gdy_ModelScene& gdy_ModelSceneManager::Scene(int viewport) {
  std::unique_ptr<gdy_ModelScene>& scene = scenes_[viewport];
  if (!scene) scene = std::make_unique<gdy_ModelScene>(viewport);
  return *scene;
}

smg_Scene& gdy_ModelSceneManager::SceneOf(int viewport) {
  return Scene(viewport);
}

smg_Scene* gdy_ModelSceneManager::FindScene(int viewport) {
  auto it = scenes_.find(viewport);
  return it == scenes_.end() ? nullptr : it->second.get();
}

void gdy_ModelSceneManager::FreeScene(int viewport) {
  scenes_.erase(viewport);
}

gdy_ModelScene* gdy_ModelSceneManager::CurrentScene() {
  if (!smg_SceneManagerRole::Exists()) return nullptr;
  const smg_SceneManagerRole& role = smg_SceneManagerRole::Instance();
  const int viewport = role.CurrentViewport();
  if (role.GetTypeToDisplay(viewport, cow_String()) != omu_DISPLAY_ODB) return nullptr;
  auto it = scenes_.find(viewport);
  return it == scenes_.end() || !it->second->Odb() ? nullptr : it->second.get();
}

void gdy_ModelSceneManager::DatabaseClosing(const cow_String& path) {
  // The viewports first: leaving a mode may reach back into the scenes.
  std::vector<int> viewports;
  for (const auto& [viewport, scene] : scenes_)
    if (scene->OdbPath() == path) viewports.push_back(viewport);
  for (const int viewport : viewports) {
    smg_SceneManagerRole& role = smg_SceneManagerRole::Instance();
    if (role.GetTypeToDisplay(viewport, cow_String()) == omu_DISPLAY_ODB) {
      // The mode ends while the database it works on is still open.
      if (modC_ModeManager::Exists()) modC_ModeManager::Instance().LeaveViewport(viewport);
      sesK_SessionState& state = sesK_SessionState::Instance();
      state.SetType(viewport, omu_DISPLAY_NONE);
      state.SetPrimaryObjectPath(viewport, cow_String());
      role.SetTypeToDisplay(omu_DISPLAY_NONE, viewport, cow_String());
    }
    auto it = scenes_.find(viewport);
    if (it != scenes_.end()) it->second->ShowNothing();
  }
}
