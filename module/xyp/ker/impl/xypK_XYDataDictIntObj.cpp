#include "xypK_XYDataDictIntObj.h"

#include "cmdC_WIP.h"
#include "omi_Singleton.h"
#include "omu_PrimType.h"
#include "xypK_MessageTypes.h"
#include "xypK_XYDataIntObj.h"
#include "xypK_XYDataSessionCntr.h"
#include "xypK_XYToolset.h"

xypK_XYDataDictIntObj::xypK_XYDataDictIntObj() {
  DescribeType(TypeName(), nullptr, nullptr);
}

std::unique_ptr<omu_InterfaceObj> xypK_XYDataDictIntObj::Copy() const {
  return std::make_unique<xypK_XYDataDictIntObj>();
}

int xypK_XYDataDictIntObj::Length() {
  xypK_XYDataSessionCntr& repository = xypK_XYDataSessionCntr::Instance();
  return repository.IsEmpty() ? 0 : repository.Size();
}

omu_Result xypK_XYDataDictIntObj::Subscript(const cow_String& name) {
  if (!xypK_XYDataSessionCntr::Instance().IsMember(name)) return nullptr;
  return std::make_unique<omu_PrimType>(std::make_shared<xypK_XYDataIntObj>(name));
}

int xypK_XYDataDictIntObj::Assign(const cow_String&, const omu_Primitive&) {
  omi_Singleton<cmdC_WIP>::Instance().Warning("Assignment on XYData Dictionary Not implemented.");
  return 0;
}

int xypK_XYDataDictIntObj::Remove(const cow_String& name) {
  if (!xypK_XYDataSessionCntr::Instance().Remove(name)) return 0;
  xypK_XYToolset::Instance().DeleteXYData(name);
  return 1;
}

cow_List<cow_String> xypK_XYDataDictIntObj::Keys() {
  xypK_XYDataSessionCntr& repository = xypK_XYDataSessionCntr::Instance();
  return repository.IsEmpty() ? cow_List<cow_String>() : repository.Keys();
}

void xypK_XYDataDictIntObj::ChangeKey(const cow_String& oldName, const cow_String& newName) {
  const cow_String trimmed = newName.Trim(' ');
  if (trimmed.IsEmpty()) xypK_MessageTypes::ErrorXYDataNameNotGiven();
  if (trimmed == oldName) xypK_MessageTypes::ErrorOldNameEqualToNewName();
  xypK_XYDataSessionCntr& repository = xypK_XYDataSessionCntr::Instance();
  if (repository.IsEmpty()) return;
  if (repository.Rename(oldName, trimmed))
    xypK_XYToolset::Instance().RenameXYData(oldName, trimmed);
}

omu_Result xypK_XYDataDictIntObj::Summary() {
  return xypK_XYDataSessionCntr::Instance().Summary();
}
