#include "xypK_PlotLayout.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "gdr_IdMapRenderer.h"
#include "gru_Font.h"
#include "xmd_IdMap.h"
#include "xypK_Utils.h"
#include "xypK_XYPlotEditor.h"

namespace {
constexpr float kClearance = 2.0f;  // device units kept between a legend and a curve pixel

// Curve pixels of the map within the box grown by `grow` device units.
long Covered(const xmd_IdMap& map, float x0, float y0, float x1, float y1, float grow) {
  const int c0 = std::max(0, static_cast<int>(std::floor(x0 - grow)));
  const int c1 = std::min(map.Width() - 1, static_cast<int>(std::ceil(x1 + grow)));
  const int r0 = std::max(0, static_cast<int>(std::floor(y0 - grow)));
  const int r1 = std::min(map.Height() - 1, static_cast<int>(std::ceil(y1 + grow)));
  long count = 0;
  for (int r = r0; r <= r1; ++r)
    for (int c = c0; c <= c1; ++c) count += map.At(c, r) != 0;
  return count;
}

// The legend's font at the sizes tried: its own, then smaller by steps, down to the minimum
// (a font smaller than the minimum to begin with is only tried as it is).
std::vector<cow_String> FontsToTry(const cow_String& description) {
  const gru_Font font =
      description.IsEmpty() ? gru_Font(xypK_DefaultFont()) : gru_Font(description);
  std::vector<cow_String> fonts{description};
  for (double points = font.PointSize() * xypK_PlotLayout::kShrinkStep;
       points > xypK_PlotLayout::kMinLegendPoints; points *= xypK_PlotLayout::kShrinkStep)
    fonts.push_back(font.DescriptionAt(points));
  if (font.PointSize() > xypK_PlotLayout::kMinLegendPoints)
    fonts.push_back(font.DescriptionAt(xypK_PlotLayout::kMinLegendPoints));
  return fonts;
}
}  // namespace

xypK_PlotLayout::xypK_PlotLayout(const xypK_XYPlotEditor& editor, const g3d_Camera& view,
                                 const sesC_ViewAnnCTX& settings, float width, float height)
    : width_(std::max(width, 1.0f)), height_(std::max(height, 1.0f)), legend_(settings) {
  view_ = {view.CenterX() - view.HalfWidth(), view.CenterY() - view.HalfHeight(),
           view.CenterX() + view.HalfWidth(), view.CenterY() + view.HalfHeight()};
  if (!editor.FrameBounds(frame_.x0, frame_.y0, frame_.x1, frame_.y1)) frame_ = view_;
  full_ = Fit({0.0f, 0.0f, width_, height_});
  viewToDevice_ = full_;
  if (!settings.legendUse) return;
  float w, h;
  if (!editor.LegendSize(settings.legendFontName, settings.legendExtremes, w, h)) return;
  if (settings.legendAutoPosition)
    PlaceAutomatically(editor);
  else
    PlaceForUser(w, h);
}

g3d_XForm xypK_PlotLayout::Fit(const Rect& region) const {
  const float w = std::max(view_.W(), 1e-6f), h = std::max(view_.H(), 1e-6f);
  const float roomW = std::max(region.W() - 2.0f * kEdgeMargin, 1.0f);
  const float roomH = std::max(region.H() - 2.0f * kEdgeMargin, 1.0f);
  const double scale = std::min(roomW / w, roomH / h);
  return g3d_XForm::Translation((region.x0 + region.x1) / 2.0, (region.y0 + region.y1) / 2.0) *
         g3d_XForm::Scale(scale, scale) *
         g3d_XForm::Translation(-(view_.x0 + view_.x1) / 2.0, -(view_.y0 + view_.y1) / 2.0);
}

xypK_PlotLayout::Rect xypK_PlotLayout::Device(const g3d_XForm& xf, const Rect& world) const {
  const g3d_XForm::Point a = xf.Apply(world.x0, world.y0), b = xf.Apply(world.x1, world.y1);
  return {static_cast<float>(std::min(a.x, b.x)), static_cast<float>(std::min(a.y, b.y)),
          static_cast<float>(std::max(a.x, b.x)), static_cast<float>(std::max(a.y, b.y))};
}

float xypK_PlotLayout::Share(const g3d_XForm& xf, const Rect& world) const {
  return Device(xf, world).Area() / (width_ * height_);
}

bool xypK_PlotLayout::Corner(int corner, float width, float height, Rect& box) const {
  // Clear of the tick marks, which reach 1/25 of the frame into it.
  const Rect f = Device(full_, frame_);
  const float insetX = f.W() / 25.0f + kGap / 2.0f, insetY = f.H() / 25.0f + kGap / 2.0f;
  if (width > f.W() - 2.0f * insetX || height > f.H() - 2.0f * insetY) return false;
  const bool right = corner == 0 || corner == 2, top = corner < 2;
  box.x0 = right ? f.x1 - insetX - width : f.x0 + insetX;
  box.y1 = top ? f.y1 - insetY : f.y0 + insetY + height;
  box.x1 = box.x0 + width;
  box.y0 = box.y1 - height;
  return true;
}

xypK_PlotLayout::Choice xypK_PlotLayout::Beside(float width, float height) const {
  Choice c;
  const float room = width_ - width - kGap;
  if (room < 2.0f * kEdgeMargin + 1.0f || height > height_ - 2.0f * kEdgeMargin) return c;
  const g3d_XForm fitted = Fit({0.0f, 0.0f, room, height_});
  // The plot and the legend side by side, centred together (the group fits: the plot was
  // fitted into the room left of the legend, margins included).
  const Rect content = Device(fitted, view_);
  const float group = content.W() + kGap + width;
  c.view = g3d_XForm::Translation((width_ - group) / 2.0f - content.x0, 0.0) * fitted;
  const Rect placed = Device(c.view, view_);
  c.left = placed.x1 + kGap;
  c.top = std::clamp(Device(c.view, frame_).y1, height + kEdgeMargin, height_ - kEdgeMargin);
  c.place = BESIDE;
  c.ok = true;
  return c;
}

xypK_PlotLayout::Choice xypK_PlotLayout::Below(float width, float height) const {
  Choice c;
  const float room = height_ - height - kGap;
  if (room < 2.0f * kEdgeMargin + 1.0f || width > width_ - 2.0f * kEdgeMargin) return c;
  const g3d_XForm fitted = Fit({0.0f, height + kGap, width_, height_});
  // The plot above the legend, the two centred together.
  const Rect content = Device(fitted, view_);
  const float group = content.H() + kGap + height;
  const float bottom = (height_ - group) / 2.0f;  // the legend's bottom
  c.view = g3d_XForm::Translation(0.0, bottom + height + kGap - content.y0) * fitted;
  c.top = bottom + height;
  c.left = std::clamp(Device(c.view, frame_).x0, kEdgeMargin, width_ - kEdgeMargin - width);
  c.place = BELOW;
  c.ok = true;
  return c;
}

xypK_PlotLayout::Choice xypK_PlotLayout::Better(const Choice& a, const Choice& b) const {
  if (!a.ok) return b;
  if (!b.ok) return a;
  return Share(a.view, frame_) >= Share(b.view, frame_) ? a : b;
}

void xypK_PlotLayout::Take(const g3d_XForm& view, float left, float top, const cow_String& font,
                           Place place) {
  viewToDevice_ = view;
  legend_.legendXPosition = left / width_ * 100.0f;
  legend_.legendYPosition = top / height_ * 100.0f;
  legend_.legendFontName = font;
  place_ = place;
}

void xypK_PlotLayout::PlaceAutomatically(const xypK_XYPlotEditor& editor) {
  const int w = static_cast<int>(std::lround(width_)), h = static_cast<int>(std::lround(height_));
  // Where the curves stand in the full-size view: lines at least 3 units wide, symbols as drawn.
  xmd_IdMap coverage(w, h);
  {
    gdr_IdMapRenderer renderer(coverage);
    renderer.SetTransform(full_);
    renderer.SetPickId(1);
    editor.DraftCurves(renderer);
  }
  const std::vector<cow_String> fonts = FontsToTry(legend_.legendFontName);
  // With its extremes block as set, then (when that is shown and nothing fitted) without it.
  for (const bool extremes : {legend_.legendExtremes, false}) {
    if (PlaceClear(editor, coverage, fonts, extremes)) {
      legend_.legendExtremes = extremes;
      return;
    }
    if (!extremes) break;
  }
  // Over the plot: the smallest font, no extremes block, the corner where the fewest curve
  // pixels are hidden; not at all when the legend would cover more than half of the picture.
  const cow_String& font = fonts.back();
  float bw = 0.0f, bh = 0.0f;
  if (editor.LegendSize(font, false, bw, bh) && bw * bh <= kPlotFloor * width_ * height_) {
    const Rect f = Device(full_, frame_);
    Rect best{f.x0, f.y1 - bh, f.x0 + bw, f.y1};
    long fewest = -1;
    for (int corner = 0; corner < 4; ++corner) {
      Rect box;
      if (!Corner(corner, bw, bh, box)) continue;
      const long hidden = Covered(coverage, box.x0, box.y0, box.x1, box.y1, kClearance);
      if (fewest < 0 || hidden < fewest) {
        fewest = hidden;
        best = box;
      }
    }
    legend_.legendExtremes = false;
    Take(full_, std::max(best.x0, 0.0f), std::min(best.y1, height_), font, OVER_PLOT);
    return;
  }
  legend_.legendUse = false;
  place_ = NO_LEGEND;
}

bool xypK_PlotLayout::PlaceClear(const xypK_XYPlotEditor& editor, const xmd_IdMap& coverage,
                                 const std::vector<cow_String>& fonts, bool extremes) {
  std::vector<Choice> sideways;
  for (const cow_String& font : fonts) {
    float bw = 0.0f, bh = 0.0f;
    if (!editor.LegendSize(font, extremes, bw, bh)) return false;
    for (int corner = 0; corner < 4; ++corner) {
      Rect box;
      if (Corner(corner, bw, bh, box) &&
          Covered(coverage, box.x0, box.y0, box.x1, box.y1, kClearance) == 0) {
        Take(full_, box.x0, box.y1, font, CORNER);
        return true;
      }
    }
    const Choice side = Better(Beside(bw, bh), Below(bw, bh));
    if (side.ok && Share(side.view, frame_) >= kFrameGoal) {
      Take(side.view, side.left, side.top, font, side.place);
      return true;
    }
    sideways.push_back(side);
  }
  for (std::size_t i = 0; i < fonts.size(); ++i)
    if (sideways[i].ok && Share(sideways[i].view, view_) >= kPlotFloor) {
      Take(sideways[i].view, sideways[i].left, sideways[i].top, fonts[i], sideways[i].place);
      return true;
    }
  return false;
}

void xypK_PlotLayout::PlaceForUser(float width, float height) {
  // The box as the editor places it: its top-left corner at the percentages, kept inside.
  float x = legend_.legendXPosition / 100.0f * width_,
        y = legend_.legendYPosition / 100.0f * height_;
  if (width <= width_ && x + width > width_) x = width_ - width;
  if (width > width_) x = 0.0f;
  if ((height <= height_ && y - height < 0.0f) || height > height_) y = height;
  place_ = USER_POSITION;
  const Rect box{x - kGap, y - height - kGap, x + width + kGap, y + kGap};
  const Rect content = Device(full_, view_);
  if (content.x1 <= box.x0 || content.x0 >= box.x1 || content.y1 <= box.y0 || content.y0 >= box.y1)
    return;
  // The free part of the viewport on each side of the legend; the plot takes the largest, when
  // that keeps enough of its size.
  const Rect sides[4] = {{box.x1, 0.0f, width_, height_},
                         {0.0f, 0.0f, box.x0, height_},
                         {0.0f, 0.0f, width_, box.y0},
                         {0.0f, box.y1, width_, height_}};
  double largest = kUserKeep * full_.A();
  for (const Rect& side : sides) {
    if (side.W() < 2.0f * kEdgeMargin + 1.0f || side.H() < 2.0f * kEdgeMargin + 1.0f) continue;
    const g3d_XForm fitted = Fit(side);
    if (fitted.A() >= largest) {
      largest = fitted.A();
      viewToDevice_ = fitted;
    }
  }
}
