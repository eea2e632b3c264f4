#pragma once
// A renderer that draws nothing and keeps the device box of what reaches it: the points of
// strokes and fills, markers with their size, and each text's extent box (its advance width by
// the font's ascent and descent) as placed. Line widths are left out: they are device units,
// which a measuring pass at another scale cannot stand for.
#include "gdr_Renderer.h"

class gdr_BoundsRenderer : public gdr_Renderer {
 public:
  gdr_BoundsRenderer(int width, int height) : gdr_Renderer(width, height) {}

  bool IsEmpty() const { return !(xMax_ >= xMin_); }
  double XMin() const { return xMin_; }
  double YMin() const { return yMin_; }
  double XMax() const { return xMax_; }
  double YMax() const { return yMax_; }

 protected:
  void StrokePath(const gdr_Point* points, size_t n, bool closed) override;
  void FillPath(const gdr_Point* points, size_t n) override;
  void Marker(gdr_Point center, g3d_MarkerEnum marker, double size) override;
  void Text(const std::string& utf8, const gru_Font& font, const g3d_XForm& textToDevice) override;

 private:
  void Add(double x, double y);

  double xMin_ = 1.0, yMin_ = 1.0, xMax_ = -1.0, yMax_ = -1.0;  // empty
};
