#include "smg_SceneManagerRole.h"

#include "gdr_Renderer.h"
#include "omi_Singleton.h"
#include "smg_Scene.h"
#include "smg_SceneManager.h"

smg_SceneManagerRole& smg_SceneManagerRole::Instance() {
  return omi_Singleton<smg_SceneManagerRole>::Instance();
}

void smg_SceneManagerRole::Finalize() {
  omi_SingletonBase<smg_SceneManagerRole>::Finalize();
}

bool smg_SceneManagerRole::Exists() {
  return omi_Singleton<smg_SceneManagerRole>::Exists();
}

void smg_SceneManagerRole::AddSceneManager(int displayType, smg_SceneManager* manager) {
  managers_[displayType] = manager;
}

void smg_SceneManagerRole::RemoveSceneManager(int displayType, const smg_SceneManager* manager) {
  auto it = managers_.find(displayType);
  if (it != managers_.end() && it->second == manager) managers_.erase(it);
}

smg_SceneManager* smg_SceneManagerRole::SceneManagerFor(int displayType) const {
  auto it = managers_.find(displayType);
  return it == managers_.end() ? nullptr : it->second;
}

void smg_SceneManagerRole::SetTypeToDisplay(int displayType, int viewport,
                                            const cow_String& layer) {
  displayTypes_[{viewport, layer}] = displayType;
}

int smg_SceneManagerRole::GetTypeToDisplay(int viewport, const cow_String& layer) const {
  auto it = displayTypes_.find({viewport, layer});
  return it == displayTypes_.end() ? 0 : it->second;
}

const sesC_ViewAnnCTX& smg_SceneManagerRole::ConstGetViewAnnCTX(int viewport) const {
  return annotations_.try_emplace(viewport, defaultAnnotations_).first->second;
}

sesC_ViewAnnCTX& smg_SceneManagerRole::GetViewAnnCTX(int viewport) {
  return annotations_.try_emplace(viewport, defaultAnnotations_).first->second;
}

void smg_SceneManagerRole::SetDefaultViewAnnCTX(const sesC_ViewAnnCTX& settings,
                                                const std::vector<int>& existing) {
  for (int viewport : existing) annotations_.try_emplace(viewport, defaultAnnotations_);
  defaultAnnotations_ = settings;
}

smg_Scene* smg_SceneManagerRole::ExistingScene(int viewport) const {
  smg_SceneManager* manager = SceneManagerFor(GetTypeToDisplay(viewport, cow_String()));
  return manager ? manager->FindScene(viewport) : nullptr;
}

void smg_SceneManagerRole::ViewAnnOptionsChanged(int viewport) {
  if (smg_Scene* scene = ExistingScene(viewport)) scene->ViewAnnOptionsUpdate();
}

smg_SceneManagerRole::Size smg_SceneManagerRole::ViewportSize(int viewport) const {
  auto it = sizes_.find(viewport);
  return it == sizes_.end() ? Size() : it->second;
}

void smg_SceneManagerRole::SetViewportSize(int viewport, Size size) {
  sizes_[viewport] = size;
  if (smg_Scene* scene = ExistingScene(viewport))
    scene->Resize(static_cast<float>(size.width), static_cast<float>(size.height));
}

void smg_SceneManagerRole::SetObjView(const cow_String& path, const g3d_Camera& camera,
                                      int viewport) {
  views_[{path, viewport}] = camera;
}

bool smg_SceneManagerRole::ObjHasView(const cow_String& path, int viewport) const {
  return views_.count({path, viewport}) != 0;
}

const g3d_Camera& smg_SceneManagerRole::GetObjView(const cow_String& path, int viewport) const {
  static const g3d_Camera kNoView;
  auto it = views_.find({path, viewport});
  return it == views_.end() ? kNoView : it->second;
}

void smg_SceneManagerRole::SetCurrentViewport(int viewport) {
  currentViewport_ = viewport;
  for (auto& [type, manager] : managers_) manager->NewCurrentViewport();
}

void smg_SceneManagerRole::Draw(int viewport, gdr_Renderer& renderer) {
  smg_SceneManager* manager = SceneManagerFor(GetTypeToDisplay(viewport, cow_String()));
  if (!manager) return;
  smg_Scene& scene = manager->SceneOf(viewport);
  // Drawn at the renderer's size; the scene keeps the viewport's (and what it holds for it).
  if (!scene.IsMapped())
    scene.Map();
  else
    scene.UpdateScene();
  scene.DraftCB(renderer);
  scene.SketchCB(renderer);
}
