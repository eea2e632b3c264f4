#include "xypK_XYPlotEditor.h"

#include <algorithm>
#include <cctype>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <vector>

#include "g3d_Color.h"
#include "g3d_Utils.h"
#include "gdr_BoundsRenderer.h"
#include "gdr_Renderer.h"
#include "gru_Text3D.h"
#include "sesK_ColorMap.h"
#include "xypC_Utils.h"
#include "xypK_Scene.h"
#include "xypK_Utils.h"
#include "xypK_XYPlot.h"
#include "xypK_XYToolset.h"

float xypK_XYPlotEditor::xBound = 0.0f;
float xypK_XYPlotEditor::yBound = 0.0f;

namespace {
// More tick or grid positions than this per drawing would only blacken the picture: a count that
// large comes from options no layout accepts, and the loops stay bounded whatever they hold.
constexpr int kMaxPositions = 10000;
// Pairs passed over between two counts of the renderer's work (its interruption check).
constexpr std::size_t kWorkBlock = 4096;

float TextSize(float option) {
  return std::min(option, 10.0f) * xypK_XYPlotEditor::scaleRate + xypK_XYPlotEditor::minTextSize;
}

// A value on a logarithmic axis is drawn at its decade.
float OnAxis(float v, bool log) {
  if (!log) return v;
  return v > FLT_MIN ? std::log10(v) : std::log10(FLT_MIN);
}

bool IsDefaultColour(const cow_String& name) {
  const std::string_view v = name.View();
  if (v.empty()) return true;
  if (v.size() != 7) return false;
  for (std::size_t i = 0; i < 7; ++i)
    if (std::tolower(static_cast<unsigned char>(v[i])) != "default"[i]) return false;
  return true;
}

const cow_String& FontOr(const cow_String& font) {
  static const cow_String kDefault = xypK_DefaultFont();
  return font.IsEmpty() ? kDefault : font;
}
}  // namespace

struct xypK_XYPlotEditor::Frame {
  xypK_XYPlot& plot;
  xypC_XYPlotOptions& options;
  g3d_XForm camera;  // world to device
  g3d_XForm data;    // data to world
  float xMin, xMax, yMin, yMax;
};

xypK_XYPlotEditor::xypK_XYPlotEditor(const cow_String& plotName, const xypK_Scene* scene)
    : plotName_(plotName), scene_(scene), legendFont_(xypK_DefaultFont()) {}

void xypK_XYPlotEditor::SetLegendOptions(bool use, bool boxUse, int digits, float x, float y,
                                         cow_String font, cow_String textColour,
                                         sesC_BackgroundStyleEnm style, cow_String backgroundColour,
                                         bool flag) {
  legendUse_ = use;
  legendBoxUse_ = boxUse;
  legendDigits_ = digits;
  legendX_ = x;
  legendY_ = y;
  legendFont_ = font;
  legendTextColour_ = textColour;
  legendBackgroundStyle_ = style;
  legendBackgroundColour_ = backgroundColour;
  legendExtremes_ = flag;
}

void xypK_XYPlotEditor::SetLegendOptions(const sesC_ViewAnnCTX& s) {
  SetLegendOptions(s.legendUse, s.legendBBoxUse, s.legendNumDigitsPrecision, s.legendXPosition,
                   s.legendYPosition, s.legendFontName, s.legendTextColor, s.legendBackgroundStyle,
                   s.legendBackgroundColor, s.legendExtremes);
}

void xypK_XYPlotEditor::Load(g3d_Sphere* extent) {
  loaded_ = true;
  if (!extent) return;
  const xypK_XYToolset& toolset = xypK_XYToolset::Instance();
  *extent = toolset.IsXYPlot(plotName_) ? toolset.ConstGetXYPlot(plotName_).GetExtent()
                                        : g3d_Sphere(0.0f, 0.0f, 0.0f, 1.0f);
}

namespace {
// A plot whose axes were never laid out (or cannot be) has no area to draw into.
bool HasArea(float xMin, float xMax, float yMin, float yMax) {
  return xMax > xMin && yMax > yMin && std::isfinite(xMax - xMin) && std::isfinite(yMax - yMin);
}
}  // namespace

void xypK_XYPlotEditor::Draft(gdr_Renderer& renderer) const {
  xypK_XYToolset& toolset = xypK_XYToolset::Instance();
  if (!loaded_ || !toolset.IsXYPlot(plotName_)) return;
  xypK_XYPlot& plot = toolset.GetXYPlot(plotName_);
  Frame f{plot,          plot.options,  renderer.Transform(), g3d_XForm(),
          plot.xAxisMin, plot.xAxisMax, plot.yAxisMin,        plot.yAxisMax};
  if (!HasArea(f.xMin, f.xMax, f.yMin, f.yMax)) return;
  if (scene_ && scene_->IsFillingIdBuffer()) {  // only what can be picked
    DraftCurves(renderer);
    return;
  }
  UseDataScaling(renderer, f);
  DrawDecorations(renderer, f);
  if (plot.numDisplayedCurves > 0) DrawCurves(renderer, f);
  DrawAxesTitles(renderer, f);
  if (legendUse_ && plot.numDisplayedCurves > 0) DrawLegend(renderer, f);
  renderer.SetTransform(f.camera);
}

void xypK_XYPlotEditor::DrawDecorations(gdr_Renderer& renderer, Frame& f) const {
  DrawAxes(renderer, f);
  DrawTickMarksAndGrids(renderer, f, true);
  DrawTickMarksAndGrids(renderer, f, false);
  DrawAxisLabels(renderer, f, true);
  DrawAxisLabels(renderer, f, false);
}

void xypK_XYPlotEditor::DraftCurves(gdr_Renderer& renderer) const {
  xypK_XYToolset& toolset = xypK_XYToolset::Instance();
  if (!loaded_ || !toolset.IsXYPlot(plotName_)) return;
  xypK_XYPlot& plot = toolset.GetXYPlot(plotName_);
  Frame f{plot,          plot.options,  renderer.Transform(), g3d_XForm(),
          plot.xAxisMin, plot.xAxisMax, plot.yAxisMin,        plot.yAxisMax};
  if (!HasArea(f.xMin, f.xMax, f.yMin, f.yMax) || plot.numDisplayedCurves <= 0) return;
  UseDataScaling(renderer, f);
  DrawCurves(renderer, f);
  renderer.SetTransform(f.camera);
}

bool xypK_XYPlotEditor::FrameBounds(float& x0, float& y0, float& x1, float& y1) const {
  const xypK_XYToolset& toolset = xypK_XYToolset::Instance();
  if (!toolset.IsXYPlot(plotName_)) return false;
  const xypK_XYPlot& plot = toolset.ConstGetXYPlot(plotName_);
  if (!HasArea(plot.xAxisMin, plot.xAxisMax, plot.yAxisMin, plot.yAxisMax)) return false;
  const float a = plot.options.aspectRatio;
  const float w = a <= 1.0f ? a : 1.0f, h = a <= 1.0f ? 1.0f : 1.0f / a;
  x0 = (1.0f - w) / 2.0f;
  x1 = x0 + w;
  y0 = (1.0f - h) / 2.0f;
  y1 = y0 + h;
  return true;
}

bool xypK_XYPlotEditor::ContentBounds(float& x0, float& y0, float& x1, float& y1) const {
  xypK_XYToolset& toolset = xypK_XYToolset::Instance();
  if (!toolset.IsXYPlot(plotName_) || !FrameBounds(x0, y0, x1, y1)) return false;
  xypK_XYPlot& plot = toolset.GetXYPlot(plotName_);
  // Texts scale with the plot area, so the box is the same at every size: measured at 1000
  // device units per world unit, well inside a viewport that keeps every piece.
  constexpr double kScale = 1000.0, kOrigin = 8000.0;
  gdr_BoundsRenderer bounds(16000, 16000);
  bounds.SetTransform(g3d_XForm::Translation(kOrigin, kOrigin) * g3d_XForm::Scale(kScale, kScale));
  Frame f{plot,          plot.options,  bounds.Transform(), g3d_XForm(),
          plot.xAxisMin, plot.xAxisMax, plot.yAxisMin,      plot.yAxisMax};
  UseDataScaling(bounds, f);
  DrawDecorations(bounds, f);
  DrawAxesTitles(bounds, f);
  if (bounds.IsEmpty()) return true;
  x0 = std::min(x0, static_cast<float>((bounds.XMin() - kOrigin) / kScale));
  y0 = std::min(y0, static_cast<float>((bounds.YMin() - kOrigin) / kScale));
  x1 = std::max(x1, static_cast<float>((bounds.XMax() - kOrigin) / kScale));
  y1 = std::max(y1, static_cast<float>((bounds.YMax() - kOrigin) / kScale));
  return true;
}

void xypK_XYPlotEditor::HighlightPoint(gdr_Renderer& renderer) const {
  xypK_XYToolset& toolset = xypK_XYToolset::Instance();
  if (!loaded_ || !scene_ || !toolset.IsXYPlot(plotName_)) return;
  xypK_XYPlot& plot = toolset.GetXYPlot(plotName_);
  Frame f{plot,          plot.options,  renderer.Transform(), g3d_XForm(),
          plot.xAxisMin, plot.xAxisMax, plot.yAxisMin,        plot.yAxisMax};
  if (!(f.xMax > f.xMin) || !(f.yMax > f.yMin)) return;
  bool scaled = false;
  for (const auto& info : scene_->Highlights()) {
    int position = -1;
    for (std::size_t i = 0; i < plot.curvesToPlot.Size() && position < 0; ++i)
      if (plot.curvesToPlot[i] == info->CurveName()) position = static_cast<int>(i);
    if (position < 0 || !plot.curves.IsMember(info->CurveName())) continue;
    if (!scaled) {
      UseDataScaling(renderer, f);
      scaled = true;
    }
    const xypK_Curve& curve = plot.curves.ConstGet(info->CurveName());
    if (info->X() != CurveHighlightInfo::kNotSet && info->Y() != CurveHighlightInfo::kNotSet)
      HighlightOnePoint(renderer, f, curve.options, position, info->X(), info->Y());
    const udd_UserXYData& data = curve.ConstGetCurveXYData();
    for (int k = 0; k < info->Count(); ++k) {
      const std::size_t index = static_cast<std::size_t>(info->Index(k));
      if (index < data.Size())
        HighlightOnePoint(renderer, f, curve.options, position, data.Pair(index).x,
                          data.Pair(index).y);
    }
  }
  renderer.SetTransform(f.camera);
}

void xypK_XYPlotEditor::HighlightOnePoint(gdr_Renderer& renderer, const Frame& f,
                                          const xypC_CurveOptions& options, int position, float x,
                                          float y) const {
  x = OnAxis(x, f.options.xAxisScale == xypC_LOG);
  y = OnAxis(y, f.options.yAxisScale == xypC_LOG);
  if (!(x >= f.xMin && x <= f.xMax && y >= f.yMin && y <= f.yMax)) return;
  // The renderer's highlight switch is on when the curve's own symbols are red already.
  cow_String own = options.symbolColor;
  if (IsDefaultColour(own)) own = options.lineColor;
  if (IsDefaultColour(own)) own = xypC_Utils::GetDefaultColor(position);
  unsigned char red[3] = {255, 0, 0}, ownRgb[3] = {0, 0, 0};
  sesK_ColorMap& colours = sesK_ColorMap::Instance();
  colours.Lookup("Red", red);
  colours.Lookup(own, ownRgb);
  renderer.SetHighlight(ownRgb[0] == red[0] && ownRgb[1] == red[1] && ownRgb[2] == red[2]);
  renderer.SetColor(gdr_Color::FromBytes(red[0], red[1], red[2]));
  renderer.SetLineStyle(g3d_SOLID);
  renderer.SetLineWidth(1.0);
  const g3d_MarkerEnum marker = options.symbolMarker == g3d_DEFAULT_MARKER
                                    ? xypC_Utils::GetDefaultMarker(position)
                                    : options.symbolMarker;
  renderer.DrawMarker(x, y, marker, g3d_Utils::ConvertMarkerSize(g3d_SMALL));
  renderer.SetHighlight(false);
}

void xypK_XYPlotEditor::UseDataScaling(gdr_Renderer& renderer, Frame& f) const {
  const float a = f.options.aspectRatio;
  float w = 1.0f, h = 1.0f;
  if (a <= 1.0f)
    w = a;
  else
    h = 1.0f / a;
  g3d_XForm xf = a != 1.0f ? g3d_XForm::Translation((1.0f - w) / 2.0f, (1.0f - h) / 2.0f)
                           : g3d_XForm::Identity();
  xf = xf * g3d_XForm::Scale(w / (f.xMax - f.xMin), h / (f.yMax - f.yMin)) *
       g3d_XForm::Translation(-f.xMin, -f.yMin);
  f.data = xf;
  renderer.SetTransform(f.camera * f.data);
}

gdr_Color xypK_XYPlotEditor::Resolve(const gdr_Renderer& renderer, const cow_String& colour,
                                     int position, const cow_String& fallback) const {
  cow_String name = colour;
  if (IsDefaultColour(name)) name = fallback;
  if (IsDefaultColour(name)) name = xypC_Utils::GetDefaultColor(position);
  unsigned char rgb[3] = {0, 0, 0};
  sesK_ColorMap::Instance().Lookup(name, rgb);
  return g3d_Color::GetContrastingColor(gdr_Color::FromBytes(rgb[0], rgb[1], rgb[2]),
                                        renderer.Background());
}

void xypK_XYPlotEditor::DrawAxes(gdr_Renderer& renderer, const Frame& f) const {
  renderer.SetLineWidth(g3d_Utils::ConvertLineThickness(f.options.axisThickness));
  renderer.SetColor(Resolve(renderer, f.options.axisColor, 0, "Black"));
  renderer.SetLineStyle(g3d_SOLID);
  const float x[] = {f.xMin, f.xMax, f.xMax, f.xMin};
  const float y[] = {f.yMin, f.yMin, f.yMax, f.yMax};
  renderer.DrawPolyline(x, y, 4, true);
}

void xypK_XYPlotEditor::DrawTickMarksAndGrids(gdr_Renderer& renderer, const Frame& f,
                                              bool alongX) const {
  const xypK_XYPlot& p = f.plot;
  const xypC_XYPlotOptions& o = f.options;
  // Positions run along `a` (the axis drawn); ticks stand on the two frame lines across it.
  const float aMin = alongX ? f.xMin : f.yMin, aMax = alongX ? f.xMax : f.yMax;
  const float bMin = alongX ? f.yMin : f.xMin, bMax = alongX ? f.yMax : f.xMax;
  const int n = alongX ? p.xNumIntervals : p.yNumIntervals;
  const float inc = alongX ? p.xIncrement : p.yIncrement;
  const float startOffset = alongX ? p.xStartOffset : p.yStartOffset;
  const float endOffset = alongX ? p.xEndOffset : p.yEndOffset;
  const bool log = (alongX ? o.xAxisScale : o.yAxisScale) == xypC_LOG;
  if (!(inc > 0.0f) || !std::isfinite(inc) || n < 0 || n > kMaxPositions) return;
  const float x0 = aMin + startOffset;
  const float major = (bMax - bMin) / 25.0f;
  int m = alongX ? o.numXMinorTicks : o.numYMinorTicks;
  // No more minor ticks than device pixels in an interval.
  const g3d_XForm::Point step =
      renderer.Transform().ApplyLinear(alongX ? inc : 0, alongX ? 0 : inc);
  const double pixels = std::hypot(step.x, step.y);
  m = static_cast<int>(std::clamp<double>(m, 0.0, std::min<double>(pixels, kMaxPositions)));

  auto line = [&](float a, float b0, float b1) {
    if (alongX)
      renderer.DrawLine(a, b0, a, b1);
    else
      renderer.DrawLine(b0, a, b1, a);
  };
  std::vector<float> majors;
  float pos = x0;
  for (int i = 0; i <= n; ++i) {
    majors.push_back(pos);
    if (i < n) pos += (aMax - endOffset - pos) / static_cast<float>(n - i);
  }
  std::vector<float> before;  // minor positions below the first major tick
  if (m > 0) {
    const float minorStep = inc / static_cast<float>(m + 1);
    for (int k = 1; k <= m + 1; ++k) {
      const float v = x0 - static_cast<float>(k) * minorStep;
      if (!(v > aMin)) break;
      if (v < aMax) before.push_back(v);
    }
  }
  std::vector<float> minors;
  for (int i = 0; i < n; ++i) {
    if (log) {
      for (int k = 2; k <= 9; ++k) {
        const float v = majors[i] + std::log10(static_cast<float>(k));
        if (v > aMin && v < aMax) minors.push_back(v);
      }
    } else {
      for (int k = 1; k <= m; ++k) {
        const float v = majors[i] + static_cast<float>(k) * inc / static_cast<float>(m + 1);
        if (v > aMin && v < aMax) minors.push_back(v);
      }
    }
  }

  const bool majorGrid = alongX ? o.xMajorGridLines : o.yMajorGridLines;
  const bool minorGrid = alongX ? o.xMinorGridLines : o.yMinorGridLines;
  if (majorGrid) {
    renderer.SetLineWidth(g3d_Utils::ConvertLineThickness(o.majorGridLineThickness));
    renderer.SetColor(Resolve(renderer, o.majorGridLineColor, 0, "Gray"));
    renderer.SetLineStyle(o.majorGridLineStyle);
    for (float v : majors)
      if (v - aMin > 0.08f * inc && aMax - v > 0.08f * inc && v <= aMax) line(v, bMin, bMax);
  }
  if (minorGrid) {
    renderer.SetLineWidth(g3d_Utils::ConvertLineThickness(o.minorGridLineThickness));
    renderer.SetColor(Resolve(renderer, o.minorGridLineColor, 0, "LightGray"));
    renderer.SetLineStyle(o.minorGridLineStyle);
    if (std::fabs(startOffset) > 0.05f * inc)
      for (float v : before) line(v, bMin, bMax);
    for (float v : minors) line(v, bMin, bMax);
  }

  renderer.SetLineWidth(g3d_Utils::ConvertLineThickness(o.axisThickness));
  renderer.SetColor(Resolve(renderer, o.axisColor, 0, "Black"));
  renderer.SetLineStyle(g3d_SOLID);
  auto tickPair = [&](float v, float length) {
    line(v, bMin, bMin + length);
    line(v, bMax, bMax - length);
  };
  if (std::fabs(startOffset) > 0.08f * inc)
    for (float v : before) tickPair(v, major / 2.0f);
  for (float v : majors)
    if (v - aMin > 0.05f * inc && aMax - v > 0.05f * inc && v <= aMax) tickPair(v, major);
  for (float v : minors) tickPair(v, major / 2.0f);
}

int xypK_XYPlotEditor::LabelExponent(float axisMin, float axisMax, int format) {
  if (format == xypC_AUTOMATIC) {
    const float range = axisMax - axisMin;
    int p = xypK_XYPlot::NoOfPower(range);
    if (range / static_cast<float>(std::pow(10.0, p)) <= 5.0f) p = p - 1;
    int e = (p / 3) * 3;
    const int r = p + 1 - e;
    if (r >= 3)
      e += 3;
    else if (r <= -3)
      e -= 3;
    return e;
  }
  if (format == xypC_POWER)
    return xypK_XYPlot::NoOfPower(std::max(std::fabs(axisMin), std::fabs(axisMax)));
  return 0;
}

cow_String xypK_XYPlotEditor::LabelText(float value, int decimals) {
  char text[400];
  std::snprintf(text, sizeof text, "%.*f", std::clamp(decimals, 0, 15), static_cast<double>(value));
  return text;
}

int xypK_XYPlotEditor::AutomaticDecimals(double first, double increment, int count) {
  if (!(increment > 0.0) || !std::isfinite(increment) || !std::isfinite(first) || count < 0)
    return 0;
  const double tolerance = 1e-3 * increment;
  for (int d = 0; d < kMaxAutoDecimals; ++d) {
    const double unit = std::pow(10.0, d);
    bool exact = true;
    for (int i = 0; i <= count && exact; ++i) {
      const double v = first + i * increment;
      exact = std::fabs(std::round(v * unit) / unit - v) <= tolerance;
    }
    if (exact) return d;
  }
  return kMaxAutoDecimals;
}

int xypK_XYPlotEditor::LabelDecimals(const Frame& f, bool alongX, float scale) const {
  const xypC_XYPlotOptions& o = f.options;
  if ((alongX ? o.xAxisScale : o.yAxisScale) == xypC_LOG) return 0;
  const int option = alongX ? o.xAxisLabelDecimalPlaces : o.yAxisLabelDecimalPlaces;
  if (option >= 0) return option;
  const xypK_XYPlot& p = f.plot;
  const float aMin = alongX ? f.xMin : f.yMin;
  const float first = aMin + (alongX ? p.xStartOffset : p.yStartOffset);
  const float inc = alongX ? p.xIncrement : p.yIncrement;
  const int n = std::clamp(alongX ? p.xNumIntervals : p.yNumIntervals, 0, kMaxPositions);
  // In label units: the values as the labels print them (floats, as drawn).
  return AutomaticDecimals(static_cast<double>(first) / scale, static_cast<double>(inc) / scale, n);
}

int xypK_XYPlotEditor::AdjustedFreq(const Frame& f, bool alongX, float scale, int decimals) const {
  const xypC_XYPlotOptions& o = f.options;
  const xypK_XYPlot& p = f.plot;
  int freq = alongX ? o.xAxisLabelFrequency : o.yAxisLabelFrequency;
  const int ticks = alongX ? p.xNumTicks : p.yNumTicks;
  if (freq > ticks + 1) freq = ticks + 1;
  const float s = std::max(0.01f, TextSize(alongX ? o.xAxisLabelSize : o.yAxisLabelSize));
  const float aMin = alongX ? f.xMin : f.yMin, aMax = alongX ? f.xMax : f.yMax;
  gru_Text3D text(FontOr(alongX ? o.xAxisLabelFont : o.yAxisLabelFont));
  float lo[2], hi[2];
  text.Extent(LabelText(aMax / scale, decimals), lo, hi);
  const float height = hi[1] - lo[1];
  if (!(height > 0.0f)) return freq;
  // Labels along X take their width, along Y their height.
  const float need = alongX ? (hi[0] - lo[0]) * s / height : s;
  float d = (alongX ? p.xIncrement : p.yIncrement) / (aMax - aMin);
  if (o.aspectRatio < 1.0f) d *= alongX ? o.aspectRatio : 1.0f;
  if (o.aspectRatio > 1.0f && !alongX) d /= o.aspectRatio;
  if (!(d > 0.0f) || !std::isfinite(d)) return freq;
  while (static_cast<float>(freq) * d * 0.9f < need && freq <= ticks + 1) ++freq;
  return freq;
}

void xypK_XYPlotEditor::DrawAxisLabels(gdr_Renderer& renderer, Frame& f, bool alongX) const {
  xypC_XYPlotOptions& o = f.options;
  const xypK_XYPlot& p = f.plot;
  int& frequencyOption = alongX ? o.xAxisLabelFrequency : o.yAxisLabelFrequency;
  if (frequencyOption == 0) return;
  const float aMin = alongX ? f.xMin : f.yMin, aMax = alongX ? f.xMax : f.yMax;
  const int n = alongX ? p.xNumIntervals : p.yNumIntervals;
  const float inc = alongX ? p.xIncrement : p.yIncrement;
  if (!(inc > 0.0f) || !std::isfinite(inc) || n < 0 || n > kMaxPositions) return;
  const bool log = (alongX ? o.xAxisScale : o.yAxisScale) == xypC_LOG;
  const int format = alongX ? o.xAxisLabelFormat : o.yAxisLabelFormat;
  const int e = log ? 0 : LabelExponent(aMin, aMax, format);
  const float scale = static_cast<float>(std::pow(10.0, e));
  const int decimals = LabelDecimals(f, alongX, scale);
  const int freq = AdjustedFreq(f, alongX, scale, decimals);
  if (freq != frequencyOption) frequencyOption = freq;
  const float size = TextSize(alongX ? o.xAxisLabelSize : o.yAxisLabelSize);
  const cow_String& font = FontOr(alongX ? o.xAxisLabelFont : o.yAxisLabelFont);
  renderer.SetColor(Resolve(renderer, o.axisColor, 0, "Black"));
  const float x0 = aMin + (alongX ? p.xStartOffset : p.yStartOffset);
  // Labels stand below the X axis and left of the Y axis.
  const float across =
      alongX ? f.yMin - yOffsetRate * (f.yMax - f.yMin) : f.xMin - xOffsetRate * (f.xMax - f.xMin);
  float last = x0;
  cow_String lastText;
  for (int i = 0; i <= n; ++i) {
    if (freq <= 0 || i % freq != 0) continue;
    const float v = x0 + static_cast<float>(i) * inc;
    if (v > aMax && v - aMax >= 0.001f * inc) continue;
    const cow_String text = LabelText(v / scale, decimals);
    const float x = alongX ? v : across, y = alongX ? across : v;
    if (log)
      DrawPower(renderer, f, x, y, "10", text, size, alongX, font);
    else
      DrawText(renderer, f, x, y, text, size, alongX ? xypC_ALIGN_X_LABEL : xypC_ALIGN_Y_LABEL,
               font);
    last = v;
    lastText = text;
  }
  if ((format == xypC_AUTOMATIC || format == xypC_POWER) && e != 0 && !log) {
    const cow_String exponent = cow_String::FromInt(e);
    if (!alongX) {
      DrawPower(renderer, f, across, f.yMax, "[x10  ]", exponent, size, false, font);
      return;
    }
    // Right of the last label, but not left of the axis end; widths measured in world units.
    gru_Text3D text(font);
    float lo[2], hi[2];
    auto width = [&](const cow_String& t) {
      text.Extent(t, lo, hi);
      const float h = hi[1] - lo[1];
      return h > 0.0f ? (hi[0] - lo[0]) * size / h : 0.0f;
    };
    const float lastWorld = static_cast<float>(f.data.Apply(last, 0).x);
    const float endWorld = static_cast<float>(f.data.Apply(f.xMax, 0).x);
    const float anchorWorld =
        std::max(lastWorld + 0.5f * width(lastText), endWorld) + 0.5f * width("     [x10  ]");
    const float anchor =
        static_cast<float>((anchorWorld - f.data.C()) / f.data.A());  // back to data units
    DrawPower(renderer, f, anchor, across, "[x10  ]", exponent, size, true, font);
  }
}

void xypK_XYPlotEditor::DrawText(gdr_Renderer& renderer, const Frame& f, float x, float y,
                                 cow_String text, float size, xypC_AlignEnum alignment,
                                 const cow_String& font) const {
  if (!(size > 0.0f) || !std::isfinite(size)) return;
  // "-0.00" is drawn as "0.00".
  const std::string_view t = text.View();
  if (t.size() > 1 && t.find("-0") != std::string_view::npos &&
      t.substr(1).find_first_not_of("0.") == std::string_view::npos)
    text = cow_String(t.substr(1));
  const g3d_XForm::Point anchor = f.data.Apply(x, y);
  const float ax = static_cast<float>(anchor.x), ay = static_cast<float>(anchor.y);
  gru_Text3D placer(font);
  float lo[2], hi[2];
  placer.QueryExtent(text, lo, hi);
  const float w = hi[0] - lo[0], h = hi[1] - lo[1];
  g3d_XForm xf;
  switch (alignment) {
    case xypC_ALIGN_PLAIN:
      xf = placer.Position(ax, ay, size);
      break;
    case xypC_ALIGN_X_TITLE:
      xf = placer.Position(ax, ay - yBound, size) * g3d_XForm::Translation(0, -0.66f * h);
      yBound = 0.0f;
      break;
    case xypC_ALIGN_Y_TITLE:
      xf = g3d_XForm::Translation(ax - xBound, ay) * g3d_XForm::Rotation(90.0) *
           placer.CenterAtOrigin(size) * g3d_XForm::Translation(0, h);
      xBound = 0.0f;
      break;
    case xypC_ALIGN_X_LABEL:
      xf = placer.Position(ax, ay, size) * g3d_XForm::Translation(0, -0.3f * hi[1]);
      yBound = std::max(yBound, ay - static_cast<float>(xf.Apply(0, 0).y));
      break;
    case xypC_ALIGN_Y_LABEL:
      xf = placer.Position(ax, ay, size) * g3d_XForm::Translation(-0.5f * w, -lo[1]);
      xBound = std::max(xBound, ax - static_cast<float>(xf.Apply(0, 0).x));
      break;
    default:
      return;
  }
  renderer.SetTransform(f.camera);
  renderer.DrawText(text, placer.Font(), xf);
  renderer.SetTransform(f.camera * f.data);
}

void xypK_XYPlotEditor::DrawPower(gdr_Renderer& renderer, const Frame& f, float x, float y,
                                  const cow_String& base, const cow_String& exponent, float size,
                                  bool alongX, const cow_String& font) const {
  if (!(size > 0.0f) || !std::isfinite(size)) return;
  const g3d_XForm::Point anchor = f.data.Apply(x, y);
  const float ax = static_cast<float>(anchor.x), ay = static_cast<float>(anchor.y);
  gru_Text3D placer(font);
  float lo[2], hi[2];
  placer.QueryExtent(base, lo, hi);
  const float w = hi[0] - lo[0], h = hi[1] - lo[1];
  float bx, by, ex, ey;
  if (base == "10") {
    if (alongX) {
      bx = 0.0f, by = -0.5f * h, ex = 1.4f * w, ey = -0.033333335f * h;
    } else {
      bx = -0.5f * w, by = 0.0f, ex = 0.57f * w, ey = 0.8f * h;
    }
  } else if (alongX) {
    bx = 0.0f, by = -0.3f * h, ex = 0.85f * w, ey = 0.3f * h;
  } else {
    bx = -0.6f * w, by = 1.6f * h, ex = -0.15f * w, ey = 3.4666667f * h;
  }
  // Both are placed from the anchor; the shifts are in units of the base text.
  const g3d_XForm baseXf = placer.Position(base, ax, ay, size) * g3d_XForm::Translation(bx, by);
  g3d_XForm exponentXf =
      placer.Position(exponent, ax, ay, 0.6f * size) * g3d_XForm::Translation(ex, ey);
  if (base != "10") {
    // The marker leaves its two blanks for the exponent: it stands there, raised, in the base's
    // own units (shrunk further when it is wider than the gap, as "-12" is).
    float elo[2], ehi[2], plo[2], phi[2], qlo[2], qhi[2];
    placer.Extent(exponent, elo, ehi);
    placer.Extent("[x10", plo, phi);
    placer.Extent("[x10  ", qlo, qhi);
    const float gap = qhi[0] - phi[0], advance = ehi[0] - elo[0];
    const float k = advance > 0.0f ? std::min(0.6f, gap / advance) : 0.6f;
    constexpr float kRaise = 0.42f;  // the exponent's baseline, in ems of the base
    exponentXf = baseXf *
                 g3d_XForm::Translation((phi[0] + qhi[0]) / 2.0f - k * advance / 2.0f, kRaise) *
                 g3d_XForm::Scale(k, k);
  }
  renderer.SetTransform(f.camera);
  renderer.DrawText(base, placer.Font(), baseXf);
  if (alongX)
    yBound = ay - static_cast<float>(baseXf.Apply(0, 0).y);
  else
    xBound = std::max(xBound, ax - static_cast<float>(baseXf.Apply(0, 0).x));
  renderer.DrawText(exponent, placer.Font(), exponentXf);
  renderer.SetTransform(f.camera * f.data);
}

float xypK_XYPlotEditor::LinearSnap(float x1, float y1, float x2, float y2, float frame,
                                    bool alongX) {
  const float a1 = alongX ? x1 : y1, a2 = alongX ? x2 : y2;
  const float b1 = alongX ? y1 : x1, b2 = alongX ? y2 : x2;
  if (!((frame > a1 && frame < a2) || (frame < a1 && frame > a2))) return FLT_MAX;
  return b1 + (b2 - b1) * (frame - a1) / (a2 - a1);
}

bool xypK_XYPlotEditor::ClipToFrame(const Frame& f, float ax, float ay, float bx, float by,
                                    Visible& v) {
  xypK_XYPlot& plot = f.plot;
  const float x0 = f.xMin, x1 = f.xMax, y0 = f.yMin, y1 = f.yMax;
  auto inside = [&](float x, float y) { return x >= x0 && x <= x1 && y >= y0 && y <= y1; };
  const bool aIn = inside(ax, ay), bIn = inside(bx, by);
  if (aIn && bIn) {
    v = {ax, ay, bx, by, true, true};
    return true;
  }
  // Crossings with the four frame lines that lie on the frame, in order along the segment.
  struct Crossing {
    float t, x, y;
  };
  Crossing cross[4];
  int found = 0;
  const float frames[4] = {x0, x1, y0, y1};
  for (int side = 0; side < 4; ++side) {
    const bool alongX = side < 2;
    const float other = LinearSnap(ax, ay, bx, by, frames[side], alongX);
    if (other == FLT_MAX) continue;
    const float cx = alongX ? frames[side] : other, cy = alongX ? other : frames[side];
    if (!inside(cx, cy)) continue;
    const float t = alongX ? (cx - ax) / (bx - ax) : (cy - ay) / (by - ay);
    cross[found++] = {t, cx, cy};
  }
  for (int c = 1; c < found; ++c)  // at most four: in order along the segment
    for (int d = c; d > 0 && cross[d].t < cross[d - 1].t; --d) std::swap(cross[d], cross[d - 1]);
  for (int c = 0; c < found; ++c) {
    plot.clipXMin = std::min(plot.clipXMin, cross[c].x);
    plot.clipXMax = std::max(plot.clipXMax, cross[c].x);
    plot.clipYMin = std::min(plot.clipYMin, cross[c].y);
    plot.clipYMax = std::max(plot.clipYMax, cross[c].y);
  }
  if (aIn) {  // leaving
    v = {ax, ay, found > 0 ? cross[0].x : ax, found > 0 ? cross[0].y : ay, true, false};
    return true;
  }
  if (bIn) {  // entering
    v = {found > 0 ? cross[found - 1].x : bx,
         found > 0 ? cross[found - 1].y : by,
         bx,
         by,
         false,
         true};
    return true;
  }
  if (found < 2) return false;  // outside, or touching a corner only
  v = {cross[0].x, cross[0].y, cross[found - 1].x, cross[found - 1].y, false, false};
  return true;
}

void xypK_XYPlotEditor::DrawCurves(gdr_Renderer& renderer, Frame& f) const {
  xypK_XYPlot& plot = f.plot;
  const bool xLog = f.options.xAxisScale == xypC_LOG, yLog = f.options.yAxisScale == xypC_LOG;
  const bool ids = scene_ && scene_->IsFillingIdBuffer();
  auto inside = [&](float x, float y) {
    return x >= f.xMin && x <= f.xMax && y >= f.yMin && y <= f.yMax;
  };
  std::vector<float> xs, ys;
  // Pick ids run over every curve to plot, shown or not: n - 1 for a curve of n >= 2 pairs; the
  // segment of pairs k - 1 and k has id k plus the ids of the curves before it.
  int idBase = 0;
  for (std::size_t i = 0; i < plot.curvesToPlot.Size(); ++i) {
    if (!plot.curves.IsMember(plot.curvesToPlot[i])) continue;
    xypK_Curve& curve = plot.curves.Get(plot.curvesToPlot[i]);
    const udd_UserXYData& data = curve.ConstGetCurveXYData();
    const std::size_t count = data.Size();
    const int base = idBase;
    if (count >= 2) idBase += static_cast<int>(std::min<std::size_t>(count - 1, INT_MAX / 2));
    if (i >= plot.displayed.Size() || !plot.displayed.Test(i)) continue;
    xypC_CurveOptions& co = curve.options;
    const int position = static_cast<int>(i);
    const std::size_t first = curve.skipFirstPoint ? 1 : 0;
    if (co.showLine && count > 1) {
      renderer.SetColor(Resolve(renderer, co.lineColor, position, cow_String()));
      renderer.SetLineWidth(g3d_Utils::ConvertLineThickness(co.lineThickness));
      renderer.SetLineStyle(co.lineStyle);
      // Visible pieces, separated by NaN, which breaks the drawn line; in the id map every
      // segment is drawn on its own with its id.
      xs.clear();
      ys.clear();
      if (!ids) {
        xs.reserve(count + 16);
        ys.reserve(count + 16);
      }
      constexpr float kBreak = NAN;
      auto emit = [&](float x, float y) {
        xs.push_back(x);
        ys.push_back(y);
      };
      bool open = false;  // the last emitted point continues the current piece
      for (std::size_t k = first; k + 1 < count; ++k) {
        // A drawing of millions of pairs can be interrupted while they are gathered.
        if ((k - first) % kWorkBlock == kWorkBlock - 1) renderer.CountWork(kWorkBlock);
        const float ax = OnAxis(data.Pair(k).x, xLog), ay = OnAxis(data.Pair(k).y, yLog);
        const float bx = OnAxis(data.Pair(k + 1).x, xLog), by = OnAxis(data.Pair(k + 1).y, yLog);
        Visible v;
        if (!std::isfinite(ax) || !std::isfinite(ay) || !std::isfinite(bx) || !std::isfinite(by) ||
            !ClipToFrame(f, ax, ay, bx, by, v)) {
          if (open) emit(kBreak, kBreak);
          open = false;
          continue;
        }
        if (ids) {
          renderer.SetPickId(base + static_cast<int>(k) + 1);
          renderer.DrawLine(v.x0, v.y0, v.x1, v.y1);
          continue;
        }
        if (!(open && v.fromStart)) {
          if (open) emit(kBreak, kBreak);
          emit(v.x0, v.y0);
        }
        emit(v.x1, v.y1);
        open = v.toEnd;
        if (!open) emit(kBreak, kBreak);
      }
      if (!xs.empty()) renderer.DrawPolyline(xs.data(), ys.data(), xs.size(), false);
    }
    const bool symbols =
        (co.showSymbol && co.symbolFrequency != 0) || (count == 1 && co.showLine) || ids;
    if (symbols) {
      renderer.SetColor(Resolve(renderer, co.symbolColor, position, co.lineColor));
      if (co.symbolMarker == g3d_DEFAULT_MARKER)
        co.symbolMarker = xypC_Utils::GetDefaultMarker(position);
      renderer.SetLineStyle(g3d_SOLID);
      renderer.SetLineWidth(1.0);
      const double size = g3d_Utils::ConvertMarkerSize(co.symbolSize);
      const std::size_t every =
          static_cast<std::size_t>(co.symbolFrequency == 0 ? 1 : std::abs(co.symbolFrequency));
      // In the id map a symbol belongs to the segment that ends at its pair (the first pair's
      // to the first segment); a curve of one pair has no segment to pick.
      std::size_t passed = 0;
      for (std::size_t k = 0; k < count && !(ids && count < 2); k += every) {
        if (++passed % kWorkBlock == 0) renderer.CountWork(kWorkBlock);  // those outside too
        const float x = OnAxis(data.Pair(k).x, xLog), y = OnAxis(data.Pair(k).y, yLog);
        if (!inside(x, y)) continue;
        if (ids) renderer.SetPickId(base + static_cast<int>(std::max<std::size_t>(k, 1)));
        renderer.DrawMarker(x, y, co.symbolMarker, size);
      }
    }
  }
  renderer.SetPickId(0);
}

void xypK_XYPlotEditor::DrawAxesTitles(gdr_Renderer& renderer, const Frame& f) const {
  const xypK_XYPlot& p = f.plot;
  const xypC_XYPlotOptions& o = f.options;
  const cow_String xTitle =
      p.xAxisTitleSource == xypC_SYSTEM_DEFINED ? p.DefaultTitle(true) : p.xAxisTitle;
  const cow_String yTitle =
      p.yAxisTitleSource == xypC_SYSTEM_DEFINED ? p.DefaultTitle(false) : p.yAxisTitle;
  // A title longer than the frame (X) or than its height (Y) is drawn smaller, so that it adds
  // no width or height of its own to the picture and the two titles never cross.
  auto fitted = [](const cow_String& title, const cow_String& font, float size, float room) {
    float lo[2], hi[2];
    gru_Text3D(font).Extent(title, lo, hi);
    const float w = hi[0] - lo[0], h = hi[1] - lo[1];
    return w * size > room * h && w > 0.0f ? room * h / w : size;
  };
  const float frameWidth =
      static_cast<float>(f.data.Apply(f.xMax, 0.0f).x - f.data.Apply(f.xMin, 0.0f).x);
  const float frameHeight =
      static_cast<float>(f.data.Apply(0.0f, f.yMax).y - f.data.Apply(0.0f, f.yMin).y);
  const float kXTitleRoom = std::max(frameWidth, 0.4f), kYTitleRoom = std::max(frameHeight, 0.4f);
  renderer.SetColor(Resolve(renderer, o.xAxisTitleColor, 0, "Black"));
  const cow_String& xFont = FontOr(o.xAxisTitleFont);
  DrawText(renderer, f, (f.xMin + f.xMax) / 2.0f, f.yMin - yOffsetRate * (f.yMax - f.yMin), xTitle,
           fitted(xTitle, xFont, TextSize(o.xAxisTitleSize), kXTitleRoom), xypC_ALIGN_X_TITLE,
           xFont);
  renderer.SetColor(Resolve(renderer, o.yAxisTitleColor, 0, "Black"));
  const cow_String& yFont = FontOr(o.yAxisTitleFont);
  DrawText(renderer, f, f.xMin - xOffsetRate * (f.xMax - f.xMin), (f.yMin + f.yMax) / 2.0f, yTitle,
           fitted(yTitle, yFont, TextSize(o.yAxisTitleSize), kYTitleRoom), xypC_ALIGN_Y_TITLE,
           yFont);
}

void xypK_XYPlotEditor::AdjustLegendBoxPos(float& x, float& y, float viewportWidth,
                                           float viewportHeight, float boxWidth, float boxHeight) {
  if (boxWidth <= viewportWidth && x + boxWidth > viewportWidth) x = viewportWidth - boxWidth;
  if (boxWidth > viewportWidth) x = 0.0f;
  if ((boxHeight <= viewportHeight && y - boxHeight < 0.0f) || boxHeight > viewportHeight)
    y = boxHeight;
}

struct xypK_XYPlotEditor::LegendLayout {
  struct Row {
    const xypK_Curve* curve;
    int position;
    cow_String label;
  };
  struct Extreme {
    const char* heading;
    float value;
  };
  gru_Text3D text;
  float em = 0.0f;  // device units per text unit
  std::vector<Row> rows;
  bool anySymbols = false;
  float t = 0.0f, h = 0.0f, g2 = 0.0f;
  float sample = xypK_XYPlotEditor::kMinSampleLength;  // the line sample's length
  bool extremesShown = false;
  float boxW = 0.0f, boxH = 0.0f;
  float ax = 0.0f, ay = 0.0f;  // the box's top-left corner, device units
  Extreme extremes[4] = {};
  explicit LegendLayout(const cow_String& font) : text(font) {}
  float Width(const cow_String& s) {
    float lo[2], hi[2];
    text.Extent(s, lo, hi);
    return (hi[0] - lo[0]) * em;
  }
};

cow_String xypK_XYPlotEditor::ExtremeText(float v) const {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%-11.*E", std::clamp(legendDigits_, 0, 15),
                static_cast<double>(std::fabs(v)));
  return cow_String(buffer).TrimRight();
}

bool xypK_XYPlotEditor::LayOutLegend(const xypK_XYPlot& plot, float vw, float vh, LegendLayout& l,
                                     bool extremes) const {
  // In device units: the box's top-left corner at a percentage of the viewport.
  l.ax = legendX_ / 100.0f * vw;
  l.ay = legendY_ / 100.0f * vh;
  l.em = static_cast<float>(l.text.Font().PointSize());
  float lo[2], hi[2];
  l.text.Extent("textHeight", lo, hi);
  l.t = (hi[1] - lo[1]) * l.em;
  l.h = l.t;
  float widest = 0.0f;
  for (std::size_t i = plot.displayed.FirstSet(); i < plot.displayed.Size();
       i = plot.displayed.NextSet(i)) {
    const xypK_Curve* curve =
        i < plot.curvesToPlot.Size() ? plot.curves.Find(plot.curvesToPlot[i]) : nullptr;
    if (!curve) continue;
    const xypC_CurveOptions& co = curve->options;
    const cow_String label =
        co.legendTextSource == xypC_SYSTEM_DEFINED ? co.systemDefinedLegendText : co.legendText;
    if (co.showSymbol) {
      l.anySymbols = true;
      l.h = std::max(l.h, static_cast<float>(g3d_Utils::ConvertMarkerSize(co.symbolSize)));
    }
    // Long enough to show three periods of its dash pattern, so a dashed line looks dashed.
    if (co.showLine && curve->ConstGetCurveXYData().Size() > 1) {
      double period = 0.0;
      for (double d : gdr_Renderer::DashPattern(co.lineStyle,
                                                g3d_Utils::ConvertLineThickness(co.lineThickness)))
        period += d;
      l.sample = std::max(l.sample, static_cast<float>(3.0 * period));
    }
    widest = std::max(widest, l.Width(label));
    l.rows.push_back({curve, static_cast<int>(i), label});
  }
  if (l.rows.empty()) return false;
  const float g = 0.4f * l.h, g4 = 4.0f * g;
  l.g2 = 2.0f * g;
  const float n = static_cast<float>(plot.numDisplayedCurves);
  l.boxH = (l.h + g) * (n - 1.0f) + l.h + g4;
  // The text stands 5 units past the sample's end (15 from its start at the minimum length).
  const float textOffset = l.sample + 5.0f;
  l.boxW = l.anySymbols ? 2.5f * l.g2 + widest + textOffset : widest + textOffset + g4;
  // The overall extremes: heading, then the magnitude, with a "-" between them when negative,
  // so that the digits line up whatever the signs.
  l.extremes[0] = {"YMAX ", plot.rawYMax};
  l.extremes[1] = {"YMIN ", plot.rawYMin};
  l.extremes[2] = {"XMAX ", plot.rawXMax};
  l.extremes[3] = {"XMIN ", plot.rawXMin};
  l.extremesShown = extremes;
  if (extremes) {
    l.boxH += 6.5f * l.t;
    for (const LegendLayout::Extreme& e : l.extremes)
      l.boxW =
          std::max(l.boxW, l.Width(e.heading) + l.Width("-") + l.Width(ExtremeText(e.value)) + g4);
  }
  AdjustLegendBoxPos(l.ax, l.ay, vw, vh, l.boxW, l.boxH);
  return true;
}

bool xypK_XYPlotEditor::LegendSize(const cow_String& font, bool extremes, float& width,
                                   float& height) const {
  const xypK_XYToolset& toolset = xypK_XYToolset::Instance();
  if (!toolset.IsXYPlot(plotName_)) return false;
  const xypK_XYPlot& plot = toolset.ConstGetXYPlot(plotName_);
  if (plot.numDisplayedCurves <= 0) return false;
  LegendLayout l(FontOr(font));
  // Placed in a viewport large enough that it is not moved: only the size counts here.
  constexpr float kRoom = 1e6f;
  if (!LayOutLegend(plot, kRoom, kRoom, l, extremes)) return false;
  width = l.boxW;
  height = l.boxH;
  return true;
}

void xypK_XYPlotEditor::DrawLegend(gdr_Renderer& renderer, const Frame& f) const {
  const float vw = static_cast<float>(renderer.Width()), vh = static_cast<float>(renderer.Height());
  LegendLayout l(FontOr(legendFont_));
  if (!LayOutLegend(f.plot, vw, vh, l, legendExtremes_)) return;
  renderer.SetTransform(g3d_XForm::Identity());
  const float ax = l.ax, ay = l.ay, boxW = l.boxW, boxH = l.boxH, t = l.t, h = l.h, g2 = l.g2;
  const float g = 0.5f * g2, em = l.em;

  // The box is filled with the viewport's background (MATCH) or its own colour (OTHER), or not
  // at all; what stands on it contrasts with that colour.
  unsigned char rgb[3] = {255, 255, 255};
  sesK_ColorMap::Instance().Lookup(legendBackgroundColour_, rgb);
  const gdr_Color background = legendBackgroundStyle_ == sesC_OTHER
                                   ? gdr_Color::FromBytes(rgb[0], rgb[1], rgb[2])
                                   : renderer.Background();
  if (legendBackgroundStyle_ != sesC_TRANSPARENT) {
    renderer.SetColor(background);
    renderer.FillRectangle(ax, ay - boxH, ax + boxW, ay);
  }
  if (legendBoxUse_) {
    renderer.SetColor(g3d_Color::GetContrastingColor(gdr_Color::Black(), background));
    renderer.SetLineWidth(1.0);
    renderer.SetLineStyle(g3d_SOLID);
    const float bx[] = {ax, ax + boxW, ax + boxW, ax};
    const float by[] = {ay, ay, ay - boxH, ay - boxH};
    renderer.DrawPolyline(bx, by, 4, true);
  }
  unsigned char text_rgb[3] = {0, 0, 0};
  sesK_ColorMap::Instance().Lookup(legendTextColour_, text_rgb);
  const gdr_Color textColour = g3d_Color::GetContrastingColor(
      gdr_Color::FromBytes(text_rgb[0], text_rgb[1], text_rgb[2]), background);
  auto drawText = [&](const cow_String& s, float x, float y) {
    renderer.SetColor(textColour);
    renderer.DrawText(s, l.text.Font(), g3d_XForm::Translation(x, y) * g3d_XForm::Scale(em, em));
  };
  const float x0 = ax + (l.anySymbols ? 0.25f * g2 : 0.0f);
  for (std::size_t r = 0; r < l.rows.size(); ++r) {
    const xypK_Curve& curve = *l.rows[r].curve;
    const xypC_CurveOptions& co = curve.options;
    const std::size_t pairs = curve.ConstGetCurveXYData().Size();
    const float y = ay - static_cast<float>(r) * (h + g) - 1.5f * g2;
    if (co.showLine && pairs > 1) {
      renderer.SetColor(Resolve(renderer, co.lineColor, l.rows[r].position, cow_String()));
      renderer.SetLineWidth(g3d_Utils::ConvertLineThickness(co.lineThickness));
      renderer.SetLineStyle(co.lineStyle);
      renderer.DrawLine(x0 + g2, y, x0 + g2 + l.sample, y);
    }
    if (co.showSymbol || pairs == 1) {
      renderer.SetColor(Resolve(renderer, co.symbolColor, l.rows[r].position, co.lineColor));
      const g3d_MarkerEnum marker = co.symbolMarker == g3d_DEFAULT_MARKER
                                        ? xypC_Utils::GetDefaultMarker(l.rows[r].position)
                                        : co.symbolMarker;
      const double size = g3d_Utils::ConvertMarkerSize(co.symbolSize);
      renderer.SetLineStyle(g3d_SOLID);
      renderer.SetLineWidth(1.0);
      renderer.DrawMarker(x0 + g2, y, marker, size);
      renderer.DrawMarker(x0 + g2 + l.sample, y, marker, size);
    }
    drawText(l.rows[r].label, x0 + g2 + l.sample + 5.0f, y - 0.5f * g2);
  }
  if (l.extremesShown) {
    for (int k = 0; k < 4; ++k) {
      const float y = (ay - boxH) + 1.25f * g2 + static_cast<float>(k) * 1.5f * t;
      const float headX = ax + g2;
      const float valueX = headX + l.Width(l.extremes[k].heading) + l.Width("-");
      drawText(l.extremes[k].heading, headX, y);
      if (l.extremes[k].value < 0.0f) drawText("-", headX + l.Width(l.extremes[k].heading), y);
      drawText(ExtremeText(l.extremes[k].value), valueX, y);
    }
  }
  renderer.SetTransform(f.camera * f.data);
}
