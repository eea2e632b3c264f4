#include "sesK_LayerIntObj.h"

sesK_LayerIntObj::sesK_LayerIntObj(cow_String viewportName)
    : viewportName_(std::move(viewportName)) {
  DescribeType(TypeName(), nullptr, nullptr);
}

std::unique_ptr<omu_InterfaceObj> sesK_LayerIntObj::Copy() const {
  return std::make_unique<sesK_LayerIntObj>(viewportName_);
}

cow_String sesK_LayerIntObj::Repr() const {
  return "session.viewports['" + viewportName_ + "']";
}

std::vector<omu_InterfaceObj*> sesK_LayerIntObj::Extensions() const {
  return omu_Fragment<sesK_LayerIntObj>::Attached();
}
