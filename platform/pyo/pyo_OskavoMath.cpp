#include "pyo_OskavoMath.h"

#include "omi_Singleton.h"

namespace {
const omu_MethodRow kNoMethods[] = {{"", nullptr}};
}

pyo_OskavoMath::pyo_OskavoMath() : pyo_Module("oskavoMath", kNoMethods, IMPORTABLE) {}

pyo_OskavoMath& pyo_OskavoMath::Instance() {
  return omi_Singleton<pyo_OskavoMath>::Instance();
}
void pyo_OskavoMath::Finalize() {
  omi_Singleton<pyo_OskavoMath>::Finalize();
}
bool pyo_OskavoMath::Exists() {
  return omi_Singleton<pyo_OskavoMath>::Exists();
}

void pyo_OskavoMath::RegisterMathFunction(const char* name, Function function,
                                          const omu_Signature* signature) {
  AddFunction(name, function, signature);
}

void pyo_OskavoMath::RegisterMathFunctions(const pyo_MathFunctionRow* table) {
  for (const pyo_MathFunctionRow* row = table; row->name && *row->name; ++row)
    RegisterMathFunction(row->name, row->function, row->signature);
}
