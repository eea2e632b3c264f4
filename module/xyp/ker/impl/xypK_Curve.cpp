#include "xypK_Curve.h"

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
  float x0 = kResetMin, x1 = kResetMax, y0 = kResetMin, y1 = kResetMax;
  const udd_UserXYData& data = ConstGetCurveXYData();
  const std::size_t n = data.Size();
  if (n > 0) {
    const udd_PairEntry* pairs = &data.Pair(0);
    for (std::size_t i = 0; i < n; ++i) {
      const float x = pairs[i].x, y = pairs[i].y;
      if (!std::isfinite(x) || !std::isfinite(y)) continue;
      if (x < x0) x0 = x;
      if (x > x1) x1 = x;
      if (y < y0) y0 = y;
      if (y > y1) y1 = y;
    }
  }
  xMin = x0;
  xMax = x1;
  yMin = y0;
  yMax = y1;
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
