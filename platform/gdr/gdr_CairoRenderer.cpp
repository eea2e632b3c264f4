#include "gdr_CairoRenderer.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "gdr_MarkerShape.h"
#include "gdr_PngEncoder.h"
#include "nex_Exception.h"
#include "omi_Assert.h"

namespace {
cairo_status_t WriteToSink(void* closure, const unsigned char* data, unsigned int length) {
  const auto* sink = static_cast<const gdr_CairoRenderer::Sink*>(closure);
  try {
    return *sink && (*sink)(data, length) ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
  } catch (...) {
    return CAIRO_STATUS_WRITE_ERROR;  // nothing may unwind through Cairo
  }
}

// Font matrices Cairo hands to FreeType stay within these bounds (largest stretch of the em in
// device units, and its ratio to the smallest); others are drawn as transformed outlines.
constexpr double kMaxGlyphScale = 2e4;
constexpr double kMaxGlyphStretch = 16.0;

[[noreturn]] void Fail(const char* what, cairo_status_t status) {
  NEX_THROW(nex_Exception(cow_String(what) + ": " + cairo_status_to_string(status)));
}
}  // namespace

struct gdr_CairoRenderer::Impl {
  Target target;
  cairo_surface_t* surface = nullptr;
  cairo_t* cr = nullptr;
  Sink sink;
  bool finished = false;

  ~Impl() {
    // A document destroyed unfinished would still be written out: send it nowhere.
    sink = Sink();
    if (cr) cairo_destroy(cr);
    if (surface) cairo_surface_destroy(surface);
  }
};

gdr_CairoRenderer::gdr_CairoRenderer(Target target, int width, int height, Sink pdfSink)
    : gdr_Renderer(width, height), impl_(std::make_unique<Impl>()) {
  impl_->target = target;
  impl_->sink = std::move(pdfSink);
  if (target == PDF) {
    impl_->surface = cairo_pdf_surface_create_for_stream(&WriteToSink, &impl_->sink, width, height);
    // PDF 1.4 keeps every object readable at the top level of the file.
    cairo_pdf_surface_restrict_to_version(impl_->surface, CAIRO_PDF_VERSION_1_4);
  } else {
    impl_->surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  }
  const cairo_status_t status = cairo_surface_status(impl_->surface);
  if (status != CAIRO_STATUS_SUCCESS) Fail("Cannot create the drawing surface", status);
  impl_->cr = cairo_create(impl_->surface);
  CheckStatus();
  cairo_font_options_t* options = cairo_font_options_create();
  // Unhinted metrics: glyphs advance exactly as gdr_FontMetrics measures them.
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_set_font_options(impl_->cr, options);
  cairo_font_options_destroy(options);
  cairo_set_antialias(impl_->cr, CAIRO_ANTIALIAS_DEFAULT);
  cairo_set_line_cap(impl_->cr, CAIRO_LINE_CAP_BUTT);
  cairo_set_fill_rule(impl_->cr, CAIRO_FILL_RULE_WINDING);
}

gdr_CairoRenderer::~gdr_CairoRenderer() = default;

gdr_CairoRenderer::Target gdr_CairoRenderer::GetTarget() const {
  return impl_->target;
}

void gdr_CairoRenderer::CheckStatus() const {
  cairo_status_t status = cairo_surface_status(impl_->surface);
  if (status == CAIRO_STATUS_SUCCESS && impl_->cr) status = cairo_status(impl_->cr);
  if (status != CAIRO_STATUS_SUCCESS) Fail("Cannot draw the picture", status);
}

void gdr_CairoRenderer::WritePng(const Sink& sink) {
  OMI_ASSERT(impl_->target == IMAGE);
  CheckStatus();
  cairo_surface_flush(impl_->surface);
  if (!gdr_PngEncoder::Encode(cairo_image_surface_get_data(impl_->surface), Width(), Height(),
                              cairo_image_surface_get_stride(impl_->surface), sink))
    Fail("Cannot write the PNG image", CAIRO_STATUS_WRITE_ERROR);
}

void gdr_CairoRenderer::Finish() {
  OMI_ASSERT(impl_->target == PDF && !impl_->finished);
  CheckStatus();
  impl_->finished = true;
  cairo_destroy(impl_->cr);
  impl_->cr = nullptr;
  cairo_surface_finish(impl_->surface);
  const cairo_status_t status = cairo_surface_status(impl_->surface);
  if (status != CAIRO_STATUS_SUCCESS) Fail("Cannot write the PDF document", status);
}

namespace {
void SetSource(cairo_t* cr, const gdr_Color& c) {
  cairo_set_source_rgb(cr, c.r, c.g, c.b);
}
}  // namespace

void gdr_CairoRenderer::StrokePath(const gdr_Point* points, size_t n, bool closed) {
  cairo_t* cr = impl_->cr;
  if (!cr || n < 2) return;
  const double h = Height();
  cairo_new_path(cr);
  cairo_move_to(cr, points[0].x, h - points[0].y);
  for (size_t i = 1; i < n; ++i) cairo_line_to(cr, points[i].x, h - points[i].y);
  if (closed) cairo_close_path(cr);
  SetSource(cr, Color());
  cairo_set_line_width(cr, LineWidth());
  // Round joins: the zigzag of a dense curve would grow miter spikes.
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  const std::vector<double> dashes = DashPattern(LineStyle(), LineWidth());
  cairo_set_dash(cr, dashes.data(), static_cast<int>(dashes.size()), 0.0);
  cairo_stroke(cr);
}

void gdr_CairoRenderer::FillPath(const gdr_Point* points, size_t n) {
  cairo_t* cr = impl_->cr;
  if (!cr || n < 3) return;
  const double h = Height();
  cairo_new_path(cr);
  cairo_move_to(cr, points[0].x, h - points[0].y);
  for (size_t i = 1; i < n; ++i) cairo_line_to(cr, points[i].x, h - points[i].y);
  cairo_close_path(cr);
  SetSource(cr, Color());
  cairo_fill(cr);
}

void gdr_CairoRenderer::Marker(gdr_Point center, g3d_MarkerEnum marker, double size) {
  cairo_t* cr = impl_->cr;
  if (!cr) return;
  const double h = Height();
  const gdr_MarkerShape shape(center, marker, size, Highlight());
  SetSource(cr, Color());
  cairo_set_dash(cr, nullptr, 0, 0.0);
  cairo_set_line_width(cr, shape.LineWidth());
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
  for (const gdr_MarkerShape::Part& part : shape.Parts()) {
    cairo_new_path(cr);
    switch (part.kind) {
      case gdr_MarkerShape::FILL_CIRCLE:
      case gdr_MarkerShape::STROKE_CIRCLE:
        cairo_arc(cr, part.center.x, h - part.center.y, part.radius, 0.0, 2.0 * std::numbers::pi);
        break;
      case gdr_MarkerShape::STROKE_SEGMENTS:
        for (size_t i = 0; i + 1 < part.points.size(); i += 2) {
          cairo_move_to(cr, part.points[i].x, h - part.points[i].y);
          cairo_line_to(cr, part.points[i + 1].x, h - part.points[i + 1].y);
        }
        break;
      case gdr_MarkerShape::FILL_POLYGON:
      case gdr_MarkerShape::STROKE_POLYGON:
        cairo_move_to(cr, part.points[0].x, h - part.points[0].y);
        for (size_t i = 1; i < part.points.size(); ++i)
          cairo_line_to(cr, part.points[i].x, h - part.points[i].y);
        cairo_close_path(cr);
        break;
    }
    if (part.kind == gdr_MarkerShape::FILL_CIRCLE || part.kind == gdr_MarkerShape::FILL_POLYGON) {
      cairo_fill(cr);
    } else {
      cairo_stroke(cr);
    }
  }
}

void gdr_CairoRenderer::Text(const std::string& utf8, const gru_Font& font, const g3d_XForm& xf) {
  cairo_t* cr = impl_->cr;
  if (!cr) return;
  cairo_select_font_face(cr, font.FaceName().CStr(),
                         font.IsItalic() ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                         font.IsBold() ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  SetSource(cr, Color());
  cairo_new_path(cr);
  // Singular values of the linear part: the largest and smallest stretch of the em.
  const double e = 0.5 * (xf.A() + xf.E());
  const double f = 0.5 * (xf.A() - xf.E());
  const double g = 0.5 * (xf.D() + xf.B());
  const double h = 0.5 * (xf.D() - xf.B());
  const double q = std::hypot(e, h);
  const double r = std::hypot(f, g);
  const double largest = q + r;
  const double smallest = std::fabs(q - r);
  if (largest <= kMaxGlyphScale && largest <= kMaxGlyphStretch * smallest) {
    // Glyph space is y-down and so is the surface: the text's y-up units are flipped on both
    // sides of the transform.
    cairo_matrix_t m;
    cairo_matrix_init(&m, xf.A(), -xf.D(), -xf.B(), xf.E(), 0.0, 0.0);
    cairo_set_font_matrix(cr, &m);
    cairo_move_to(cr, xf.C(), Height() - xf.F());
    cairo_show_text(cr, utf8.c_str());
  } else {
    OutlineText(utf8, xf);
  }
  cairo_new_path(cr);
}

void gdr_CairoRenderer::OutlineText(const std::string& utf8, const g3d_XForm& xf) {
  // Beyond what FreeType scales (a failure there would leave the font face in an error state
  // for the rest of the process), the outlines are taken at a moderate size and transformed
  // here, like every other path.
  constexpr double kOutlineSize = 64.0;
  if (static_cast<double>(utf8.size()) * 2.0 * kOutlineSize > 4e6) return;
  cairo_t* cr = impl_->cr;
  cairo_matrix_t size;
  cairo_matrix_init_scale(&size, kOutlineSize, kOutlineSize);
  cairo_set_font_matrix(cr, &size);
  cairo_move_to(cr, 0.0, 0.0);
  cairo_text_path(cr, utf8.c_str());
  cairo_path_t* outline = cairo_copy_path(cr);
  cairo_new_path(cr);
  if (outline->status == CAIRO_STATUS_SUCCESS) {
    const double h = Height();
    auto device = [&](const cairo_path_data_t& p) {
      const g3d_XForm::Point d = xf.Apply(p.point.x / kOutlineSize, -p.point.y / kOutlineSize);
      return g3d_XForm::Point{d.x, h - d.y};
    };
    for (int i = 0; i < outline->num_data; i += outline->data[i].header.length) {
      const cairo_path_data_t* data = &outline->data[i];
      switch (data->header.type) {
        case CAIRO_PATH_MOVE_TO: {
          const g3d_XForm::Point p = device(data[1]);
          cairo_move_to(cr, p.x, p.y);
          break;
        }
        case CAIRO_PATH_LINE_TO: {
          const g3d_XForm::Point p = device(data[1]);
          cairo_line_to(cr, p.x, p.y);
          break;
        }
        case CAIRO_PATH_CURVE_TO: {
          const g3d_XForm::Point p1 = device(data[1]);
          const g3d_XForm::Point p2 = device(data[2]);
          const g3d_XForm::Point p3 = device(data[3]);
          cairo_curve_to(cr, p1.x, p1.y, p2.x, p2.y, p3.x, p3.y);
          break;
        }
        case CAIRO_PATH_CLOSE_PATH:
          cairo_close_path(cr);
          break;
      }
    }
    cairo_fill(cr);
  }
  cairo_path_destroy(outline);
}
