#pragma once
// "XYPlotOptions": the options of one plot, or the defaults new plots start from. Members read
// the record; "setValues" changes several options at once, recalculates the plot and puts the
// old options back when the new ones cannot be laid out.
#include "omu_InterfaceObj.h"
#include "xypC_XYPlotOptions.h"

class xypK_XYPlotOptionsIntObj : public omu_InterfaceObj {
 public:
  explicit xypK_XYPlotOptionsIntObj(const cow_String& plotName);
  // A literal name must not pick the bool constructor.
  explicit xypK_XYPlotOptionsIntObj(const char* plotName)
      : xypK_XYPlotOptionsIntObj(cow_String(plotName)) {}
  explicit xypK_XYPlotOptionsIntObj(bool isDefault);
  xypK_XYPlotOptionsIntObj(const xypK_XYPlotOptionsIntObj& other);
  static const char* TypeName() { return "XYPlotOptions"; }
  std::unique_ptr<omu_InterfaceObj> Copy() const override;
  cow_String Repr() const override;
  cow_String CommandPath() const;
  using omu_InterfaceObj::CommandPath;

  // The viewed record: the plot's options, or the defaults.
  const xypC_XYPlotOptions& ConstGetOptions() const;
  bool IsBoundToPlot() const { return !isDefault_ && !plotName_.IsEmpty(); }

  omu_Result SetAttributes(omu_Arguments& args);

 private:
  static const omu_MethodRow methods_[];
  static const omu_MemberRow members_[];
  cow_String plotName_;
  bool isDefault_;
};
