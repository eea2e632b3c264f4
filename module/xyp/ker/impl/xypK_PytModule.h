#pragma once
// The scripting module "xyPlot": commands that make temporary XY data (named "Temp", never
// stored), the symbolic constants of the XY option enumerations, the object types, and the math
// functions imported from "oskavoMath".
#include "pyo_Module.h"
#include "xypK_WhereDataFromEnm.h"

class xypK_PytModule : public pyo_Module {
 public:
  xypK_PytModule();
  ~xypK_PytModule() override;

  void RegisterMathFunctions();
  omu_Result tmpXYDataFromKeyboard(omu_Arguments& args);
  omu_Result tmpXYDataFromFile(omu_Arguments& args);
  omu_Result tmpXYDataFromHistory(omu_Arguments& args);

 private:
  omu_Result ReadData(omu_Arguments& args, xypK_WhereDataFromEnm source);
  static const omu_MethodRow methods_[];
};
