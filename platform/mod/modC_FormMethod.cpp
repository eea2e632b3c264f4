#include "modC_FormMethod.h"

void modC_FormMethod::Send(const omu_PrimTuple& value) {
  if (!IsActive()) return;
  value_ = std::make_unique<omu_PrimTuple>(value);
  receiver_.ValueChanged(*this);
}
