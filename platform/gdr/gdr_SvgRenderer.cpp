#include "gdr_SvgRenderer.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "gdr_MarkerShape.h"

gdr_SvgRenderer::gdr_SvgRenderer(int width, int height) : gdr_Renderer(width, height) {}

gdr_SvgRenderer::~gdr_SvgRenderer() = default;

std::string gdr_SvgRenderer::Document() const {
  const std::string w = std::to_string(Width());
  const std::string h = std::to_string(Height());
  std::string doc;
  doc.reserve(body_.size() + 512);
  doc += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  // Sized in pixels, as the PNG of the same save is.
  doc += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + w + "\" height=\"" +
         h + "\" viewBox=\"0 0 " + w + " " + h + "\">\n";
  doc += body_;
  doc += "</svg>\n";
  return doc;
}

std::string gdr_SvgRenderer::Escape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// Shortest form with at most three decimals ("12.5", "-0.125", "300").
void gdr_SvgRenderer::AppendNumber(double v) {
  double rounded = std::round(v * 1000.0) / 1000.0;
  if (rounded == 0.0) rounded = 0.0;  // no "-0"
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, rounded);
  body_.append(buffer, result.ptr);
}

void gdr_SvgRenderer::AppendPoint(gdr_Point p) {
  AppendNumber(p.x);
  body_ += ',';
  AppendNumber(Height() - p.y);
}

void gdr_SvgRenderer::AppendPath(const gdr_Point* points, size_t n, bool closed) {
  body_ += "d=\"M";
  AppendPoint(points[0]);
  for (size_t i = 1; i < n; ++i) {
    body_ += i == 1 ? " L" : " ";
    AppendPoint(points[i]);
  }
  if (closed) body_ += " Z";
  body_ += '"';
}

std::string gdr_SvgRenderer::ColorText(const gdr_Color& c) const {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", static_cast<int>(std::lround(c.r * 255)),
                static_cast<int>(std::lround(c.g * 255)), static_cast<int>(std::lround(c.b * 255)));
  return buffer;
}

void gdr_SvgRenderer::StrokePath(const gdr_Point* points, size_t n, bool closed) {
  if (n < 2) return;
  body_ += "<path ";
  AppendPath(points, n, closed);
  body_ += " fill=\"none\" stroke=\"" + ColorText(Color()) + "\" stroke-width=\"";
  AppendNumber(LineWidth());
  body_ += "\" stroke-linejoin=\"round\"";
  const std::vector<double> dashes = DashPattern(LineStyle(), LineWidth());
  if (!dashes.empty()) {
    body_ += " stroke-dasharray=\"";
    for (size_t i = 0; i < dashes.size(); ++i) {
      if (i > 0) body_ += ' ';
      AppendNumber(dashes[i]);
    }
    body_ += '"';
  }
  body_ += "/>\n";
}

void gdr_SvgRenderer::FillPath(const gdr_Point* points, size_t n) {
  if (n < 3) return;
  body_ += "<path ";
  AppendPath(points, n, true);
  body_ += " fill=\"" + ColorText(Color()) + "\" stroke=\"none\"/>\n";
}

void gdr_SvgRenderer::Marker(gdr_Point center, g3d_MarkerEnum marker, double size) {
  const gdr_MarkerShape shape(center, marker, size, Highlight());
  const std::string color = ColorText(Color());
  for (const gdr_MarkerShape::Part& part : shape.Parts()) {
    const bool filled =
        part.kind == gdr_MarkerShape::FILL_CIRCLE || part.kind == gdr_MarkerShape::FILL_POLYGON;
    if (part.kind == gdr_MarkerShape::FILL_CIRCLE || part.kind == gdr_MarkerShape::STROKE_CIRCLE) {
      body_ += "<circle cx=\"";
      AppendNumber(part.center.x);
      body_ += "\" cy=\"";
      AppendNumber(Height() - part.center.y);
      body_ += "\" r=\"";
      AppendNumber(part.radius);
      body_ += '"';
    } else if (part.kind == gdr_MarkerShape::STROKE_SEGMENTS) {
      body_ += "<path d=\"";
      for (size_t i = 0; i + 1 < part.points.size(); i += 2) {
        body_ += i == 0 ? "M" : " M";
        AppendPoint(part.points[i]);
        body_ += " L";
        AppendPoint(part.points[i + 1]);
      }
      body_ += '"';
    } else {
      body_ += "<path ";
      AppendPath(part.points.data(), part.points.size(), true);
    }
    if (filled) {
      body_ += " fill=\"" + color + "\" stroke=\"none\"/>\n";
    } else {
      body_ += " fill=\"none\" stroke=\"" + color + "\" stroke-width=\"";
      AppendNumber(shape.LineWidth());
      body_ += "\"/>\n";
    }
  }
}

void gdr_SvgRenderer::Text(const std::string& utf8, const gru_Font& font, const g3d_XForm& xf) {
  // The font size is the em in device units; the matrix keeps only the rest of the mapping
  // (rotation, shear, mirroring) and flips the y-up text units to SVG's y-down.
  const double em = std::sqrt(std::fabs(xf.Determinant()));
  // The generic family stands in where the DejaVu faces are not installed.
  const char* generic = font.FaceName() == "DejaVu Sans Mono" ? "monospace"
                        : font.FaceName() == "DejaVu Serif"   ? "serif"
                                                              : "sans-serif";
  body_ += "<text xml:space=\"preserve\" font-family=\"" + Escape(font.FaceName().Std()) + ", " +
           generic + "\" font-size=\"";
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, "%.6g\"", em);
  body_ += buffer;
  if (font.IsBold()) body_ += " font-weight=\"bold\"";
  if (font.IsItalic()) body_ += " font-style=\"italic\"";
  body_ += " fill=\"" + ColorText(Color()) + "\" transform=\"matrix(";
  // (+ 0.0 turns a negative zero into "0".)
  std::snprintf(buffer, sizeof buffer, "%.6g %.6g %.6g %.6g ", xf.A() / em + 0.0,
                -xf.D() / em + 0.0, -xf.B() / em + 0.0, xf.E() / em + 0.0);
  body_ += buffer;
  AppendNumber(xf.C());
  body_ += ' ';
  AppendNumber(Height() - xf.F());
  body_ += ")\">" + Escape(utf8) + "</text>\n";
}
