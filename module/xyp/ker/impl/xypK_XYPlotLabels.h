#pragma once
// Default titles of the XY plot, looked up through uti_LabelMap<xypK_XYPlotEnm, 1> so that a
// text registered with the resource manager under the row's resource name replaces them.
#include "uti_LabelMap.h"

enum xypK_XYPlotEnm : int { xypK_XYPlot_NoCurveCreated = 0, xypK_XYPlot_NoCurveInPlotList = 1 };

// The title rows, in key order (defined in xypK_XYPlotLabels.cpp).
template <>
const uti_LabelMap<xypK_XYPlotEnm, 1>::Row uti_LabelMap<xypK_XYPlotEnm, 1>::table[];
