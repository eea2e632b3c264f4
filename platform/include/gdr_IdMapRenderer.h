#pragma once
// A back end that draws into an id map instead of a picture: every stroke and marker writes the
// renderer's pick id into the pixels it covers, without blending, so the last one drawn wins.
// Strokes are at least kMinWidth device units wide whatever their width or dash style, so that
// thin and dashed lines can still be picked along their whole length; fills and text write
// nothing.
//
// For scenes of depth (a model seen along -Z) the renderer also keeps a depth buffer beside the
// map, one value per pixel, larger values nearer, empty (-infinity) at the start. The depth
// calls take device points with a depth each and write a pixel only where what they draw is
// nearer than what the buffer holds there, updating the buffer; with SetDepthOnly they update
// the buffer and write no id, so that they hide what lies behind them without being picked.
#include <vector>

#include "gdr_Renderer.h"
#include "xmd_IdMap.h"

class gdr_IdMapRenderer : public gdr_Renderer {
 public:
  static constexpr double kMinWidth = 3.0;

  // The renderer has the map's size; the map must outlive it.
  explicit gdr_IdMapRenderer(xmd_IdMap& map);

  void SetDepthOnly(bool on) { depthOnly_ = on; }
  bool DepthOnly() const { return depthOnly_; }
  // The buffer's value at pixel (x, y); -infinity where nothing was drawn and outside the map.
  float DepthAt(int x, int y) const;

  // A triangle: the pixels whose centres lie in it (edges included), depth interpolated from
  // its corners. Degenerate (edge-on) triangles and points that are not finite draw nothing.
  void FillTriangleDepth(const gdr_Point corners[3], const double depths[3]);
  // A convex polygon of n >= 3 corners, split into the triangles of a fan from the first.
  void FillPolygonDepth(const gdr_Point* corners, const double* depths, size_t n);
  // A segment max(LineWidth(), kMinWidth) wide, depth interpolated along it.
  void StrokeSegmentDepth(gdr_Point p, double depthP, gdr_Point q, double depthQ);
  // The pixels whose centres lie within `radius` of the centre, all at one depth, written where
  // that depth is not more than `tolerance` behind the buffer (so that what lies on a face
  // stays visible).
  void FillDiscDepth(gdr_Point center, double depth, double radius, double tolerance);

 protected:
  void StrokePath(const gdr_Point* points, size_t n, bool closed) override;
  void FillPath(const gdr_Point*, size_t) override {}
  void Marker(gdr_Point center, g3d_MarkerEnum marker, double size) override;
  void Text(const std::string&, const gru_Font&, const g3d_XForm&) override {}

 private:
  // Every pixel whose centre lies within `radius` of the segment p-q.
  void FillCapsule(gdr_Point p, gdr_Point q, double radius);
  // Pixel (x, y), inside the map, at `depth`: written when the depth exceeds `threshold` (the
  // buffer's value there, less any tolerance).
  void Plot(int x, int y, float depth, float threshold);

  xmd_IdMap& map_;
  std::vector<float> depth_;  // row-major as the map, allocated by the first depth written
  bool depthOnly_ = false;
};
