#pragma once
// The probe client of XY plots (display type 5): what the current viewport's XY scene shows,
// the curve segment under a point (the scene's id map) and the four cells of a probed point:
// the curve's legend, the sequence (the nearest pair's 1-based number, or "(i, i + 1)" for a
// point interpolated between pairs i and i + 1), and x and y.
//
// Points arrive in viewport pixels (x right, y up). They are mapped to data through the scene's
// own view at the viewport's size and the plot's axis ranges, so the mapping is always that of
// what the viewport shows.
#include "prbK_ProbeToolsetClient.h"

class xypK_Scene;

class xypK_ProbeToolsetClient : public prbK_ProbeToolsetClient {
 public:
  xypK_ProbeToolsetClient();

  bool DisplayOn() override;
  void ReleaseMapId() override;
  void Refresh() override;
  void UpdateScene() override;
  void DisableProbe() override;
  void EnableProbe() override;
  int Probe(const g3d_Point& point) override;
  void ClearHighlights() override;
  bool PrepareXyValue(cow_1DArray<cow_String>& values, int id, const g3d_Point& point,
                      bool interpolate) override;
  void ObjectName(cow_String& name) override;

  // A scene that goes away is no longer the one highlighted in.
  void ForgetScene(const xypK_Scene* scene);

  // The plot area's corners in viewport pixels, and the pixel-to-axis mapping, as of the last
  // probed point (axis units: log10 on a logarithmic axis).
  struct Range {
    double xMin = 0.0, yMin = 0.0, xMax = 1.0, yMax = 1.0;
    double xScale = 1.0, xOffset = 0.0, yScale = 1.0, yOffset = 0.0;
  };
  const Range& CurrentRange() const { return range_; }

 private:
  // The current viewport's XY scene, null when it has none.
  static xypK_Scene* CurrentScene();
  // The mapping for the scene's plot; false when the plot cannot be laid out.
  bool ComputeRange(const xypK_Scene& scene);

  xypK_Scene* highlighted_ = nullptr;
  Range range_;
};
