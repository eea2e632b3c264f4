#include "xypC_XYPlotOptions.h"

#include <cmath>

namespace {
// Titles and labels in a sans-serif face; the defaults draw dark on the white background.
constexpr const char* kSansFont = "-*-helvetica-medium-r-*-*-*-100-*-*-*-*-iso8859-1";
}  // namespace

xypC_XYPlotOptions::xypC_XYPlotOptions()
    : majorGridLineColor("Gray"),
      minorGridLineColor("LightGray"),
      xAxisTitleColor("Black"),
      xAxisTitleFont(kSansFont),
      yAxisTitleColor("Black"),
      yAxisTitleFont(kSansFont),
      xAxisLabelFont(kSansFont),
      yAxisLabelFont(kSansFont),
      axisColor("Black") {}

bool xypC_XYPlotOptions::ApproximateEqual(float a, float b) {
  if (a == b) return true;
  if (!std::isfinite(a) || !std::isfinite(b)) return false;
  const double da = a, db = b;
  return std::fabs(da - db) <= 1e-5 * std::fmax(std::fabs(da), std::fabs(db));
}
