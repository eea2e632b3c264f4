#pragma once
#include "omu_Primitive.h"

class omu_PrimNone : public omu_Primitive {
 public:
  omu_PrimKind Kind() const override { return omu_PrimKind::None; }
  std::unique_ptr<omu_Primitive> Clone() const override { return std::make_unique<omu_PrimNone>(); }
  cow_String Repr() const override { return "None"; }
};
