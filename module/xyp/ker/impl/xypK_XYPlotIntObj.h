#pragma once
// "XYPlot": a script's handle on one XY plot. It holds the plot's name only and looks the plot
// up at every use, so it never shows a stale copy; a handle whose plot is gone says so.
#include <string>

#include "gdr_ImageWriter.h"
#include "omu_InterfaceObj.h"

class oda_XYDataCommonIntObj;
class xypK_XYPlot;

class xypK_XYPlotIntObj : public omu_InterfaceObj {
 public:
  explicit xypK_XYPlotIntObj(const cow_String& plotName, int viewport = -1);
  xypK_XYPlotIntObj(const xypK_XYPlotIntObj& other);
  static const char* TypeName() { return "XYPlot"; }
  std::unique_ptr<omu_InterfaceObj> Copy() const override;
  cow_String Repr() const override;
  cow_String FullRepr() const override;

  const cow_String& PlotName() const { return plotName_; }
  int Viewport() const { return viewport_; }

  omu_Result Curve(omu_Arguments& args);
  omu_Result CurveSet(omu_Arguments& args);
  omu_Result SetValues(omu_Arguments& args);
  // The plot as a PNG (bytes) or an SVG document (str), for notebooks to show inline: as the
  // viewport that shows it draws it (the current one first), else as the current viewport
  // would, at that viewport's size. Nothing in the session changes.
  omu_Result ReprPng(omu_Arguments& args);
  omu_Result ReprSvg(omu_Arguments& args);

  omu_Result GetName();
  omu_Result GetCurves();
  omu_Result GetXYPlotOptions();
  omu_Result GetCurvesToPlot();
  omu_Result GetCurvesDescriptions();
  omu_Result GetXAxisTitleSource();
  omu_Result GetYAxisTitleSource();
  omu_Result GetSystemDefinedXAxisTitle();
  omu_Result GetSystemDefinedYAxisTitle();
  omu_Result GetXAxisTitle();
  omu_Result GetYAxisTitle();
  omu_Result GetNumCurves();

 private:
  // The plot, after checking that the handle names one that exists.
  xypK_XYPlot& Plot();
  std::string Picture(gdr_ImageWriter::Format format);
  // Makes or re-binds curve `curveName` of the plot to the data; the plot is redrawn now, or
  // once later when `deferRefresh` (refreshPending_).
  omu_Result CreateSingleCurve(const cow_String& curveName, const oda_XYDataCommonIntObj& data,
                               bool deferRefresh);

  static const omu_MethodRow methods_[];
  static const omu_MemberRow members_[];
  static const omu_DeprecatedMemberRow deprecatedMembers_[];
  cow_String plotName_;
  int viewport_;
  bool refreshPending_ = false;
};
