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
  std::string shape =
      "(" + std::to_string(Rows()) + (columns_ ? ", " + std::to_string(columns_) : ",") + ")";
  return cow_String(std::string("<array of ") + (isFloat_ ? "float32" : "int32") + ", shape " +
                    shape + ">");
}
