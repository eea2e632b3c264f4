#include "omu_PrimType.h"

#include "omu_InterfaceObj.h"

omu_PrimType::omu_PrimType(std::shared_ptr<omu_InterfaceObj> object) : object_(std::move(object)) {}

cow_String omu_PrimType::Repr() const {
  return object_ ? object_->Repr() : "None";
}

cow_String omu_PrimType::DescribeKind() const {
  return object_ ? cow_String(object_->ObjectTypeName()) : cow_String("None");
}
