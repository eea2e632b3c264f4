#pragma once
#include "omu_Primitive.h"

class omu_PrimString : public omu_Primitive {
 public:
  explicit omu_PrimString(cow_String value) : value_(std::move(value)) {}
  const cow_String& Value() const { return value_; }
  omu_PrimKind Kind() const override { return omu_PrimKind::String; }
  std::unique_ptr<omu_Primitive> Clone() const override {
    return std::make_unique<omu_PrimString>(value_);
  }
  cow_String Repr() const override;

 private:
  cow_String value_;
};
