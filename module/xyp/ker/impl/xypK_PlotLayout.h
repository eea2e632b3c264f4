#pragma once
// Where a plot and its legend stand in a viewport. The view (the plot's frame, labels and
// titles, in world units) is fitted into the viewport with a small edge margin, so nothing is
// cut; the legend, in device units, goes where it hides no data:
//
// 1. inside the frame over a corner no curve passes through (clear of the tick marks), the
//    plot at full size;
// 2. else beside or below the plot, while the frame keeps kFrameGoal of the image;
// then the same with the legend's font shrunk step by step down to kMinLegendPoints;
// 3. else beside or below at the largest size that leaves the plot (frame, labels and titles)
//    at least kPlotFloor of the image;
// then steps 1 to 3 once more without the extremes block (when it was shown);
// 4. else over the plot at the smallest size without the extremes block, in the corner where it
//    hides the fewest curve pixels, and not at all when it would cover more than kPlotFloor of
//    the image.
//
// A position the user gave holds: the legend stands there, and the plot moves into the largest
// free side of the viewport beside it when that keeps at least kUserKeep of its full size.
#include <vector>

#include "cow_String.h"
#include "g3d_Camera.h"
#include "g3d_XForm.h"
#include "sesC_ViewAnnCTX.h"

class xmd_IdMap;
class xypK_XYPlotEditor;

class xypK_PlotLayout {
 public:
  static constexpr float kEdgeMargin = 4.0f;  // device units kept free at the image's edges
  static constexpr float kGap = 8.0f;         // between the legend and what it stands beside
  static constexpr double kMinLegendPoints = 7.0;
  static constexpr double kShrinkStep = 0.85;
  static constexpr float kFrameGoal = 0.55f;
  static constexpr float kPlotFloor = 0.5f;
  static constexpr float kUserKeep = 0.6f;

  enum Place { NO_LEGEND, CORNER, BESIDE, BELOW, OVER_PLOT, USER_POSITION };

  xypK_PlotLayout(const xypK_XYPlotEditor& editor, const g3d_Camera& view,
                  const sesC_ViewAnnCTX& settings, float width, float height);

  const g3d_XForm& ViewToDevice() const { return viewToDevice_; }
  // The settings as the editor is to draw them: the legend's place (percent of the viewport),
  // font and extremes as chosen.
  const sesC_ViewAnnCTX& Legend() const { return legend_; }
  Place LegendPlace() const { return place_; }

 private:
  struct Rect {
    float x0 = 0.0f, y0 = 0.0f, x1 = 0.0f, y1 = 0.0f;
    float W() const { return x1 - x0; }
    float H() const { return y1 - y0; }
    float Area() const { return W() > 0.0f && H() > 0.0f ? W() * H() : 0.0f; }
  };
  struct Choice {
    g3d_XForm view;
    float left = 0.0f, top = 0.0f;  // the legend box's top-left corner, device units
    Place place = NO_LEGEND;
    bool ok = false;
  };

  // The view rectangle fitted into the region (minus the edge margin), centred.
  g3d_XForm Fit(const Rect& region) const;
  Rect Device(const g3d_XForm& xf, const Rect& world) const;
  float Share(const g3d_XForm& xf, const Rect& world) const;
  // The legend box (width x height) in one of the frame's corners (0 top-right, 1 top-left,
  // 2 bottom-right, 3 bottom-left) under the full-size view; false when it does not fit.
  bool Corner(int corner, float width, float height, Rect& box) const;
  Choice Beside(float width, float height) const;
  Choice Below(float width, float height) const;
  Choice Better(const Choice& a, const Choice& b) const;
  void PlaceAutomatically(const xypK_XYPlotEditor& editor);
  // Steps 1 to 3 for the legend with or without its extremes block; false when none worked.
  bool PlaceClear(const xypK_XYPlotEditor& editor, const xmd_IdMap& coverage,
                  const std::vector<cow_String>& fonts, bool extremes);
  void PlaceForUser(float width, float height);
  void Take(const g3d_XForm& view, float left, float top, const cow_String& font, Place place);

  Rect view_;   // world units: what is fitted
  Rect frame_;  // world units: the axis rectangle
  float width_, height_;
  g3d_XForm full_;  // the view fitted into the whole viewport
  g3d_XForm viewToDevice_;
  sesC_ViewAnnCTX legend_;
  Place place_ = NO_LEGEND;
};
