#pragma once
#include "omu_Primitive.h"

class omu_PrimBool : public omu_Primitive {
 public:
  explicit omu_PrimBool(bool value) : value_(value) {}
  bool Value() const { return value_; }
  omu_PrimKind Kind() const override { return omu_PrimKind::Bool; }
  std::unique_ptr<omu_Primitive> Clone() const override {
    return std::make_unique<omu_PrimBool>(value_);
  }
  cow_String Repr() const override { return value_ ? "True" : "False"; }

 private:
  bool value_;
};
