#pragma once
// The SVG back end, writing the document itself: one <path> per stroked path (stroke colour,
// width and dash array, no fill), markers as <path> and <circle> elements, filled shapes as
// <path> elements, and every text as a <text> element (XML-escaped, with its font family, size,
// weight and style and a transform placing it), so that text stays text. The page is
// width x height points; y is flipped to SVG's y-down.
#include <string>

#include "gdr_Renderer.h"

class gdr_SvgRenderer : public gdr_Renderer {
 public:
  gdr_SvgRenderer(int width, int height);
  ~gdr_SvgRenderer() override;

  // The complete document as drawn so far.
  std::string Document() const;

  // Text with the five XML special characters replaced by entities.
  static std::string Escape(const std::string& text);

 protected:
  void StrokePath(const gdr_Point* points, size_t n, bool closed) override;
  void FillPath(const gdr_Point* points, size_t n) override;
  void Marker(gdr_Point center, g3d_MarkerEnum marker, double size) override;
  void Text(const std::string& utf8, const gru_Font& font, const g3d_XForm& textToDevice) override;

 private:
  void AppendNumber(double v);
  void AppendPoint(gdr_Point p);
  void AppendPath(const gdr_Point* points, size_t n, bool closed);
  std::string ColorText(const gdr_Color& c) const;

  std::string body_;
};
