#pragma once
// The keeper of the model scenes, one per viewport that shows a results model (display kind 4),
// registered with smg_SceneManagerRole while the graphics library is up. It owns the layer
// fragment that reads "displayedObject" (an Odb), "step", "frame" and "fieldVariable" and adds
// "modelPosition", and it hears databases close: a viewport whose database closes leaves its mode
// and shows nothing.
#include <map>
#include <memory>

#include "gdy_ModelScene.h"
#include "smg_SceneManager.h"

class gdy_ModelSceneManager : public smg_SceneManager {
 public:
  // Brought up and taken down with the graphics library; null while it is down.
  static gdy_ModelSceneManager* Instance();
  static void Create();
  static void Destroy();

  smg_Scene& SceneOf(int viewport) override;
  smg_Scene* FindScene(int viewport) override;
  void FreeScene(int viewport) override;

  gdy_ModelScene& Scene(int viewport);
  // The scene of the current viewport when that viewport shows a model; null otherwise.
  gdy_ModelScene* CurrentScene();

  gdy_ModelSceneManager();
  ~gdy_ModelSceneManager() override;

 private:
  // A database is closing (its real path): the viewports showing it leave their mode and show
  // nothing, and their scenes forget it.
  void DatabaseClosing(const cow_String& path);

  std::map<int, std::unique_ptr<gdy_ModelScene>> scenes_;
  int closeListener_ = 0;
  std::unique_ptr<class gdy_ModelLayerFragment> fragment_;
};
