#include "xypK_XYDataIntObj.h"

#include "omu_PrimNone.h"
#include "xypK_ReadData.h"
#include "xypK_XYDataSessionCntr.h"

xypK_XYDataIntObj::xypK_XYDataIntObj(const cow_String& name) : oda_XYDataCommonIntObj(name, true) {
  xypK_XYDataSessionCntr& repository = xypK_XYDataSessionCntr::Instance();
  if (!repository.IsEmpty() && repository.IsMember(name)) SetRecord(repository.ConstGet(name));
}

std::unique_ptr<omu_InterfaceObj> xypK_XYDataIntObj::Copy() const {
  return std::make_unique<xypK_XYDataIntObj>(*this);
}

udd_UserXYData* xypK_XYDataIntObj::StoredRecord() const {
  if (!IsRepositoryBacked()) return nullptr;
  xypK_XYDataSessionCntr& repository = xypK_XYDataSessionCntr::Instance();
  if (repository.IsEmpty() || !repository.IsMember(Name())) return nullptr;
  return &repository.Get(Name());
}

// Only the fields this call set reach the stored record: a handle made before another write must
// not bring back the texts or pairs it saw then.
omu_Result xypK_XYDataIntObj::SetXYDataAttributes(omu_Arguments& args) {
  const unsigned changed = SetAXYDataAttributes(args, Record());
  if (udd_UserXYData* stored = StoredRecord()) {
    CopyAttributes(Record(), *stored, changed);
    xypK_XYDataSessionCntr::Instance().Update(Name());
  }
  return std::make_unique<omu_PrimNone>();
}

// The pairs are checked as typed pairs are, before anything changes.
omu_Result xypK_XYDataIntObj::AddXYData(omu_Arguments& args) {
  const omu_PrimSequence* data = nullptr;
  args.Begin();
  args.Get(data, "data");
  args.End();
  xypK_ReadData::SetCheckedPairs(*data, Record());
  if (udd_UserXYData* stored = StoredRecord()) {
    stored->SetPairs(Record().Pairs());
    xypK_XYDataSessionCntr::Instance().Update(Name());
  }
  return std::make_unique<omu_PrimNone>();
}
