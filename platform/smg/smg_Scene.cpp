#include "smg_Scene.h"

#include "smg_SceneManagerRole.h"

smg_Scene::smg_Scene(int viewport) : viewport_(viewport) {
  const smg_SceneManagerRole::Size size = smg_SceneManagerRole::Instance().ViewportSize(viewport);
  width_ = static_cast<float>(size.width);
  height_ = static_cast<float>(size.height);
}
