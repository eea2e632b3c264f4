#pragma once
// A module's keeper of scenes, one per viewport that shows that module's kind of object.
class smg_Scene;

class smg_SceneManager {
 public:
  virtual ~smg_SceneManager() = default;
  // The viewport's scene, made when there is none.
  virtual smg_Scene& SceneOf(int viewport) = 0;
  // The viewport's scene when it has one, else null (nothing is made).
  virtual smg_Scene* FindScene(int viewport) = 0;
  virtual void FreeScene(int viewport) = 0;
  // The application's current viewport changed.
  virtual void NewCurrentViewport() {}
};
