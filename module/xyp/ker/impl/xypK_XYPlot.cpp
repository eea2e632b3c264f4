#include "xypK_XYPlot.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "xypK_MessageTypes.h"
#include "xypK_XYPlotLabels.h"
#include "xypK_XYToolset.h"

namespace {
constexpr float kMaxFloat = FLT_MAX;
// The largest power of ten a float holds; a log axis ends at this decade at most.
constexpr int kMaxDecade = 38;

// Conversion toward zero, saturated at a bound no layout reaches: a float beyond the int range
// would make the conversion undefined. NaN converts to 0.
int Trunc(float v) {
  constexpr float kBound = 2.0e9f;
  if (!(v == v)) return 0;
  if (v >= kBound) return static_cast<int>(kBound);
  if (v <= -kBound) return -static_cast<int>(kBound);
  return static_cast<int>(v);
}

// 10^p as the nearest float (computed in double so that negative powers are not compounded).
float Pow10(float p) {
  const double v = std::pow(10.0, static_cast<double>(p));
  return v > FLT_MAX ? kMaxFloat : static_cast<float>(v);
}

// A range, snapped end or increment that overflowed is held at the largest float.
float Capped(float v) {
  if (v > kMaxFloat) return kMaxFloat;
  if (v < -kMaxFloat) return -kMaxFloat;
  return v;
}
}  // namespace

xypK_XYPlot::xypK_XYPlot(const xypC_XYPlotOptions& plotOptions) : options(plotOptions) {}

xypK_XYPlot::Axis xypK_XYPlot::XAxis() {
  xypC_XYPlotOptions& o = options;
  return Axis{"X",
              xAxisMin,
              xAxisMax,
              xIncrement,
              xNumTicks,
              xNumIntervals,
              xStartOffset,
              xEndOffset,
              rawXMin,
              rawXMax,
              xAutoIncrement,
              o.xAxisScale,
              o.xMaxAutoCompute,
              o.xMaxValue,
              o.xAutoMaxValue,
              o.xMinAutoCompute,
              o.xMinValue,
              o.xAutoMinValue,
              o.xMajorTickMode,
              o.xAutoMajorTickIncrement,
              o.xMajorTickIncrement,
              o.numXMajorTicks};
}

xypK_XYPlot::Axis xypK_XYPlot::YAxis() {
  xypC_XYPlotOptions& o = options;
  return Axis{"Y",
              yAxisMin,
              yAxisMax,
              yIncrement,
              yNumTicks,
              yNumIntervals,
              yStartOffset,
              yEndOffset,
              rawYMin,
              rawYMax,
              yAutoIncrement,
              o.yAxisScale,
              o.yMaxAutoCompute,
              o.yMaxValue,
              o.yAutoMaxValue,
              o.yMinAutoCompute,
              o.yMinValue,
              o.yAutoMinValue,
              o.yMajorTickMode,
              o.yAutoMajorTickIncrement,
              o.yMajorTickIncrement,
              o.numYMajorTicks};
}

void xypK_XYPlot::Recalculate() {
  FindDisplayedCurves();
  Axis x = XAxis();
  Axis y = YAxis();
  if (numDisplayedCurves == 0 || !ComputeRawExtent()) {
    SetEmptyLayout(x);
    SetEmptyLayout(y);
  } else {
    x.min = rawXMin;
    x.max = rawXMax;
    y.min = rawYMin;
    y.max = rawYMax;
    RangeFromLimits(x);
    RangeFromLimits(y);
    if (x.max < x.min) xypK_MessageTypes::ErrorMinValueGreaterThanMaxValue(x.label);
    if (y.max < y.min) xypK_MessageTypes::ErrorMinValueGreaterThanMaxValue(y.label);
    ToDecades(x);
    ToDecades(y);
    ComputeAxisAttributes(x);
    ComputeAxisAttributes(y);
  }
  Populate(x);
  Populate(y);
  extent = g3d_Sphere(0.25f, 0.5f, 0.0f, 1.0f);
  ResetClipLimits();
  if (options.xAxisLabelFrequency < 0 || options.yAxisLabelFrequency < 0)
    xypK_MessageTypes::ErrorFrequencyValueNotPositive();
}

void xypK_XYPlot::FindDisplayedCurves() {
  displayed = omi_BlkBitVect(curvesToPlot.Size());
  for (std::size_t i = 0; i < curvesToPlot.Size(); ++i) {
    const xypK_Curve* curve = curves.Find(curvesToPlot[i]);
    if (curve && curve->options.IsDisplayed()) displayed.Set(i);
  }
  numDisplayedCurves = static_cast<int>(displayed.Count());
}

bool xypK_XYPlot::ComputeRawExtent() {
  const bool xLog = options.xAxisScale == xypC_LOG;
  const bool yLog = options.yAxisScale == xypC_LOG;
  float xLo = kResetMin, xHi = kResetMax, yLo = kResetMin, yHi = kResetMax;
  for (std::size_t i = displayed.FirstSet(); i < displayed.Size(); i = displayed.NextSet(i)) {
    xypK_Curve& curve = curves.Get(curvesToPlot[i]);
    curve.skipFirstPoint = false;
    float x1 = curve.xMin, x2 = curve.xMax, y1 = curve.yMin, y2 = curve.yMax;
    if (xLog && x1 == 0.0f) {
      // Only a first point at x = 0 may be left out of a log axis.
      curve.GetYMaxMinInXInterval(x1, x2, y1, y2, true);
      curve.GetXMaxMinInYInterval(x1, x2, y1, y2, true);
      if (x1 > 0.0f) curve.skipFirstPoint = true;
    }
    if (yLog && y1 == 0.0f) {
      curve.GetXMaxMinInYInterval(x1, x2, y1, y2, false);
      curve.GetYMaxMinInXInterval(x1, x2, y1, y2, false);
    }
    if ((xLog && x1 <= 0.0f) || (yLog && y1 <= 0.0f))
      xypK_MessageTypes::ErrorDataValuesNotPositive(curve.name);
    xLo = std::min(xLo, x1);
    xHi = std::max(xHi, x2);
    yLo = std::min(yLo, y1);
    yHi = std::max(yHi, y2);
  }
  // Curves without a finite pair leave the extent at its reset values: nothing to lay out.
  if (xLo > xHi || yLo > yHi) return false;
  rawXMin = xLo;
  rawXMax = xHi;
  rawYMin = yLo;
  rawYMax = yHi;
  return true;
}

void xypK_XYPlot::SetEmptyLayout(Axis& a) {
  if (a.scale == xypC_LOG) {
    a.min = 0.1f;
    a.max = 1.0f;
    a.increment = a.autoIncrement = 1.0f;
  } else {
    a.min = 0.0f;
    a.max = 1.0f;
    a.increment = a.autoIncrement = 0.1f;
  }
  a.numTicks = 9;
  a.numIntervals = 10;
  a.startOffset = a.endOffset = 0.0f;
}

void xypK_XYPlot::RangeFromLimits(Axis& a) {
  // A limit beyond the float range arrives as infinity; NaN passes no comparison, so finiteness
  // is tested first.
  if (!a.minAuto) {
    const float v = a.minValue;
    if (a.scale == xypC_LOG && !(v > 0.0f)) xypK_MessageTypes::ErrorAxisValuesNotPositive(a.label);
    if (!std::isfinite(v) || v > a.rawMax)
      xypK_MessageTypes::ErrorSpecMinValueGreaterThanMaxValue(a.label);
    a.min = v;
  }
  if (!a.maxAuto) {
    const float v = a.maxValue;
    if (!std::isfinite(v) || v < a.rawMin)
      xypK_MessageTypes::ErrorSpecMaxValueLessThanMinValue(a.label);
    a.max = v;
  }
}

void xypK_XYPlot::ToDecades(Axis& a) {
  if (a.scale != xypC_LOG) return;
  const float smallestNormal = FLT_MIN;
  const float floorDecade = std::log10(FLT_MIN);
  if (a.max > smallestNormal) {
    a.min = a.min > smallestNormal ? std::log10(a.min) : floorDecade;
    a.max = std::log10(a.max);
  } else {
    a.min = a.max = floorDecade;
  }
}

void xypK_XYPlot::ComputeAxisAttributes(Axis& a) {
  // Range and centre: min/2 + max/2 cannot overflow where (min + max)/2 would.
  float range = Capped(a.max - a.min);
  const float centre = a.min / 2.0f + a.max / 2.0f + 0.1f * precis;
  if (a.minAuto && a.maxAuto) {
    if (std::fabs(centre) >= precis && std::fabs(range / centre) < 0.01f) {
      a.min = Capped(0.95f * centre);
      a.max = Capped(1.05f * centre);
    } else if (std::fabs(centre) < precis && range <= 10.0f * precis) {
      a.min = -1.0f;
      a.max = 1.0f;
    }
  }
  if (a.max < a.min) std::swap(a.min, a.max);
  range = Capped(a.max - a.min);
  if (range == 0.0f) xypK_MessageTypes::ErrorAxisRangeIsZero(a.label);

  if (a.scale == xypC_LINEAR) {
    const int p = NoOfPower(range);
    float unit = Pow10(static_cast<float>(p));
    float lo = a.min / unit;
    float hi = a.max / unit;
    if (hi - lo < 5.0f) {
      lo *= 10.0f;
      hi *= 10.0f;
      unit /= 10.0f;
    }
    a.autoIncrement =
        Capped(static_cast<float>(CalculateIncrementSize(Trunc(lo), Trunc(hi))) * unit);
    switch (a.tickMode) {
      case xypC_INCREMENT: {
        // A zero, negative, non-finite or tiny increment would overflow the tick count, so it is
        // refused here, in double, before anything is converted. Snapping the ends adds less
        // than two increments, so past range/increment = 104 the count is above 100 anyway.
        const float increment = a.optionIncrement;
        if (!std::isfinite(increment) || !(increment > 0.0f) ||
            static_cast<double>(range) / static_cast<double>(increment) > maxTickNoAllowed + 4)
          xypK_MessageTypes::ErrorExcessiveAxisTickmarkNumber(a.label);
        a.increment = increment;
        break;
      }
      case xypC_TOTAL_NUMBER:
        if (a.optionNumTicks < 0 || a.optionNumTicks > maxTickNoAllowed)
          xypK_MessageTypes::ErrorExcessiveAxisTickmarkNumber(a.label);
        a.numTicks = a.optionNumTicks;
        a.increment = (a.max - a.min) / static_cast<float>(a.numTicks + 1);
        if (!std::isfinite(a.increment))  // ends near the float limits overflow the difference
          a.increment = static_cast<float>((static_cast<double>(a.max) - a.min) / (a.numTicks + 1));
        break;
      default:
        a.increment = a.autoIncrement;
        break;
    }
  } else {
    float lo = static_cast<float>(Trunc(a.min));
    if (std::fabs(lo - a.min) > precis && a.min < 0.0f)
      lo = static_cast<float>(Trunc(a.min - 1.0f));
    float hi = static_cast<float>(Trunc(a.max));
    if (std::fabs(a.max - hi) > precis && a.max > 0.0f)
      hi = static_cast<float>(Trunc(a.max + 1.0f));
    // 10^39 is beyond the float range: the axis ends at the last decade a float holds.
    if (hi > kMaxDecade) hi = kMaxDecade;
    if (lo >= hi) lo = hi - 1.0f;
    a.min = lo;
    a.max = hi;
    a.increment = a.autoIncrement = 1.0f;
  }

  // First tick.
  int k = Trunc(a.min / a.increment);
  const float t1 = std::fabs(static_cast<float>(k + 1) * precis);
  if (a.min > 0.0f) k = k + 1;
  a.startOffset = static_cast<float>(k) * a.increment - a.min;
  float m = std::max(std::fabs(a.startOffset), std::fabs(a.increment));
  if (std::fabs(a.startOffset) >= 10.0f * precis) {
    if (std::fabs(a.startOffset - a.increment) < t1 * m) {
      a.startOffset = 0.0f;
    } else if (a.minAuto && std::fabs(a.startOffset / a.increment) > 0.8f) {
      a.min = Capped(static_cast<float>(k - 1) * a.increment);
      a.startOffset = 0.0f;
    }
  }

  // Last tick.
  int j = Trunc(a.max / a.increment);
  const float t2 = std::fabs(static_cast<float>(j + 1) * t1);
  if (a.max < 0.0f) j = j - 1;
  a.endOffset = a.max - static_cast<float>(j) * a.increment;
  m = std::max(std::fabs(a.endOffset), std::fabs(a.increment));
  if (std::fabs(a.endOffset) >= 10.0f * precis) {
    if (std::fabs(a.endOffset - a.increment) < t2 * m) {
      a.endOffset = 0.0f;
    } else if (a.maxAuto && std::fabs(a.endOffset / a.increment) > 0.8f) {
      a.max = Capped(static_cast<float>(j + 1) * a.increment);
      a.endOffset = 0.0f;
    }
  }

  // Tick count.
  if (a.scale == xypC_LOG || a.tickMode != xypC_TOTAL_NUMBER) {
    float n = (a.max - a.min - a.startOffset - a.endOffset) / a.increment;
    // Ends near the float limits overflow the difference; the count itself is small.
    if (!std::isfinite(n))
      n = static_cast<float>((static_cast<double>(a.max) - a.min - a.startOffset - a.endOffset) /
                             a.increment);
    const float below = std::floor(n);
    n = (n - below <= 0.5f) ? below : std::ceil(n);
    if (!(std::fabs(n) <= static_cast<float>(maxTickNoAllowed + 2)))
      xypK_MessageTypes::ErrorExcessiveAxisTickmarkNumber(a.label);
    a.numIntervals = static_cast<int>(n);
    a.numTicks = a.numIntervals < 1 ? 0 : a.numIntervals - 1;
  } else {
    a.numIntervals = a.numTicks + 1;
    a.startOffset = a.endOffset = 0.0f;
  }
  if (a.numTicks > maxTickNoAllowed) xypK_MessageTypes::ErrorExcessiveAxisTickmarkNumber(a.label);
}

void xypK_XYPlot::Populate(Axis& a) {
  if (a.scale == xypC_LINEAR) {
    if (a.maxAuto && (a.maxValue == xypC_XYPlotOptions::kNeverSet ||
                      xypC_XYPlotOptions::ApproximateEqual(a.maxValue, a.autoMaxValue)))
      a.maxValue = a.rawMax;
    if (a.minAuto && (a.minValue == xypC_XYPlotOptions::kNeverSet ||
                      xypC_XYPlotOptions::ApproximateEqual(a.minValue, a.autoMinValue)))
      a.minValue = a.rawMin;
    a.autoMaxValue = a.rawMax;
    a.autoMinValue = a.rawMin;
  } else {
    a.autoMaxValue = a.maxValue = Pow10(a.max);
    a.autoMinValue = a.minValue = Pow10(a.min);
  }
  if (a.tickMode != xypC_INCREMENT) {
    if (a.optionIncrement == xypC_XYPlotOptions::kNeverSet ||
        (a.tickMode == xypC_AUTOCOMPUTE &&
         xypC_XYPlotOptions::ApproximateEqual(a.optionIncrement, a.optionAutoIncrement)) ||
        a.tickMode == xypC_TOTAL_NUMBER)
      a.optionIncrement = a.increment;
  }
  if (a.tickMode != xypC_TOTAL_NUMBER) a.optionNumTicks = a.numTicks;
  a.optionAutoIncrement = a.autoIncrement;
}

void xypK_XYPlot::ResetClipLimits() {
  clipXMax = kResetMax;
  clipXMin = kResetMin;
  clipYMax = kResetMax;
  clipYMin = kResetMin;
}

int xypK_XYPlot::NoOfPower(float v) {
  float a = std::fabs(v);
  // Dividing infinity by ten never ends; the largest float has 38 powers of ten.
  if (std::isinf(a)) return kMaxDecade;
  int n = 0;
  while (a >= 10.0f) {
    a /= 10.0f;
    ++n;
  }
  while (a > 0.0f && a < 1.0f) {
    a *= 10.0f;
    --n;
  }
  return n;
}

int xypK_XYPlot::CalculateIncrementSize(int a, int b) {
  if (!((a % 5 == 0 && b % 5 == 0) || (a % 4 == 0 && b % 4 == 0))) {
    int a5, a4, a2;
    if (a < 0) {
      a5 = ((a - 4) / 5) * 5;
      a4 = ((a - 3) / 4) * 4;
      a2 = ((a - 1) / 2) * 2;
    } else {
      a5 = (a / 5) * 5;
      a4 = (a / 4) * 4;
      a2 = (a / 2) * 2;
    }
    const int b5 = ((b + 4) / 5) * 5;
    const int b4 = ((b + 3) / 4) * 4;
    const int b2 = ((b + 1) / 2) * 2;
    const int r = b - a;
    if (r > 0) {
      if (r <= 10) {
        a = a2;
        b = b2;
      } else {
        const float q5 = static_cast<float>(b5 - a5) / static_cast<float>(r);
        const float q4 = static_cast<float>(b4 - a4) / static_cast<float>(r);
        if (a % 5 != 0) a = a5;
        if (b % 5 != 0) b = b5;
        if (q4 < q5) {
          if (a % 4 != 0) a = a4;
          if (b % 4 != 0) b = b4;
        }
      }
    }
  }
  const int d = b - a;
  if (d <= 0) return 1;
  if (d >= 15 && d % 5 == 0) return 5;
  if (d >= 16 && d % 4 == 0) return 4;
  if (d >= 8 && d % 2 == 0) return 2;
  return 1;
}

void xypK_XYPlot::GetYMaxMinInXInterval(float x1, float x2, float& yMin, float& yMax) const {
  yMin = kResetMin;
  yMax = kResetMax;
  const float low = options.yMinAutoCompute ? rawYMin : options.yMinValue;
  const float high = options.yMaxAutoCompute ? rawYMax : options.yMaxValue;
  for (std::size_t i = displayed.FirstSet(); i < displayed.Size(); i = displayed.NextSet(i)) {
    const xypK_Curve* curve = i < curvesToPlot.Size() ? curves.Find(curvesToPlot[i]) : nullptr;
    if (!curve) continue;
    float cMin, cMax;
    curve->GetYMaxMinInXInterval(x1, x2, cMin, cMax, false);
    if (cMin >= low && cMin < yMin) yMin = cMin;
    if (cMax <= high && cMax > yMax) yMax = cMax;
  }
  yMin = yMin == kResetMin ? (clipYMin != kResetMin ? clipYMin : low) : std::min(clipYMin, yMin);
  yMax = yMax == kResetMax ? (clipYMax != kResetMax ? clipYMax : high) : std::max(clipYMax, yMax);
}

void xypK_XYPlot::GetXMaxMinInYInterval(float& xMin, float& xMax, float y1, float y2) const {
  xMin = kResetMin;
  xMax = kResetMax;
  const float low = options.xMinAutoCompute ? rawXMin : options.xMinValue;
  const float high = options.xMaxAutoCompute ? rawXMax : options.xMaxValue;
  for (std::size_t i = displayed.FirstSet(); i < displayed.Size(); i = displayed.NextSet(i)) {
    const xypK_Curve* curve = i < curvesToPlot.Size() ? curves.Find(curvesToPlot[i]) : nullptr;
    if (!curve) continue;
    float cMin, cMax;
    curve->GetXMaxMinInYInterval(cMin, cMax, y1, y2, false);
    if (cMin >= low && cMin < xMin) xMin = cMin;
    if (cMax <= high && cMax > xMax) xMax = cMax;
  }
  xMin = xMin == kResetMin ? (clipXMin != kResetMin ? clipXMin : low) : std::min(clipXMin, xMin);
  xMax = xMax == kResetMax ? (clipXMax != kResetMax ? clipXMax : high) : std::max(clipXMax, xMax);
}

cow_String xypK_XYPlot::GetDefaultTitle(const cow_String& plotName, bool isX) {
  if (!xypK_XYToolset::Exists()) return cow_String();
  const xypK_XYPlot* plot = xypK_XYToolset::Instance().ConstGetXYPlotDictionary().Find(plotName);
  return plot ? plot->DefaultTitle(isX) : cow_String();
}

cow_String xypK_XYPlot::DefaultTitle(bool isX) const {
  using Labels = uti_LabelMap<xypK_XYPlotEnm, 1>;
  if (curvesToPlot.IsEmpty())
    return Labels::LabelString(curves.IsEmpty() ? xypK_XYPlot_NoCurveCreated
                                                : xypK_XYPlot_NoCurveInPlotList);
  static const udd_UserXYData kNoData;
  auto dataOf = [&](std::size_t i) -> const udd_UserXYData& {
    const xypK_Curve* curve = curves.Find(curvesToPlot[i]);
    return curve ? curve->ConstGetCurveXYData() : kNoData;
  };
  auto labelOf = [&](const udd_UserXYData& d) -> const cow_String& {
    return isX ? d.XAxisLabel() : d.YAxisLabel();
  };
  const udd_UserXYData& first = dataOf(0);
  const cow_String firstLabel = labelOf(first);
  if (curvesToPlot.Size() == 1) return firstLabel;

  std::size_t common = firstLabel.Length();
  for (std::size_t i = 1; i < curvesToPlot.Size() && common > 0; ++i) {
    const std::string_view other = labelOf(dataOf(i)).View();
    std::size_t n = 0;
    while (n < common && n < other.size() && other[n] == firstLabel.View()[n]) ++n;
    common = n;
  }
  if (common == firstLabel.Length()) return firstLabel;
  const cow_String& description = first.ContentDescription();
  if (common >= description.Length() && firstLabel.View().starts_with(description.View()))
    return description;
  if (!isX) {
    const cow_String& source = first.SourceDescription();
    for (std::size_t i = 1; i < curvesToPlot.Size(); ++i)
      if (dataOf(i).SourceDescription() != source) return cow_String();
    return source;
  }
  return cow_String();
}

void xypK_XYPlot::SetCurvesToPlot(const cow_1DArrayList<cow_String>& names) {
  cow_1DArrayList<cow_String> unique;
  for (std::size_t i = 0; i < names.Size(); ++i) {
    bool seen = false;
    for (std::size_t j = 0; j < unique.Size() && !seen; ++j) seen = unique[j] == names[i];
    if (!seen) unique.Append(names[i]);
  }
  curvesToPlot = unique;
}

bool xypK_XYPlot::IsInCurvesToPlot(const cow_String& curveName) const {
  for (std::size_t i = 0; i < curvesToPlot.Size(); ++i)
    if (curvesToPlot[i] == curveName) return true;
  return false;
}

bool xypK_XYPlot::RemoveCurve(const cow_String& curveName) {
  curves.Remove(curveName);
  bool listed = false;
  for (std::size_t i = curvesToPlot.Size(); i-- > 0;) {
    if (curvesToPlot[i] == curveName) {
      curvesToPlot.RemoveAt(i);
      listed = true;
    }
  }
  return listed;
}
