#pragma once
// A block of numbers that crosses the scripting boundary whole: 32-bit integers or floats of
// shape (rows) or (rows, columns). The binding makes one array of it (numpy's in Python), never
// an object per number. Commands return it; scripts do not pass it.
#include <cstdint>
#include <memory>
#include <vector>

#include "omu_Primitive.h"

class omu_PrimArray : public omu_Primitive {
 public:
  explicit omu_PrimArray(std::vector<std::int32_t> values, std::size_t columns = 0);
  explicit omu_PrimArray(std::vector<float> values, std::size_t columns = 0);

  omu_PrimKind Kind() const override { return omu_PrimKind::Array; }
  std::unique_ptr<omu_Primitive> Clone() const override;
  cow_String Repr() const override;

  bool IsFloat() const { return isFloat_; }
  const std::vector<std::int32_t>& Ints() const { return ints_; }
  const std::vector<float>& Floats() const { return floats_; }
  // Rows; columns 0 for a one-dimensional array.
  std::size_t Rows() const;
  std::size_t Columns() const { return columns_; }

 private:
  omu_PrimArray() = default;
  std::vector<std::int32_t> ints_;
  std::vector<float> floats_;
  bool isFloat_ = false;
  std::size_t columns_ = 0;
};
