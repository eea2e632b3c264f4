#pragma once
// What one viewport shows: a module's scene draws into the viewport's renderer when the
// viewport is drawn or saved. The size is the viewport's in device units, from the start
// (smg_SceneManagerRole::ViewportSize); a saved image is drawn at its own size.
class gdr_Renderer;

class smg_Scene {
 public:
  explicit smg_Scene(int viewport);
  virtual ~smg_Scene() = default;
  smg_Scene(const smg_Scene&) = delete;
  smg_Scene& operator=(const smg_Scene&) = delete;

  int Viewport() const { return viewport_; }
  float Width() const { return width_; }
  float Height() const { return height_; }
  bool IsMapped() const { return mapped_; }

  // The viewport appeared; from now on it is drawn.
  virtual void Map() { mapped_ = true; }
  virtual void Unmap() { mapped_ = false; }
  virtual void Resize(float width, float height) {
    width_ = width;
    height_ = height;
  }
  // What the scene shows changed: bring it up to date.
  virtual void Refresh() {}
  // Before the viewport is drawn: lay out what is shown (a failure reaches the caller).
  virtual void UpdateScene() {}
  // The viewport's annotation settings changed: draw with the new ones.
  virtual void ViewAnnOptionsUpdate() {}
  // Drawing steps: the picture, then what is sketched over it (highlights).
  virtual void DraftCB(gdr_Renderer&) {}
  virtual void SketchCB(gdr_Renderer&) {}

  // Requests for a redraw. Viewports are drawn when saved, so a request only counts them.
  void Draft() { ++redrawRequests_; }
  void Sketch() { ++redrawRequests_; }
  int RedrawRequests() const { return redrawRequests_; }

 private:
  int viewport_;
  float width_ = 0.0f;
  float height_ = 0.0f;
  bool mapped_ = false;
  int redrawRequests_ = 0;
};
