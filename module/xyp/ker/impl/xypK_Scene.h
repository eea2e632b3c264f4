#pragma once
// What one viewport shows of the XY-plot module: one plot of the toolset (by name), the editor
// that draws it, the view that frames it, and the points highlighted on its curves.
#include <memory>
#include <vector>

#include "cow_1DArray.h"
#include "cow_String.h"
#include "g3d_Camera.h"
#include "g3d_Point.h"
#include "smg_Scene.h"

class xypK_PlotLayout;
class xypK_XYPlotEditor;
class xypK_XYPlotIntObj;

// The highlighted points of one curve: pair indices, and one point given by its coordinates.
class CurveHighlightInfo {
 public:
  static constexpr float kNotSet = 1.17549435e-38f;  // the smallest normal float
  explicit CurveHighlightInfo(const cow_String& curve) : curve_(curve) {}
  const cow_String& CurveName() const { return curve_; }
  int Count() const { return count_; }
  int Index(int i) const { return indices_[static_cast<std::size_t>(i)]; }
  // Negative indices name no pair and are skipped; the list grows as needed.
  void Add(int index);
  void SetPoint(float x, float y) {
    x_ = x;
    y_ = y;
  }
  float X() const { return x_; }
  float Y() const { return y_; }

 private:
  cow_String curve_;
  int count_ = 0;
  cow_1DArray<int> indices_;
  float x_ = kNotSet;
  float y_ = kNotSet;
};

class xypK_Scene : public smg_Scene {
 public:
  explicit xypK_Scene(int viewport);
  // A new viewport's scene from the scene of the viewport it was made from: when that shows a
  // plot, the new one shows a copy of it named for the new viewport.
  xypK_Scene(int viewport, const xypK_Scene& source);
  ~xypK_Scene() override;

  const cow_String& PlotName() const { return plotName_; }
  const xypK_XYPlotEditor* Editor() const { return editor_.get(); }
  const g3d_Camera& Camera() const { return camera_; }
  bool IsFillingIdBuffer() const { return fillingIdBuffer_; }
  int UpdateCount() const { return updateCount_; }

  // Shows the plot the handle names (a handle with an empty name: nothing).
  void SetXYPlotObject(const xypK_XYPlotIntObj* plot);
  // Frames the plot area with its labels and titles.
  void ResetCamera();
  void SetCamera(const g3d_Camera& camera);
  // World to device for a viewport of the size: the camera's view fitted into it, beside the
  // legend or with the legend over an empty corner (see xypK_PlotLayout).
  g3d_XForm ViewToDevice(float width, float height) const;
  // The layout for a viewport of the size, kept until the plot, view, settings or size change.
  const xypK_PlotLayout& Layout(float width, float height) const;
  // Recalculates the plot shown: valid on success; marked invalid before a failure is passed on.
  void UpdateScene() override;

  void Map() override;
  void Resize(float width, float height) override;
  void Refresh() override;
  void ViewAnnOptionsUpdate() override;
  void DraftCB(gdr_Renderer& renderer) override;
  void SketchCB(gdr_Renderer& renderer) override;

  // Probing: while enabled, every update redraws the curves into an id map of the viewport's
  // size (FillIdBuffer), which Probe reads at a viewport point (device units, y up) with a
  // tolerance of one unit: the id of the curve segment there, 0 for none. Disabling clears the
  // highlights and frees the map.
  void EnableProbe() { probeEnabled_ = true; }
  bool IsProbeEnabled() const { return probeEnabled_; }
  void FillIdBuffer();
  int Probe(const g3d_Point& point) const;
  int ProbeMapId() const { return probeMapId_; }
  void ReleaseMapId();
  void DisableProbe();

  void Highlight(const cow_String& curve, int point, bool add);
  void Highlight(const cow_String& curve, float x, float y, bool add);
  // Only while this scene's viewport is the current one.
  void ClearHighlights();
  const std::vector<std::unique_ptr<CurveHighlightInfo>>& Highlights() const { return highlights_; }

 private:
  CurveHighlightInfo& HighlightInfo(const cow_String& curve, bool add);
  void FitView();
  void PassLegendOptions();

  cow_String plotName_;
  std::unique_ptr<xypK_XYPlotEditor> editor_;
  g3d_Camera camera_;
  float centerX_ = 0.25f;
  float centerY_ = 0.5f;
  float radius_ = 1.0f;
  // A view given by SetCamera (a zoom, a view restored for its plot) stays until the plot's
  // extent changes; otherwise every update frames the plot anew.
  bool viewRestored_ = false;
  int revision_ = 0;  // bumped by whatever changes the layout
  mutable std::unique_ptr<xypK_PlotLayout> layout_;
  mutable int layoutRevision_ = -1;
  mutable float layoutWidth_ = 0.0f, layoutHeight_ = 0.0f;
  bool viewDynamics_ = false;
  bool extentGrown_ = true;
  bool keepView_ = true;
  bool fitPending_ = true;
  std::vector<std::unique_ptr<CurveHighlightInfo>> highlights_;
  bool probeEnabled_ = false;
  int probeMapId_ = 0;
  bool fillingIdBuffer_ = false;
  int updateCount_ = 0;
};
