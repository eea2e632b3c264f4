#pragma once
// A scripting object as a value. The object is shared: the script's handle and an argument that
// passes it to a command refer to the same object.
#include <memory>

#include "omu_Primitive.h"

class omu_InterfaceObj;

class omu_PrimType : public omu_Primitive {
 public:
  explicit omu_PrimType(std::shared_ptr<omu_InterfaceObj> object);
  const std::shared_ptr<omu_InterfaceObj>& Object() const { return object_; }

  omu_PrimKind Kind() const override { return omu_PrimKind::Type; }
  std::unique_ptr<omu_Primitive> Clone() const override {
    return std::make_unique<omu_PrimType>(object_);
  }
  cow_String Repr() const override;
  cow_String DescribeKind() const override;

 private:
  std::shared_ptr<omu_InterfaceObj> object_;
};
