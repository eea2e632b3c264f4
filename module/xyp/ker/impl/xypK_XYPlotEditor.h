#pragma once
// Draws one XY plot into its scene: the data transform onto the plot area, the frame, tick
// marks, grid lines, tick labels with their power-of-ten marker, the curves with their lines
// and symbols, the axis titles and the legend. Geometry is given in data coordinates through the
// data transform; texts are placed in world coordinates (the unit plot area).
#include "cow_String.h"
#include "g3d_Enumerations.h"
#include "g3d_Sphere.h"
#include "g3d_XForm.h"
#include "gdr_Color.h"
#include "sesC_ViewAnnCTX.h"

class gdr_Renderer;
class xypC_CurveOptions;
class xypC_XYPlotOptions;
class xypK_Scene;
class xypK_XYPlot;

// Where a text stands relative to its anchor.
enum xypC_AlignEnum : int {
  xypC_ALIGN_PLAIN = 0,
  xypC_ALIGN_X_TITLE = 1,
  xypC_ALIGN_Y_TITLE = 2,
  xypC_ALIGN_X_LABEL = 3,
  xypC_ALIGN_Y_LABEL = 4
};

class xypK_XYPlotEditor {
 public:
  static constexpr float minTextSize = 0.01f;
  static constexpr float scaleRate = 0.01f;
  static constexpr float xOffsetRate = 0.028f;
  static constexpr float yOffsetRate = 0.04f;

  xypK_XYPlotEditor(const cow_String& plotName, const xypK_Scene* scene);

  const cow_String& PlotName() const { return plotName_; }
  void SetLegendOptions(bool use, bool boxUse, int digits, float x, float y, cow_String font,
                        cow_String textColour, sesC_BackgroundStyleEnm style,
                        cow_String backgroundColour, bool flag);
  void SetLegendOptions(const sesC_ViewAnnCTX& settings);

  // Loaded, the editor draws; the extent is the plot's (the unit sphere when it is gone).
  void Load(g3d_Sphere* extent);
  void Unload() { loaded_ = false; }
  bool IsLoaded() const { return loaded_; }

  // Draws the plot, when loaded and while the plot exists, with the renderer's transform as the
  // world-to-device mapping (restored afterwards).
  void Draft(gdr_Renderer& renderer) const;
  // Draws the points the scene highlights, in red, at the smallest marker size.
  void HighlightPoint(gdr_Renderer& renderer) const;
  // The legend box's size (device units) drawn in `font`, with or without the extremes block;
  // false when the plot shows no curve (no legend).
  bool LegendSize(const cow_String& font, bool extremes, float& width, float& height) const;
  // World units: the plot area (the axis rectangle) and the box of everything drawn around it
  // (frame, ticks, labels with their marker, titles), legend and curves left out (the curves
  // stay inside the frame). False, the values left as they are, when the plot is gone or
  // cannot be laid out.
  bool FrameBounds(float& x0, float& y0, float& x1, float& y1) const;
  bool ContentBounds(float& x0, float& y0, float& x1, float& y1) const;
  // Only the curves, as Draft draws them (for whoever needs to know where they stand).
  void DraftCurves(gdr_Renderer& renderer) const;

  // The power-of-ten exponent of the tick labels of an axis range for a label format.
  static int LabelExponent(float axisMin, float axisMax, int format);
  // The label text of a value: "%.<decimals>f" with decimals clamped to 0 ... 15.
  static cow_String LabelText(float value, int decimals);
  // Negative decimal places of an axis mean "automatic": the fewest (0 to kMaxAutoDecimals)
  // that print each of the count + 1 tick values first + i x increment (in label units) as it
  // lies, to a thousandth of the increment.
  static constexpr int kMaxAutoDecimals = 6;
  static int AutomaticDecimals(double first, double increment, int count);
  // A legend row's line sample: 10 device units, or three periods of the longest dash pattern
  // of the rows shown, when longer.
  static constexpr float kMinSampleLength = 10.0f;
  // The crossing of the segment (x1, y1)-(x2, y2) with the line x = frame (alongX false: y =
  // frame), as the other coordinate; the largest float when the frame value is not strictly
  // between the segment's ends.
  static float LinearSnap(float x1, float y1, float x2, float y2, float frame, bool alongX);

  // The tick labels of an axis push these out; the axis title after them moves past them.
  static float xBound;
  static float yBound;

 private:
  struct Frame;  // the plot, its options and the transforms of one drawing
  void UseDataScaling(gdr_Renderer& renderer, Frame& f) const;
  void DrawAxes(gdr_Renderer& renderer, const Frame& f) const;
  void DrawTickMarksAndGrids(gdr_Renderer& renderer, const Frame& f, bool alongX) const;
  void DrawAxisLabels(gdr_Renderer& renderer, Frame& f, bool alongX) const;
  int AdjustedFreq(const Frame& f, bool alongX, float scale, int decimals) const;
  // The decimal places of an axis's labels: the option, or automatic ones when it is negative.
  int LabelDecimals(const Frame& f, bool alongX, float scale) const;
  // The frame, tick marks, grids and labels (what Draft draws before the curves).
  void DrawDecorations(gdr_Renderer& renderer, Frame& f) const;
  // The part of the segment a-b (axis units) inside the axis rectangle, borders included; every
  // crossing with a frame line widens the plot's clip limits. False when no part is inside.
  struct Visible {
    float x0, y0, x1, y1;
    bool fromStart, toEnd;  // the part starts at a, ends at b
  };
  static bool ClipToFrame(const Frame& f, float ax, float ay, float bx, float by, Visible& v);
  // The curves; while the scene fills its id map, every segment and symbol with its pick id.
  void DrawCurves(gdr_Renderer& renderer, Frame& f) const;
  void DrawAxesTitles(gdr_Renderer& renderer, const Frame& f) const;
  struct LegendLayout;  // the legend's rows, gaps, box size and place
  cow_String ExtremeText(float value) const;
  bool LayOutLegend(const xypK_XYPlot& plot, float vw, float vh, LegendLayout& l,
                    bool extremes) const;
  void DrawLegend(gdr_Renderer& renderer, const Frame& f) const;
  // Keeps the legend box (top-left corner x, y; device units) inside the viewport.
  static void AdjustLegendBoxPos(float& x, float& y, float viewportWidth, float viewportHeight,
                                 float boxWidth, float boxHeight);
  void DrawText(gdr_Renderer& renderer, const Frame& f, float x, float y, cow_String text,
                float size, xypC_AlignEnum alignment, const cow_String& font) const;
  void DrawPower(gdr_Renderer& renderer, const Frame& f, float x, float y, const cow_String& base,
                 const cow_String& exponent, float size, bool alongX, const cow_String& font) const;
  void HighlightOnePoint(gdr_Renderer& renderer, const Frame& f, const xypC_CurveOptions& options,
                         int position, float x, float y) const;
  gdr_Color Resolve(const gdr_Renderer& renderer, const cow_String& colour, int position,
                    const cow_String& fallback) const;

  bool loaded_ = false;
  cow_String plotName_;
  const xypK_Scene* scene_;
  bool legendUse_ = true;
  bool legendBoxUse_ = true;
  int legendDigits_ = 3;
  float legendX_ = 2.0f;
  float legendY_ = 98.0f;
  cow_String legendFont_;
  cow_String legendTextColour_ = "White";
  sesC_BackgroundStyleEnm legendBackgroundStyle_ = sesC_MATCH;
  cow_String legendBackgroundColour_ = "Black";
  bool legendExtremes_ = true;
};
