#include "sesK_SessionIntObj.h"

#include "omu_PrimType.h"
#include "sesK_ViewAnnOptionsIntObj.h"
#include "sesK_ViewportDictIntObj.h"

const omu_MemberRow sesK_SessionIntObj::members_[] = {
    {"viewports", omu_Getter<&sesK_SessionIntObj::GetViewports>, nullptr},
    {"defaultViewportAnnotationOptions",
     omu_Getter<&sesK_SessionIntObj::GetDefaultViewportAnnotationOptions>, nullptr},
    {"", nullptr, nullptr}};

sesK_SessionIntObj::sesK_SessionIntObj() {
  DescribeType(TypeName(), nullptr, members_);
}

std::unique_ptr<omu_InterfaceObj> sesK_SessionIntObj::Copy() const {
  return std::make_unique<sesK_SessionIntObj>();
}

std::vector<omu_InterfaceObj*> sesK_SessionIntObj::Extensions() const {
  return omu_Fragment<sesK_SessionIntObj>::Attached();
}

omu_Result sesK_SessionIntObj::GetDefaultViewportAnnotationOptions() {
  return std::make_unique<omu_PrimType>(std::make_shared<sesK_ViewAnnOptionsIntObj>());
}

omu_Result sesK_SessionIntObj::GetViewports() {
  return std::make_unique<omu_PrimType>(std::make_shared<sesK_ViewportDictIntObj>());
}
