#pragma once
// The math module "oskavoMath": functions over XY data that other modules register and import.
#include "pyo_Module.h"

struct pyo_MathFunctionRow {
  const char* name;
  pyo_Module::Function function;
  const omu_Signature* signature = nullptr;
};

class pyo_OskavoMath : public pyo_Module {
 public:
  pyo_OskavoMath();
  static pyo_OskavoMath& Instance();
  static void Finalize();
  static bool Exists();

  void RegisterMathFunction(const char* name, Function function,
                            const omu_Signature* signature = nullptr);
  // Registers every row of a table ended by a row with an empty name.
  void RegisterMathFunctions(const pyo_MathFunctionRow* table);
};
