#pragma once
// The scripting module "odbAccess": the results file writer's entry (create) and the symbolic
// constants of the results database (positions, domains, set kinds, shapes, complex forms).
// The Python package's xyp.odb builds on it. Brought up and taken down with the database
// library.
#include "pyo_Module.h"

class odb_AccessModule : public pyo_Module {
 public:
  static constexpr const char* kName = "odbAccess";
  odb_AccessModule();

  static void Create();
  static void Destroy();
};
