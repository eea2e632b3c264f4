#include "xypK_Module.h"

#include "cmdC_XypMessageTable.h"
#include "modC_MethodFactory.h"
#include "modC_ModeManager.h"
#include "omu_Atom.h"
#include "omu_ScriptingGate.h"
#include "prbK_Module.h"
#include "utl_Libraries.h"
#include "xypC_XYReportOptions.h"
#include "xypK_XYDataSessionCntr.h"
#include "xypK_XYToolset.h"

namespace {
// Nesting of start-up calls; the module is up once the first start-up has completed.
int moduleCounter = 0;
bool moduleUp = false;

const typ_Entry archRows[1] = {};
constexpr int kArchComponentId = 645;
}  // namespace

typ_ArchCompEntry xypK_ArchEntry() {
  return typ_ArchCompEntry{archRows, 1};
}

bool xypK_IsUp() {
  return moduleUp;
}

namespace {
void StartUp(int& count) {
  ++count;
  utl_initialize(count);
  omu_initialize(count);
  pyo_initialize(count);
  mdl_initialize(count);
  g3d_initialize(count);
  cmdC_initialize(count);
  sesC_initialize(count);
  xypC_initialize(count);
  modC_initialize(count);
  res_initialize(count);
  ddb_initialize(count);
  odb_initialize(count);
  oda_initialize(count);
  bas_initialize(count);
  odpK_initialize(count);
  gdy_initialize(count);
  mmgK_initialize(count);
  prbK_initialize(count);
  gtkK_initialize(count);
  xypK_XYToolset::Instance();
  omu_Atom::CreateAtom("xypK_XYPlotEditor");
  typ_ArchCompTable::Instance().InsertEntry(kArchComponentId, xypK_ArchEntry());
  xypC_XYReportOptions::TheInstance();
}
}  // namespace

void xypK_initialize(int& count) {
  if (moduleCounter++ != 0) return;
  try {
    StartUp(count);
  } catch (...) {
    moduleCounter = 0;  // a failed start-up leaves the module down, to be tried again
    throw;
  }
  moduleUp = true;
  omu_ScriptingGate::SetOpen(true);
}

void xypK_finalize(int& count) {
  if (moduleCounter <= 0) return;  // never below zero: an extra shut-down does nothing
  if (--moduleCounter != 0) return;
  omu_ScriptingGate::SetOpen(false);
  // A running mode ends first, while everything it works on is still there.
  if (modC_ModeManager::Exists()) modC_ModeManager::Instance().Leave();
  modC_ModeManager::Finalize();
  modC_MethodFactory::Finalize();
  moduleUp = false;
  --count;
  xypK_XYDataSessionCntr::Finalize();
  xypC_XYReportOptions::Finalize();
  cmdC_XypMessageTable::Finalize();
  xypK_XYToolset::Finalize();
  gtkK_finalize(count);
  prbK_finalize(count);
  mmgK_finalize(count);
  gdy_finalize(count);
  odpK_finalize(count);
  bas_finalize(count);
  oda_finalize(count);
  odb_finalize(count);
  ddb_finalize(count);
  res_finalize(count);
  modC_finalize(count);
  xypC_finalize(count);
  sesC_finalize(count);
  cmdC_finalize(count);
  g3d_finalize(count);
  mdl_finalize(count);
  pyo_finalize(count);
  omu_finalize(count);
  utl_finalize(count);
}
