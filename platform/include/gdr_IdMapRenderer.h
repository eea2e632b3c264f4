#pragma once
// A back end that draws into an id map instead of a picture: every stroke and marker writes the
// renderer's pick id into the pixels it covers, without blending, so the last one drawn wins.
// Strokes are at least kMinWidth device units wide whatever their width or dash style, so that
// thin and dashed lines can still be picked along their whole length; fills and text write
// nothing.
#include "gdr_Renderer.h"
#include "xmd_IdMap.h"

class gdr_IdMapRenderer : public gdr_Renderer {
 public:
  static constexpr double kMinWidth = 3.0;

  // The renderer has the map's size; the map must outlive it.
  explicit gdr_IdMapRenderer(xmd_IdMap& map);

 protected:
  void StrokePath(const gdr_Point* points, size_t n, bool closed) override;
  void FillPath(const gdr_Point*, size_t) override {}
  void Marker(gdr_Point center, g3d_MarkerEnum marker, double size) override;
  void Text(const std::string&, const gru_Font&, const g3d_XForm&) override {}

 private:
  // Every pixel whose centre lies within `radius` of the segment p-q.
  void FillCapsule(gdr_Point p, gdr_Point q, double radius);

  xmd_IdMap& map_;
};
