#include "omu_PrimArray.h"

#include <string>

omu_PrimArray::omu_PrimArray(std::vector<std::int32_t> values, std::size_t columns)
    : ints_(std::move(values)), columns_(columns) {}

omu_PrimArray::omu_PrimArray(std::vector<float> values, std::size_t columns)
    : floats_(std::move(values)), isFloat_(true), columns_(columns) {}

std::unique_ptr<omu_Primitive> omu_PrimArray::Clone() const {
  std::unique_ptr<omu_PrimArray> copy(new omu_PrimArray());
  *copy = *this;
  return copy;
}

std::size_t omu_PrimArray::Rows() const {
  const std::size_t n = isFloat_ ? floats_.size() : ints_.size();
  return columns_ ? n / columns_ : n;
}

cow_String omu_PrimArray::Repr() const {
  std::string text = isFloat_ ? "<array of float32, shape (" : "<array of int32, shape (";
  text.append(std::to_string(Rows()));
  if (columns_) {
    text.append(", ");
    text.append(std::to_string(columns_));
  } else {
    text.push_back(',');
  }
  text.append(")>");
  return cow_String(text);
}
