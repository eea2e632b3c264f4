#include "sesK_ViewportDictIntObj.h"

#include "omu_PrimType.h"
#include "sesC_PostIdMap.h"
#include "sesK_LayerIntObj.h"

sesK_ViewportDictIntObj::sesK_ViewportDictIntObj() {
  DescribeType(TypeName(), nullptr, nullptr);
}

std::unique_ptr<omu_InterfaceObj> sesK_ViewportDictIntObj::Copy() const {
  return std::make_unique<sesK_ViewportDictIntObj>();
}

int sesK_ViewportDictIntObj::Length() {
  return static_cast<int>(sesC_PostIdMap::Names().size());
}

omu_Result sesK_ViewportDictIntObj::Subscript(const cow_String& key) {
  if (sesC_PostIdMap::GetPostId(key) < 0) return nullptr;
  return std::make_unique<omu_PrimType>(std::make_shared<sesK_LayerIntObj>(key));
}

int sesK_ViewportDictIntObj::Assign(const cow_String&, const omu_Primitive&) {
  return 0;
}

int sesK_ViewportDictIntObj::Remove(const cow_String&) {
  return 0;
}

cow_List<cow_String> sesK_ViewportDictIntObj::Keys() {
  cow_List<cow_String> keys;
  for (const cow_String& name : sesC_PostIdMap::Names()) keys.Append(name);
  return keys;
}
