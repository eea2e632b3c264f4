#include "xypC_XYReportOptions.h"

#include "omi_Singleton.h"

xypC_XYReportOptions& xypC_XYReportOptions::TheInstance() {
  return omi_Singleton<xypC_XYReportOptions>::Instance();
}

void xypC_XYReportOptions::Finalize() {
  omi_Singleton<xypC_XYReportOptions>::Finalize();
}
