#include "xypK_OdbFragment.h"

#include "omu_PrimType.h"
#include "xypK_HistoryVariableDictIntObj.h"
#include "xypK_HistoryVariableIntObj.h"

const omu_MemberRow xypK_OdbFragment::members_[] = {
    {"historyVariables", omu_Getter<&xypK_OdbFragment::GetHistoryVariables>, nullptr},
    {"", nullptr, nullptr}};

xypK_OdbFragment::xypK_OdbFragment() {
  DescribeType(TypeName(), nullptr, members_);
}

std::unique_ptr<omu_InterfaceObj> xypK_OdbFragment::Copy() const {
  return std::make_unique<xypK_OdbFragment>();
}

omu_Result xypK_OdbFragment::GetHistoryVariables() {
  xypK_HistoryVariableIntObj::Database(RealPath(), Generation());  // closed: OdbError
  return std::make_unique<omu_PrimType>(
      std::make_shared<xypK_HistoryVariableDictIntObj>(RealPath(), Generation()));
}
