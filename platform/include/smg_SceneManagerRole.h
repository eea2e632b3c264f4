#pragma once
// The application's side of scene management: which module's scene manager serves which kind of
// displayed object, what each viewport displays, its size and annotation settings, the views
// saved per object, and the current viewport. Drawing a viewport goes through here.
#include <map>
#include <utility>
#include <vector>

#include "cow_String.h"
#include "g3d_Camera.h"
#include "sesC_ViewAnnCTX.h"

class gdr_Renderer;
class smg_Scene;
class smg_SceneManager;

class smg_SceneManagerRole {
 public:
  static smg_SceneManagerRole& Instance();
  static void Finalize();
  static bool Exists();

  void AddSceneManager(int displayType, smg_SceneManager* manager);
  // Only while `manager` is the one registered for that type.
  void RemoveSceneManager(int displayType, const smg_SceneManager* manager);
  smg_SceneManager* SceneManagerFor(int displayType) const;

  void SetTypeToDisplay(int displayType, int viewport, const cow_String& layer);
  int GetTypeToDisplay(int viewport, const cow_String& layer) const;

  // A viewport's annotation settings; a viewport that has none yet starts from the defaults.
  const sesC_ViewAnnCTX& ConstGetViewAnnCTX(int viewport) const;
  sesC_ViewAnnCTX& GetViewAnnCTX(int viewport);
  // The defaults new viewports start from. Changing them changes no existing viewport: each of
  // `existing` takes its own copy of the old defaults first.
  const sesC_ViewAnnCTX& DefaultViewAnnCTX() const { return defaultAnnotations_; }
  void SetDefaultViewAnnCTX(const sesC_ViewAnnCTX& settings, const std::vector<int>& existing);
  // The viewport's settings changed: its scene, if it has one, draws with them from now on.
  void ViewAnnOptionsChanged(int viewport);

  // The size a viewport has on the screen, device units: 800 x 600 until set. Its scene, if it
  // has one, is resized with it.
  struct Size {
    int width = 800, height = 600;
  };
  Size ViewportSize(int viewport) const;
  // The cursor shape a mode shows in the viewports (-1: the default one).
  void SetCursor(int kind) { cursor_ = kind; }
  int Cursor() const { return cursor_; }
  void SetViewportSize(int viewport, Size size);

  // Views remembered per object path and viewport, so that showing an object again restores
  // how it was framed.
  void SetObjView(const cow_String& path, const g3d_Camera& camera, int viewport);
  bool ObjHasView(const cow_String& path, int viewport) const;
  const g3d_Camera& GetObjView(const cow_String& path, int viewport) const;

  int CurrentViewport() const { return currentViewport_; }
  void SetCurrentViewport(int viewport);

  // Draws what the viewport displays into the renderer, sized width x height (device units):
  // the scene of the manager of the viewport's display type; nothing for a viewport that
  // displays nothing.
  void Draw(int viewport, gdr_Renderer& renderer);

 private:
  // The scene of the kind the viewport shows, when it has one (none is made).
  smg_Scene* ExistingScene(int viewport) const;
  std::map<int, smg_SceneManager*> managers_;
  std::map<std::pair<int, cow_String>, int> displayTypes_;
  mutable std::map<int, sesC_ViewAnnCTX> annotations_;
  sesC_ViewAnnCTX defaultAnnotations_;
  std::map<int, Size> sizes_;
  int cursor_ = -1;
  std::map<std::pair<cow_String, int>, g3d_Camera> views_;
  int currentViewport_ = 1;
};
