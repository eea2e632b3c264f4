#include "oda_OdbIntObj.h"

#include "ddr_Root.h"
#include "oda_OdbFragment.h"
#include "omu_Arguments.h"
#include "omu_PrimNone.h"
#include "omu_PrimString.h"
#include "omu_PrimTuple.h"
#include "thr_ThreadSingleton.h"

const omu_MethodRow oda_OdbIntObj::methods_[] = {{"close", omu_Method<&oda_OdbIntObj::Close>},
                                                 {"", nullptr}};
const omu_MemberRow oda_OdbIntObj::members_[] = {
    {"path", omu_Getter<&oda_OdbIntObj::GetPath>, nullptr},
    {"steps", omu_Getter<&oda_OdbIntObj::GetSteps>, nullptr},
    {"", nullptr, nullptr}};

oda_OdbIntObj::oda_OdbIntObj(cow_String realPath, std::uint64_t generation)
    : path_(std::move(realPath)), generation_(generation) {
  DescribeType(TypeName(), methods_, members_);
}

std::unique_ptr<omu_InterfaceObj> oda_OdbIntObj::Copy() const {
  return std::make_unique<oda_OdbIntObj>(path_, generation_);
}

cow_String oda_OdbIntObj::Repr() const {
  return "session.odbs['" + path_ + "']";
}

std::vector<omu_InterfaceObj*> oda_OdbIntObj::Extensions() const {
  const std::vector<omu_InterfaceObj*>& fragments = omu_Fragment<oda_OdbIntObj>::Attached();
  for (omu_InterfaceObj* f : fragments)
    static_cast<oda_OdbFragment*>(f)->AttachTo(path_, generation_);
  return fragments;
}

odb_Odb& oda_OdbIntObj::Database() const {
  return thr_ThreadSingleton<ddr_Root>::Instance().Require(path_, generation_);
}

omu_Result oda_OdbIntObj::GetPath() {
  Database();
  return std::make_unique<omu_PrimString>(path_);
}

omu_Result oda_OdbIntObj::GetSteps() {
  const odb_Odb& odb = Database();
  auto names = std::make_unique<omu_PrimTuple>();
  for (const ddb_Step& step : odb.Steps()) names->Append(std::make_unique<omu_PrimString>(step.name));
  return names;
}

omu_Result oda_OdbIntObj::Close(omu_Arguments& args) {
  args.Begin();
  args.End();
  Database();
  thr_ThreadSingleton<ddr_Root>::Instance().Close(path_);
  return std::make_unique<omu_PrimNone>();
}
