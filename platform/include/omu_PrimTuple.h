#pragma once
#include "omu_PrimSequence.h"

class omu_PrimTuple : public omu_PrimSequence {
 public:
  using omu_PrimSequence::omu_PrimSequence;
  omu_PrimKind Kind() const override { return omu_PrimKind::Tuple; }
  std::unique_ptr<omu_Primitive> Clone() const override {
    return std::make_unique<omu_PrimTuple>(*this);
  }
  cow_String Repr() const override;
};
