#include "gdr_RecordingRenderer.h"

std::vector<gdr_RecordingRenderer::Record> gdr_RecordingRenderer::OfKind(Kind kind) const {
  std::vector<Record> out;
  for (const Record& r : records)
    if (r.kind == kind) out.push_back(r);
  return out;
}

gdr_RecordingRenderer::Record gdr_RecordingRenderer::Base(Kind kind) const {
  Record r;
  r.kind = kind;
  r.color = Color();
  r.lineWidth = LineWidth();
  r.lineStyle = LineStyle();
  r.highlight = Highlight();
  return r;
}

void gdr_RecordingRenderer::StrokePath(const gdr_Point* points, size_t n, bool closed) {
  Record r = Base(STROKE);
  r.points.assign(points, points + n);
  r.closed = closed;
  records.push_back(std::move(r));
}

void gdr_RecordingRenderer::FillPath(const gdr_Point* points, size_t n) {
  Record r = Base(FILL);
  r.points.assign(points, points + n);
  records.push_back(std::move(r));
}

void gdr_RecordingRenderer::Marker(gdr_Point center, g3d_MarkerEnum marker, double size) {
  Record r = Base(MARKER);
  r.points.push_back(center);
  r.marker = marker;
  r.size = size;
  records.push_back(std::move(r));
}

void gdr_RecordingRenderer::Text(const std::string& utf8, const gru_Font& font,
                                 const g3d_XForm& textToDevice) {
  Record r = Base(TEXT);
  r.text = utf8;
  r.font = font;
  r.textToDevice = textToDevice;
  records.push_back(std::move(r));
}
