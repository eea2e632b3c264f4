#include "xypK_XYPlotLabels.h"

template <>
const uti_LabelMap<xypK_XYPlotEnm, 1>::Row uti_LabelMap<xypK_XYPlotEnm, 1>::table[] = {
    {"No curve created in the current plot", "xypK_XYPlot_MSGID_00", xypK_XYPlot_NoCurveCreated},
    {"No curve in plot list", "xypK_XYPlot_MSGID_01", xypK_XYPlot_NoCurveInPlotList},
    {nullptr, nullptr, xypK_XYPlotEnm(0)}};
