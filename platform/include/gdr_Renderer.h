#pragma once
// The drawing interface of the application: a viewport of Width() x Height() device units
// (pixels, or points for vector output) with its origin at the bottom-left, x to the right and y
// up. Primitives are given in world coordinates and pass through the current transform
// (Transform(), world to device); this class transforms, screens and thins them, and hands the
// back end device coordinates only:
//
// - a point that is not finite (in the world or after the transform) breaks a polyline into
//   separate pieces and never reaches the back end; pieces of fewer than two points are dropped;
// - consecutive polyline points that fall into one device pixel column are reduced to the run's
//   first point, its lowest and highest points (in the order they occur) and its last point, so a
//   curve of a million points costs one pass and the picture stays the same;
// - geometry far outside the viewport is clipped to a margin around it, so that back ends never
//   see coordinates beyond their range.
//
// Line widths, dash lengths, marker sizes and text transforms are in device units, so lines look
// the same whatever the data scaling.
//
// A drawing of millions of points or markers takes seconds: an interruptible renderer asks the
// work-in-progress reporter (cmdC_WIP) every so often whether the user wants to stop, and raises
// cmdC_InterruptedException from the drawing call when so.
#include <cstddef>
#include <string>
#include <vector>

#include "cow_String.h"
#include "g3d_Enumerations.h"
#include "g3d_XForm.h"
#include "gdr_Color.h"
#include "gdr_Point.h"
#include "gru_Font.h"

class gdr_Renderer {
 public:
  // Width and height of at least 1 device unit.
  gdr_Renderer(int width, int height);
  virtual ~gdr_Renderer();
  gdr_Renderer(const gdr_Renderer&) = delete;
  gdr_Renderer& operator=(const gdr_Renderer&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  // White unless set otherwise; Clear() fills the viewport with it.
  const gdr_Color& Background() const { return background_; }
  void SetBackground(const gdr_Color& color);
  void Clear();

  // World to device. PushTransform makes current = current * xf (xf acts first) and saves the
  // previous one, which PopTransform restores.
  const g3d_XForm& Transform() const { return transform_; }
  void SetTransform(const g3d_XForm& xf) { transform_ = xf; }
  void PushTransform(const g3d_XForm& xf);
  void PopTransform();
  size_t TransformDepth() const { return saved_.size(); }

  // Channels are clamped to 0..1 (NaN becomes 0).
  void SetColor(const gdr_Color& color);
  const gdr_Color& Color() const { return color_; }
  // Device units, at most 1000; a width that is negative or not finite counts as 0, which
  // strokes nothing.
  void SetLineWidth(double width);
  double LineWidth() const { return lineWidth_; }
  void SetLineStyle(g3d_LineStyleEnum style);
  g3d_LineStyleEnum LineStyle() const { return lineStyle_; }
  // Highlighted markers are drawn larger and bolder.
  void SetHighlight(bool on) { highlight_ = on; }
  bool Highlight() const { return highlight_; }
  // What is drawn belongs to this pick id (0: nothing pickable); only id-map back ends use it.
  void SetPickId(int id) { pickId_ = id; }
  int PickId() const { return pickId_; }

  // The dash pattern (on, off, on, off ...; device units) of a line style at a line width; empty
  // for SOLID. Lengths grow with the width (from a width of 1 up), never with the data scaling.
  static std::vector<double> DashPattern(g3d_LineStyleEnum style, double width);

  // Off by default (the drawings of scenes and id maps run to their end); image files turn it on.
  void SetInterruptible(bool on) { interruptible_ = on; }
  bool Interruptible() const { return interruptible_; }
  // Counts drawing work: a polyline point is one unit, a marker kMarkerWork. Every
  // kInterruptInterval units an interruptible renderer asks whether to stop. Loops of callers
  // that pass over many items without drawing each count them too.
  static constexpr size_t kInterruptInterval = size_t{1} << 16;
  static constexpr size_t kMarkerWork = 64;
  void CountWork(size_t units) {
    work_ += units;
    if (work_ >= kInterruptInterval) AskToStop();
  }

  // A polyline through n world points, closed back to the first one when `closed`.
  void DrawPolyline(const float* x, const float* y, size_t n, bool closed);
  void DrawLine(double x0, double y0, double x1, double y1);
  // A marker centred on the world point; `size` is its full width in device units (a circle's
  // diameter, a square's side), at most 10000; a size that is not positive draws nothing.
  // DEFAULT_MARKER is a filled circle.
  void DrawMarker(double x, double y, g3d_MarkerEnum marker, double size);
  // The world rectangle between two corners, filled; under a rotating transform the filled
  // shape is the transformed quadrilateral.
  void FillRectangle(double x0, double y0, double x1, double y1);
  // The polygon through n >= 3 world points, filled with the current colour (by the non-zero
  // winding rule where it crosses itself); nothing when a point is not finite.
  void FillPolygon(const float* x, const float* y, size_t n);
  // Text in its own units (gru_Text3D: the font's em is 1, baseline along y = 0, y up), placed
  // by textToWorld and then the current transform. A text transform that is not finite, that
  // shrinks the em below 0.001 device units (a zero text size) or that would throw glyphs far
  // outside the viewport draws nothing.
  void DrawText(const cow_String& text, const gru_Font& font, const g3d_XForm& textToWorld);

  // The text as UTF-8: valid UTF-8 stays as it is, anything else is read as Latin-1 (labels
  // from text files of other tools); control characters become spaces.
  static std::string TextToUtf8(const cow_String& text);

 protected:
  // Back ends: device coordinates, y up; the attributes are those of the accessors above.
  // A stroked path of n >= 2 points with the current colour, width and style.
  virtual void StrokePath(const gdr_Point* points, size_t n, bool closed) = 0;
  // A filled polygon of n >= 3 points with the current colour.
  virtual void FillPath(const gdr_Point* points, size_t n) = 0;
  // A marker of the current colour and highlight, size > 0.
  virtual void Marker(gdr_Point center, g3d_MarkerEnum marker, double size) = 0;
  // UTF-8 text drawn through textToDevice (text units to device units, y up, baseline y = 0).
  virtual void Text(const std::string& utf8, const gru_Font& font,
                    const g3d_XForm& textToDevice) = 0;

 private:
  void EmitPiece(std::vector<gdr_Point>& piece, bool closed);
  void AskToStop();

  int width_;
  int height_;
  gdr_Color background_ = gdr_Color::White();
  g3d_XForm transform_;
  std::vector<g3d_XForm> saved_;
  gdr_Color color_ = gdr_Color::Black();
  double lineWidth_ = 1.0;
  g3d_LineStyleEnum lineStyle_ = g3d_SOLID;
  bool highlight_ = false;
  int pickId_ = 0;
  bool interruptible_ = false;
  size_t work_ = 0;               // units counted since the last question
  std::vector<gdr_Point> piece_;  // reused between polylines
};
