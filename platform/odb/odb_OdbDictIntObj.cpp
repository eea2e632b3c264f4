#include "odb_OdbDictIntObj.h"

#include "ddr_Root.h"
#include "oda_OdbIntObj.h"
#include "omu_PrimType.h"
#include "thr_ThreadSingleton.h"

odb_OdbDictIntObj::odb_OdbDictIntObj() {
  DescribeType(TypeName(), nullptr, nullptr);
}

std::unique_ptr<omu_InterfaceObj> odb_OdbDictIntObj::Copy() const {
  return std::make_unique<odb_OdbDictIntObj>();
}

int odb_OdbDictIntObj::Length() {
  return static_cast<int>(thr_ThreadSingleton<ddr_Root>::Instance().Paths().size());
}

omu_Result odb_OdbDictIntObj::Subscript(const cow_String& key) {
  const odb_Odb* odb = thr_ThreadSingleton<ddr_Root>::Instance().Find(key);
  if (!odb) return nullptr;
  return std::make_unique<omu_PrimType>(std::make_shared<oda_OdbIntObj>(key, odb->Generation()));
}

int odb_OdbDictIntObj::Assign(const cow_String&, const omu_Primitive&) {
  return 0;
}

int odb_OdbDictIntObj::Remove(const cow_String&) {
  return 0;
}

cow_List<cow_String> odb_OdbDictIntObj::Keys() {
  cow_List<cow_String> keys;
  for (const cow_String& path : thr_ThreadSingleton<ddr_Root>::Instance().Paths()) keys.Append(path);
  return keys;
}
