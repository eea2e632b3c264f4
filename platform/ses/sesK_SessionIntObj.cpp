#include "sesK_SessionIntObj.h"

sesK_SessionIntObj::sesK_SessionIntObj() {
  DescribeType(TypeName(), nullptr, nullptr);
}

std::unique_ptr<omu_InterfaceObj> sesK_SessionIntObj::Copy() const {
  return std::make_unique<sesK_SessionIntObj>();
}

std::vector<omu_InterfaceObj*> sesK_SessionIntObj::Extensions() const {
  return omu_Fragment<sesK_SessionIntObj>::Attached();
}
