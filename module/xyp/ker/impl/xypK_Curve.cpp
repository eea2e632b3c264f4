#include "xypK_Curve.h"

#include <algorithm>
#include <cmath>

#include "xypK_XYDataSessionCntr.h"

xypK_Curve::xypK_Curve(const cow_String& curveName) : name(curveName), xyData(0) {}

const udd_UserXYData& xypK_Curve::ConstGetCurveXYData() const {
  if (!xyDataName.IsEmpty() && xypK_XYDataSessionCntr::Exists()) {
    const xypK_XYDataSessionCntr& repository = xypK_XYDataSessionCntr::Instance();
    if (repository.IsMember(xyDataName)) return repository.ConstGet(xyDataName);
  }
  return xyData;
}

void xypK_Curve::CalculateMinMax() {
  // Eight independent running extents, selected without branches, so that the compiler can keep
  // them in vector registers: one pass over the pairs at close to memory speed.
  constexpr std::size_t kLanes = 8;
  float x0[kLanes], x1[kLanes], y0[kLanes], y1[kLanes];
  for (std::size_t k = 0; k < kLanes; ++k) {
    x0[k] = y0[k] = kResetMin;
    x1[k] = y1[k] = kResetMax;
  }
  const udd_UserXYData& data = ConstGetCurveXYData();
  const std::size_t n = data.Size();
  const udd_PairEntry* pairs = n > 0 ? &data.Pair(0) : nullptr;
  auto take = [&](std::size_t k, const udd_PairEntry& p) {
    // Not finite (inf or NaN): the pair cannot be placed on an axis and is left out.
    const bool finite = std::fabs(p.x) <= kResetMin && std::fabs(p.y) <= kResetMin;
    const float xLow = finite ? p.x : kResetMin, xHigh = finite ? p.x : kResetMax;
    const float yLow = finite ? p.y : kResetMin, yHigh = finite ? p.y : kResetMax;
    x0[k] = xLow < x0[k] ? xLow : x0[k];
    x1[k] = xHigh > x1[k] ? xHigh : x1[k];
    y0[k] = yLow < y0[k] ? yLow : y0[k];
    y1[k] = yHigh > y1[k] ? yHigh : y1[k];
  };
  std::size_t i = 0;
  for (; i + kLanes <= n; i += kLanes)
    for (std::size_t k = 0; k < kLanes; ++k) take(k, pairs[i + k]);
  for (std::size_t k = 0; i < n; ++i, ++k) take(k, pairs[i]);
  xMin = yMin = kResetMin;
  xMax = yMax = kResetMax;
  for (std::size_t k = 0; k < kLanes; ++k) {
    xMin = std::min(xMin, x0[k]);
    xMax = std::max(xMax, x1[k]);
    yMin = std::min(yMin, y0[k]);
    yMax = std::max(yMax, y1[k]);
  }
}

namespace {
// The extent along `out` of the pairs whose `in` coordinate lies in [lo, hi].
template <float udd_PairEntry::*In, float udd_PairEntry::*Out>
void ExtentInInterval(const udd_UserXYData& data, float lo, float hi, float& outMin, float& outMax,
                      bool skipFirst) {
  outMin = xypK_Curve::kResetMin;
  outMax = xypK_Curve::kResetMax;
  const std::size_t n = data.Size();
  for (std::size_t i = skipFirst ? 1 : 0; i < n; ++i) {
    const udd_PairEntry& p = data.Pair(i);
    const float in = p.*In, out = p.*Out;
    if (!std::isfinite(in) || !std::isfinite(out)) continue;
    if (in < lo || in > hi) continue;
    if (out < outMin) outMin = out;
    if (out > outMax) outMax = out;
  }
  if (skipFirst && n == 1) outMin = 0.0f;
}
}  // namespace

void xypK_Curve::GetYMaxMinInXInterval(float x1, float x2, float& yMinOut, float& yMaxOut,
                                       bool skipFirst) const {
  ExtentInInterval<&udd_PairEntry::x, &udd_PairEntry::y>(ConstGetCurveXYData(), x1, x2, yMinOut,
                                                         yMaxOut, skipFirst);
}

void xypK_Curve::GetXMaxMinInYInterval(float& xMinOut, float& xMaxOut, float y1, float y2,
                                       bool skipFirst) const {
  ExtentInInterval<&udd_PairEntry::y, &udd_PairEntry::x>(ConstGetCurveXYData(), y1, y2, xMinOut,
                                                         xMaxOut, skipFirst);
}
