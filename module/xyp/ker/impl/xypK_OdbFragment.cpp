#include "xypK_OdbFragment.h"

#include "ddr_Root.h"
#include "omu_PrimType.h"
#include "thr_ThreadSingleton.h"
#include "xypK_HistoryVariableDictIntObj.h"

const omu_MemberRow xypK_OdbFragment::members_[] = {
    {"historyVariables", omu_Getter<&xypK_OdbFragment::GetHistoryVariables>, nullptr,
     "mapping of legend to HistoryVariable", "the history outputs of the file"},
    {"", nullptr, nullptr}};

xypK_OdbFragment::xypK_OdbFragment() {
  DescribeType(TypeName(), nullptr, members_);
}

std::unique_ptr<omu_InterfaceObj> xypK_OdbFragment::Copy() const {
  return std::make_unique<xypK_OdbFragment>();
}

omu_Result xypK_OdbFragment::GetHistoryVariables() {
  thr_ThreadSingleton<ddr_Root>::Instance().Require(RealPath(), Generation());  // closed: OdbError
  return std::make_unique<omu_PrimType>(
      std::make_shared<xypK_HistoryVariableDictIntObj>(RealPath(), Generation()));
}
