#pragma once
// A number tagged as integer or floating point, so that results keep the kind a script expects.
#include <cstdint>

#include "omu_Primitive.h"

class omu_PrimNumber : public omu_Primitive {
 public:
  explicit omu_PrimNumber(long long value) : isInteger_(true), integer_(value), real_(value) {}
  explicit omu_PrimNumber(int value) : omu_PrimNumber(static_cast<long long>(value)) {}
  explicit omu_PrimNumber(double value) : isInteger_(false), integer_(0), real_(value) {}
  explicit omu_PrimNumber(float value) : omu_PrimNumber(static_cast<double>(value)) {}
  // A single-precision option value as the double of its shortest decimal text: 9.7f reads as
  // 9.7 rather than 9.699999809265137, and narrows back to the same float.
  static std::unique_ptr<omu_PrimNumber> FromSingle(float value);

  bool IsInteger() const { return isInteger_; }
  long long AsInteger() const { return integer_; }
  double AsDouble() const { return real_; }

  omu_PrimKind Kind() const override { return omu_PrimKind::Number; }
  std::unique_ptr<omu_Primitive> Clone() const override;
  cow_String Repr() const override;
  cow_String DescribeKind() const override { return isInteger_ ? "int" : "float"; }

 private:
  bool isInteger_;
  long long integer_;
  double real_;
};
