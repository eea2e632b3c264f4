#pragma once
// The XY-plot commands and members of the session object.
#include "sesK_SessionFragment.h"
#include "xypK_WhereDataFromEnm.h"

class xypK_SessionFragment : public sesK_SessionFragment {
 public:
  xypK_SessionFragment();
  ~xypK_SessionFragment() override;
  static const char* TypeName() { return "xypK_SessionFragment"; }
  // What the XY data commands read; the xyPlot module's commands of the same names share them.
  static const omu_Signature keyboardSignature;
  static const omu_Signature fileSignature;
  static const omu_Signature historySignature;
  std::unique_ptr<omu_InterfaceObj> Copy() const override;
  cow_String CommandPath(const cow_String& parentPath, const cow_String& command,
                         const omu_Arguments& args) const override;

  omu_Result XYDataFromKeyboard(omu_Arguments& args);
  omu_Result XYDataFromFile(omu_Arguments& args);
  omu_Result XYDataFromHistory(omu_Arguments& args);
  omu_Result XYPlot(omu_Arguments& args);
  omu_Result WriteXYReport(omu_Arguments& args);
  omu_Result xyData();
  omu_Result xyPlot();
  omu_Result xyReportOptions();
  omu_Result defaultXYReportOptions();
  omu_Result defaultXYPlotOptions();

 private:
  xypK_SessionFragment(const xypK_SessionFragment& other) = default;
  omu_Result ReadData(omu_Arguments& args, xypK_WhereDataFromEnm source);
  static const omu_MethodRow methods_[];
  static const omu_MemberRow members_[];
  static const omu_DeprecatedMemberRow deprecatedMembers_[];
};
