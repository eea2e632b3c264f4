#pragma once
#include "omu_PrimSequence.h"

class omu_PrimList : public omu_PrimSequence {
 public:
  using omu_PrimSequence::omu_PrimSequence;
  omu_PrimKind Kind() const override { return omu_PrimKind::List; }
  std::unique_ptr<omu_Primitive> Clone() const override {
    return std::make_unique<omu_PrimList>(*this);
  }
  cow_String Repr() const override { return ItemsRepr("[", "]"); }
};
