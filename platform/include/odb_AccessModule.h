#pragma once
// The scripting module "odbAccess": the results file writer's entry (create), the import of
// CalculiX jobs (fromCalculix) and the symbolic
// constants of the results database (positions, domains, set kinds, shapes, complex forms).
// The Python package's xyp.odb builds on it. Brought up and taken down with the database
// library.
#include "omu_Arguments.h"
#include "pyo_Module.h"

class odb_AccessModule : public pyo_Module {
 public:
  static constexpr const char* kName = "odbAccess";
  odb_AccessModule();

  static void Create();
  static void Destroy();

  // fromCalculix(job, out=None): writes the job's results file (by default beside the job) and
  // returns its path.
  static omu_Result FromCalculix(omu_Arguments& args);
};
