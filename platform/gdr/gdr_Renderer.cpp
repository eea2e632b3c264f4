#include "gdr_Renderer.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "cmdC_WIP.h"
#include "omi_Assert.h"
#include "omi_Singleton.h"

namespace {
constexpr double kMaxLineWidth = 1000.0;
constexpr double kMaxMarkerSize = 10000.0;
// Text whose em is smaller than this (in device units) is invisible, and a scale of zero would
// make a font matrix singular.
constexpr double kMinTextEm = 1e-3;
constexpr double kMaxTextEm = 1e5;
// Back ends keep coordinates in fixed point (24.8 bits in Cairo); nothing drawn may reach this.
constexpr double kMaxDeviceCoordinate = 4e6;

struct Box {
  double x0, y0, x1, y1;
  bool Contains(gdr_Point p) const { return p.x >= x0 && p.x <= x1 && p.y >= y0 && p.y <= y1; }
};

// The viewport grown by a margin wider than anything drawn at its edge sticks out, so that
// clipping to it never changes what is visible.
Box SafeBox(int width, int height, double margin) {
  return {-margin, -margin, width + margin, height + margin};
}

// Liang-Barsky: the parameters t0 <= t1 of the part of p + t (q - p), 0 <= t <= 1, inside the
// box, and the box sides (0 left, 1 right, 2 bottom, 3 top; -1 none) that cut the segment
// there; false when no part is inside.
bool ClipSegment(const Box& b, gdr_Point p, gdr_Point q, double& t0, double& t1, int& side0,
                 int& side1) {
  t0 = 0.0;
  t1 = 1.0;
  side0 = side1 = -1;
  const double dx = q.x - p.x;
  const double dy = q.y - p.y;
  const double num[4] = {p.x - b.x0, b.x1 - p.x, p.y - b.y0, b.y1 - p.y};
  const double den[4] = {-dx, dx, -dy, dy};
  for (int k = 0; k < 4; ++k) {
    if (den[k] == 0.0) {
      if (num[k] < 0.0) return false;
      continue;
    }
    const double t = num[k] / den[k];
    if (den[k] < 0.0) {
      if (t > t0) {
        t0 = t;
        side0 = k;
      }
    } else if (t < t1) {
      t1 = t;
      side1 = k;
    }
  }
  return t0 <= t1;
}

// The point where the segment p-q meets a side of the box: the side's own coordinate exactly,
// the other one interpolated from the nearer end, so that a segment between points far outside
// the box (where p + t (q - p) cancels) still crosses it where it should.
gdr_Point OnSide(const Box& b, int side, gdr_Point p, gdr_Point q) {
  const bool vertical = side < 2;
  const double edge = side == 0 ? b.x0 : side == 1 ? b.x1 : side == 2 ? b.y0 : b.y1;
  const double pa = vertical ? p.x : p.y, qa = vertical ? q.x : q.y;
  const double pb = vertical ? p.y : p.x, qb = vertical ? q.y : q.x;
  const bool fromP = std::fabs(edge - pa) <= std::fabs(edge - qa);
  const double other =
      fromP ? pb + (edge - pa) / (qa - pa) * (qb - pb) : qb + (edge - qa) / (pa - qa) * (pb - qb);
  return vertical ? gdr_Point{edge, other} : gdr_Point{other, edge};
}

// Sutherland-Hodgman against one edge of the box at a time.
std::vector<gdr_Point> ClipPolygon(std::vector<gdr_Point> poly, const Box& b) {
  for (int edge = 0; edge < 4 && !poly.empty(); ++edge) {
    auto inside = [&](gdr_Point p) {
      switch (edge) {
        case 0:
          return p.x >= b.x0;
        case 1:
          return p.x <= b.x1;
        case 2:
          return p.y >= b.y0;
        default:
          return p.y <= b.y1;
      }
    };
    auto cross = [&](gdr_Point p, gdr_Point q) { return OnSide(b, edge, p, q); };
    std::vector<gdr_Point> out;
    out.reserve(poly.size() + 4);
    for (size_t i = 0; i < poly.size(); ++i) {
      const gdr_Point cur = poly[i];
      const gdr_Point prev = poly[(i + poly.size() - 1) % poly.size()];
      const bool curIn = inside(cur);
      const bool prevIn = inside(prev);
      if (curIn) {
        if (!prevIn) out.push_back(cross(prev, cur));
        out.push_back(cur);
      } else if (prevIn) {
        out.push_back(cross(prev, cur));
      }
    }
    poly = std::move(out);
  }
  return poly;
}

double Clamp01(double v) {
  return std::isfinite(v) ? std::clamp(v, 0.0, 1.0) : 0.0;
}

bool Finite(gdr_Point p) {
  return std::isfinite(p.x) && std::isfinite(p.y);
}

// Length in bytes of the UTF-8 sequence at s[i], 0 when it is not a valid one (overlong forms,
// surrogates and code points beyond U+10FFFF are invalid).
size_t Utf8Length(std::string_view s, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char c = byte(i);
  if (c < 0x80) return 1;
  size_t n;
  unsigned cp;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
    cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    cp = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    cp = c & 0x07;
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  for (size_t k = 1; k < n; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (byte(i + k) & 0x3F);
  }
  if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF))) return 0;
  if (cp >= 0xD800 && cp <= 0xDFFF) return 0;
  return n;
}
}  // namespace

gdr_Renderer::gdr_Renderer(int width, int height) : width_(width), height_(height) {
  OMI_ASSERT(width >= 1 && height >= 1);
}

gdr_Renderer::~gdr_Renderer() = default;

void gdr_Renderer::SetBackground(const gdr_Color& color) {
  background_ = {Clamp01(color.r), Clamp01(color.g), Clamp01(color.b)};
}

void gdr_Renderer::Clear() {
  const gdr_Point corners[4] = {{0.0, 0.0},
                                {static_cast<double>(width_), 0.0},
                                {static_cast<double>(width_), static_cast<double>(height_)},
                                {0.0, static_cast<double>(height_)}};
  const gdr_Color color = color_;
  color_ = background_;
  FillPath(corners, 4);
  color_ = color;
}

void gdr_Renderer::PushTransform(const g3d_XForm& xf) {
  saved_.push_back(transform_);
  transform_ = transform_ * xf;
}

void gdr_Renderer::PopTransform() {
  OMI_ASSERT(!saved_.empty());
  transform_ = saved_.back();
  saved_.pop_back();
}

void gdr_Renderer::SetColor(const gdr_Color& color) {
  color_ = {Clamp01(color.r), Clamp01(color.g), Clamp01(color.b)};
}

void gdr_Renderer::SetLineWidth(double width) {
  lineWidth_ = std::isfinite(width) && width > 0.0 ? std::min(width, kMaxLineWidth) : 0.0;
}

void gdr_Renderer::SetLineStyle(g3d_LineStyleEnum style) {
  lineStyle_ = style >= g3d_SOLID && style <= g3d_DOT_DASH ? style : g3d_SOLID;
}

std::vector<double> gdr_Renderer::DashPattern(g3d_LineStyleEnum style, double width) {
  const double u = std::isfinite(width) ? std::max(width, 1.0) : 1.0;
  switch (style) {
    case g3d_DASHED:
      return {6.0 * u, 4.0 * u};
    case g3d_DOTTED:
      return {1.0 * u, 3.0 * u};
    case g3d_DOT_DASH:
      return {6.0 * u, 3.0 * u, 1.0 * u, 3.0 * u};
    default:
      return {};
  }
}

void gdr_Renderer::AskToStop() {
  work_ = 0;
  if (interruptible_) omi_Singleton<cmdC_WIP>::Instance().InterruptedThrow();
}

void gdr_Renderer::EmitPiece(std::vector<gdr_Point>& piece, bool closed) {
  if (closed && piece.size() >= 2 && piece.back() == piece.front()) piece.pop_back();
  if (closed && piece.size() >= 3) {
    StrokePath(piece.data(), piece.size(), true);
  } else if (piece.size() >= 2) {
    StrokePath(piece.data(), piece.size(), false);
  }
  piece.clear();
}

void gdr_Renderer::DrawPolyline(const float* x, const float* y, size_t n, bool closed) {
  if (n < 2 || lineWidth_ <= 0.0) return;
  const Box box = SafeBox(width_, height_, 64.0 + 2.0 * lineWidth_);
  // A closed polyline is walked as an open one that returns to its first point; only when it
  // stays one unbroken, unclipped piece is it handed over as closed (for the join at the start).
  const bool closing = closed && n >= 3;
  const size_t total = closing ? n + 1 : n;
  std::vector<gdr_Point>& piece = piece_;
  piece.clear();
  bool whole = true;

  // The run of points in one pixel column, by their order of arrival.
  struct Indexed {
    gdr_Point p;
    size_t i;
  };
  bool haveRun = false;
  double runColumn = 0.0;
  Indexed first{}, last{}, low{}, high{};
  size_t arrival = 0;
  auto flushRun = [&] {
    if (!haveRun) return;
    haveRun = false;
    piece.push_back(first.p);
    const Indexed* a = low.i <= high.i ? &low : &high;
    const Indexed* b = low.i <= high.i ? &high : &low;
    if (a->i != first.i && a->i != last.i) piece.push_back(a->p);
    if (b->i != first.i && b->i != last.i && b->i != a->i) piece.push_back(b->p);
    if (last.i != first.i) piece.push_back(last.p);
  };
  auto feed = [&](gdr_Point p) {
    const double column = std::floor(p.x);
    const size_t i = arrival++;
    if (haveRun && column == runColumn) {
      last = {p, i};
      if (p.y < low.p.y) low = {p, i};
      if (p.y > high.p.y) high = {p, i};
      return;
    }
    flushRun();
    haveRun = true;
    runColumn = column;
    first = last = low = high = {p, i};
  };
  auto endPiece = [&] {
    flushRun();
    EmitPiece(piece, false);
  };

  bool havePrevious = false;
  bool open = false;  // the previous point is inside the box and was fed
  gdr_Point previous{};
  // Counted in blocks: one test per point and the count's bookkeeping once per block.
  constexpr size_t kBlock = 4096;
  for (size_t k = 0; k < total; ++k) {
    if (k % kBlock == kBlock - 1) CountWork(kBlock);
    const size_t i = k < n ? k : 0;
    const double wx = x[i];
    const double wy = y[i];
    gdr_Point p{NAN, NAN};
    if (std::isfinite(wx) && std::isfinite(wy)) {
      const g3d_XForm::Point d = transform_.Apply(wx, wy);
      p = {d.x, d.y};
    }
    if (!Finite(p)) {
      endPiece();
      havePrevious = open = whole = false;
      continue;
    }
    if (!havePrevious) {
      havePrevious = true;
      previous = p;
      open = box.Contains(p);
      if (open) {
        feed(p);
      } else {
        whole = false;
      }
      continue;
    }
    double t0;
    double t1;
    int side0;
    int side1;
    if (!ClipSegment(box, previous, p, t0, t1, side0, side1)) {
      if (open) endPiece();
      open = whole = false;
    } else {
      if (!open) {
        endPiece();
        feed(side0 >= 0 ? OnSide(box, side0, previous, p) : previous);
        whole = false;
      }
      const bool reaches = t1 >= 1.0;
      feed(reaches || side1 < 0 ? p : OnSide(box, side1, previous, p));
      open = reaches;
      if (!open) {
        endPiece();
        whole = false;
      }
    }
    previous = p;
  }
  flushRun();
  EmitPiece(piece, closing && whole);
  CountWork(total % kBlock);
}

void gdr_Renderer::DrawLine(double x0, double y0, double x1, double y1) {
  const float x[2] = {static_cast<float>(x0), static_cast<float>(x1)};
  const float y[2] = {static_cast<float>(y0), static_cast<float>(y1)};
  DrawPolyline(x, y, 2, false);
}

void gdr_Renderer::DrawMarker(double x, double y, g3d_MarkerEnum marker, double size) {
  CountWork(kMarkerWork);
  if (!std::isfinite(size) || size <= 0.0) return;
  size = std::min(size, kMaxMarkerSize);
  if (!std::isfinite(x) || !std::isfinite(y)) return;
  const g3d_XForm::Point d = transform_.Apply(x, y);
  const gdr_Point center{d.x, d.y};
  if (!Finite(center) || !SafeBox(width_, height_, 2.0 * size).Contains(center)) return;
  if (marker < g3d_FILLED_CIRCLE || marker > g3d_DEFAULT_MARKER) marker = g3d_DEFAULT_MARKER;
  Marker(center, marker, size);
}

void gdr_Renderer::FillRectangle(double x0, double y0, double x1, double y1) {
  const double wx[4] = {x0, x1, x1, x0};
  const double wy[4] = {y0, y0, y1, y1};
  std::vector<gdr_Point> quad(4);
  for (int k = 0; k < 4; ++k) {
    if (!std::isfinite(wx[k]) || !std::isfinite(wy[k])) return;
    const g3d_XForm::Point d = transform_.Apply(wx[k], wy[k]);
    quad[k] = {d.x, d.y};
    if (!Finite(quad[k])) return;
  }
  quad = ClipPolygon(std::move(quad), SafeBox(width_, height_, 64.0));
  if (quad.size() >= 3) FillPath(quad.data(), quad.size());
}

void gdr_Renderer::FillPolygon(const float* x, const float* y, size_t n) {
  CountWork(n);
  if (n < 3) return;
  std::vector<gdr_Point> polygon(n);
  for (size_t k = 0; k < n; ++k) {
    if (!std::isfinite(x[k]) || !std::isfinite(y[k])) return;
    const g3d_XForm::Point d = transform_.Apply(x[k], y[k]);
    polygon[k] = {d.x, d.y};
    if (!Finite(polygon[k])) return;
  }
  polygon = ClipPolygon(std::move(polygon), SafeBox(width_, height_, 64.0));
  if (polygon.size() >= 3) FillPath(polygon.data(), polygon.size());
}

void gdr_Renderer::DrawText(const cow_String& text, const gru_Font& font,
                            const g3d_XForm& textToWorld) {
  const g3d_XForm xf = transform_ * textToWorld;
  if (!xf.IsFinite()) return;
  const double em = std::sqrt(std::fabs(xf.Determinant()));
  const double reach = std::max(std::hypot(xf.A(), xf.D()), std::hypot(xf.B(), xf.E()));
  if (!(em >= kMinTextEm) || !(reach <= kMaxTextEm)) return;
  const std::string utf8 = TextToUtf8(text);
  if (utf8.empty()) return;
  // Every glyph lies within [0, 2 per character] x [-1, 2] in text units: text entirely outside
  // the viewport is left out, and so is text that would reach beyond the back ends' range.
  const double length = 2.0 * static_cast<double>(utf8.size()) + 1.0;
  const double tx[4] = {-1.0, length, length, -1.0};
  const double ty[4] = {-1.0, -1.0, 2.0, 2.0};
  double lo[2] = {INFINITY, INFINITY};
  double hi[2] = {-INFINITY, -INFINITY};
  for (int k = 0; k < 4; ++k) {
    const g3d_XForm::Point d = xf.Apply(tx[k], ty[k]);
    lo[0] = std::min(lo[0], d.x);
    lo[1] = std::min(lo[1], d.y);
    hi[0] = std::max(hi[0], d.x);
    hi[1] = std::max(hi[1], d.y);
  }
  if (hi[0] < 0.0 || hi[1] < 0.0 || lo[0] > width_ || lo[1] > height_) return;
  if (std::max({-lo[0], -lo[1], hi[0], hi[1]}) > kMaxDeviceCoordinate) return;
  Text(utf8, font, xf);
}

std::string gdr_Renderer::TextToUtf8(const cow_String& text) {
  const std::string_view s = text.View();
  bool valid = true;
  for (size_t i = 0; i < s.size() && valid;) {
    const size_t n = Utf8Length(s, i);
    valid = n > 0;
    i += n;
  }
  std::string out;
  out.reserve(s.size() + s.size() / 4);
  for (size_t i = 0; i < s.size(); ++i) {
    const char ch = s[i];
    const unsigned char c = static_cast<unsigned char>(ch);
    // U+FFFE and U+FFFF are no characters (XML refuses them): the replacement character instead.
    if (valid && c == 0xEF && i + 2 < s.size() && s[i + 1] == '\xBF' &&
        (s[i + 2] == '\xBE' || s[i + 2] == '\xBF')) {
      out += "\xEF\xBF\xBD";
      i += 2;
    } else if (c < 0x20 || c == 0x7F || (!valid && c >= 0x80 && c < 0xA0)) {
      out.push_back(' ');
    } else if (valid || c < 0x80) {
      out.push_back(ch);
    } else {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}
