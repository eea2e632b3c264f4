#include "xypK_ProbeToolsetClient.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "sesK_SessionState.h"
#include "smg_SceneManagerRole.h"
#include "xypK_Scene.h"
#include "xypK_SceneManager.h"
#include "xypK_XYPlot.h"
#include "xypK_XYPlotEditor.h"
#include "xypK_XYToolset.h"

namespace {
// A coordinate on its axis: log10 on a logarithmic one, below the smallest normal float taken
// as that float.
double OnAxis(float value, bool log) {
  if (!log) return value;
  return std::log10(static_cast<double>(std::max(value, FLT_MIN)));
}

double FromAxis(double value, bool log) {
  return log ? std::pow(10.0, value) : value;
}

cow_String Number(double value) {
  return cow_String::FromDouble(static_cast<double>(static_cast<float>(value)));
}
}  // namespace

xypK_ProbeToolsetClient::xypK_ProbeToolsetClient() : prbK_ProbeToolsetClient(omu_DISPLAY_XYPLOT) {}

xypK_Scene* xypK_ProbeToolsetClient::CurrentScene() {
  if (!xypK_XYToolset::Exists()) return nullptr;
  const int viewport = smg_SceneManagerRole::Instance().CurrentViewport();
  return static_cast<xypK_Scene*>(xypK_XYToolset::Instance().SceneManager().FindScene(viewport));
}

bool xypK_ProbeToolsetClient::DisplayOn() {
  const xypK_Scene* scene = CurrentScene();
  return scene && !scene->PlotName().IsEmpty();
}

void xypK_ProbeToolsetClient::ReleaseMapId() {
  if (xypK_Scene* scene = CurrentScene()) scene->ReleaseMapId();
}

void xypK_ProbeToolsetClient::Refresh() {
  if (xypK_Scene* scene = CurrentScene()) scene->Refresh();
}

void xypK_ProbeToolsetClient::UpdateScene() {
  if (xypK_Scene* scene = CurrentScene()) scene->UpdateScene();
}

void xypK_ProbeToolsetClient::DisableProbe() {
  if (xypK_Scene* scene = CurrentScene()) scene->DisableProbe();
}

void xypK_ProbeToolsetClient::EnableProbe() {
  if (xypK_Scene* scene = CurrentScene()) scene->EnableProbe();
}

int xypK_ProbeToolsetClient::Probe(const g3d_Point& point) {
  const xypK_Scene* scene = CurrentScene();
  return scene ? scene->Probe(point) : 0;
}

void xypK_ProbeToolsetClient::ClearHighlights() {
  if (highlighted_) highlighted_->ClearHighlights();
  highlighted_ = nullptr;
}

void xypK_ProbeToolsetClient::ForgetScene(const xypK_Scene* scene) {
  if (highlighted_ == scene) highlighted_ = nullptr;
}

void xypK_ProbeToolsetClient::ObjectName(cow_String& name) {
  if (const xypK_Scene* scene = CurrentScene()) name = scene->PlotName();
}

bool xypK_ProbeToolsetClient::ComputeRange(const xypK_Scene& scene) {
  const xypK_XYPlotEditor* editor = scene.Editor();
  if (!editor) return false;
  float x0, y0, x1, y1;
  if (!editor->FrameBounds(x0, y0, x1, y1)) return false;
  const g3d_XForm view = scene.ViewToDevice(scene.Width(), scene.Height());
  const g3d_XForm::Point low = view.Apply(x0, y0), high = view.Apply(x1, y1);
  const xypK_XYPlot& plot = xypK_XYToolset::Instance().ConstGetXYPlot(scene.PlotName());
  range_.xMin = low.x;
  range_.yMin = low.y;
  range_.xMax = high.x;
  range_.yMax = high.y;
  if (!(range_.xMax > range_.xMin) || !(range_.yMax > range_.yMin)) return false;
  range_.xScale =
      (static_cast<double>(plot.xAxisMax) - plot.xAxisMin) / (range_.xMax - range_.xMin);
  range_.xOffset = plot.xAxisMin - range_.xScale * range_.xMin;
  range_.yScale =
      (static_cast<double>(plot.yAxisMax) - plot.yAxisMin) / (range_.yMax - range_.yMin);
  range_.yOffset = plot.yAxisMin - range_.yScale * range_.yMin;
  return true;
}

bool xypK_ProbeToolsetClient::PrepareXyValue(cow_1DArray<cow_String>& values, int id,
                                             const g3d_Point& point, bool interpolate) {
  xypK_Scene* scene = CurrentScene();
  const xypK_XYToolset& toolset = xypK_XYToolset::Instance();
  if (!scene || id <= 0 || !toolset.IsXYPlot(scene->PlotName())) return false;
  const xypK_XYPlot& plot = toolset.ConstGetXYPlot(scene->PlotName());
  if (!plot.valid || !ComputeRange(*scene)) return false;
  // The segment, numbered as the id map numbers them: over the curves to plot in order, shown
  // or not, n - 1 ids for a curve of n >= 2 pairs; names without a curve count nothing.
  const xypK_Curve* curve = nullptr;
  long long rest = id;
  for (std::size_t c = 0; c < plot.curvesToPlot.Size() && !curve; ++c) {
    const xypK_Curve* candidate = plot.curves.Find(plot.curvesToPlot[c]);
    if (!candidate) continue;
    const long long segments = static_cast<long long>(candidate->ConstGetCurveXYData().Size()) - 1;
    if (segments < 1) continue;
    if (rest <= segments)
      curve = candidate;
    else
      rest -= segments;
  }
  if (!curve) return false;  // an id the plot no longer has (its map is older than its data)
  const std::size_t i = static_cast<std::size_t>(rest);  // pairs i - 1 and i
  const udd_UserXYData& data = curve->ConstGetCurveXYData();
  const bool xLog = plot.options.xAxisScale == xypC_LOG;
  const bool yLog = plot.options.yAxisScale == xypC_LOG;
  const Range& r = range_;
  // Pixels of the pairs, in double precision.
  auto pixel = [&](std::size_t k, double& px, double& py) {
    px = (OnAxis(data.Pair(k).x, xLog) - r.xOffset) / r.xScale;
    py = (OnAxis(data.Pair(k).y, yLog) - r.yOffset) / r.yScale;
    return std::isfinite(px) && std::isfinite(py);
  };
  double ax, ay, bx, by;
  if (!pixel(i - 1, ax, ay) || !pixel(i, bx, by)) return false;
  // The foot of the perpendicular from the point, on the segment (its ends included).
  const double dx = bx - ax, dy = by - ay, length2 = dx * dx + dy * dy;
  double t = length2 > 0.0 ? ((point.x - ax) * dx + (point.y - ay) * dy) / length2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  const double fx = ax + t * dx, fy = ay + t * dy;
  // Inside the plot's ranges, allowing for the rounding of the mapping.
  double x = r.xScale * fx + r.xOffset, y = r.yScale * fy + r.yOffset;
  const double xSlack = 1e-9 * (std::fabs(plot.xAxisMax) + std::fabs(plot.xAxisMin) + 1.0);
  const double ySlack = 1e-9 * (std::fabs(plot.yAxisMax) + std::fabs(plot.yAxisMin) + 1.0);
  if (!(x >= plot.xAxisMin - xSlack && x <= plot.xAxisMax + xSlack && y >= plot.yAxisMin - ySlack &&
        y <= plot.yAxisMax + ySlack))
    return false;
  highlighted_ = scene;
  cow_String sequence;
  if (interpolate) {
    x = FromAxis(std::clamp<double>(x, plot.xAxisMin, plot.xAxisMax), xLog);
    y = FromAxis(std::clamp<double>(y, plot.yAxisMin, plot.yAxisMax), yLog);
    scene->Highlight(curve->name, static_cast<float>(x), static_cast<float>(y), false);
    sequence = "(" + cow_String::FromInt(static_cast<long long>(i)) + ", " +
               cow_String::FromInt(static_cast<long long>(i + 1)) + ")";
  } else {
    // The nearer pair; halfway goes to the later one.
    const std::size_t k = t >= 0.5 ? i : i - 1;
    x = data.Pair(k).x;
    y = data.Pair(k).y;
    scene->Highlight(curve->name, static_cast<int>(k), false);
    sequence = cow_String::FromInt(static_cast<long long>(k + 1));
  }
  const xypC_CurveOptions& co = curve->options;
  values = cow_1DArray<cow_String>(4);
  values.Set(
      0, co.legendTextSource == xypC_SYSTEM_DEFINED ? co.systemDefinedLegendText : co.legendText);
  values.Set(1, sequence);
  values.Set(2, Number(x));
  values.Set(3, Number(y));
  return true;
}
