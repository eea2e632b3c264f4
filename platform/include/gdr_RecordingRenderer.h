#pragma once
// A renderer that draws nothing and records every call that reaches the back end, with its
// device coordinates (y up) and the attributes in force, for tests of code that draws.
#include <string>
#include <vector>

#include "gdr_Renderer.h"

class gdr_RecordingRenderer : public gdr_Renderer {
 public:
  enum Kind { STROKE, FILL, MARKER, TEXT };
  struct Record {
    Kind kind = STROKE;
    std::vector<gdr_Point> points;  // STROKE, FILL: the path; MARKER: the centre
    bool closed = false;            // STROKE
    gdr_Color color;
    double lineWidth = 0.0;
    g3d_LineStyleEnum lineStyle = g3d_SOLID;
    bool highlight = false;
    g3d_MarkerEnum marker = g3d_DEFAULT_MARKER;  // MARKER
    double size = 0.0;                           // MARKER: full width in device units
    std::string text;                            // TEXT, as UTF-8
    gru_Font font;                               // TEXT
    g3d_XForm textToDevice;                      // TEXT
  };

  gdr_RecordingRenderer(int width, int height) : gdr_Renderer(width, height) {}

  std::vector<Record> records;

  // The records of one kind, in drawing order.
  std::vector<Record> OfKind(Kind kind) const;

 protected:
  void StrokePath(const gdr_Point* points, size_t n, bool closed) override;
  void FillPath(const gdr_Point* points, size_t n) override;
  void Marker(gdr_Point center, g3d_MarkerEnum marker, double size) override;
  void Text(const std::string& utf8, const gru_Font& font, const g3d_XForm& textToDevice) override;

 private:
  Record Base(Kind kind) const;
};
