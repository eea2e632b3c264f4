#include "xypK_HistoryVariableIntObj.h"

#include "ddr_Root.h"
#include "omu_PrimEnumBase.h"
#include "omu_PrimNumber.h"
#include "omu_PrimString.h"
#include "omu_PrimTuple.h"
#include "res_Enumerations.h"
#include "thr_ThreadSingleton.h"
#include "xypK_XYToolset.h"

const omu_MemberRow xypK_HistoryVariableIntObj::members_[] = {
    {"name", omu_Getter<&xypK_HistoryVariableIntObj::GetName>, nullptr, "str",
     "the output's legend"},
    {"steps", omu_Getter<&xypK_HistoryVariableIntObj::GetSteps>, nullptr, "tuple of str",
     "the steps that hold it"},
    {"legendLabel", omu_Getter<&xypK_HistoryVariableIntObj::GetLegendLabel>, nullptr, "str",
     "the legend XY data of it gets"},
    {"", nullptr, nullptr}};

xypK_HistoryVariableIntObj::xypK_HistoryVariableIntObj(cow_String label, cow_String realPath,
                                                       std::uint64_t generation)
    : label_(std::move(label)), path_(std::move(realPath)), generation_(generation) {
  DescribeType(TypeName(), nullptr, members_);
}

std::unique_ptr<omu_InterfaceObj> xypK_HistoryVariableIntObj::Copy() const {
  return std::make_unique<xypK_HistoryVariableIntObj>(label_, path_, generation_);
}

cow_String xypK_HistoryVariableIntObj::Repr() const {
  return "session.odbs['" + path_ + "'].historyVariables['" + label_ + "']";
}

omu_Result xypK_HistoryVariableIntObj::GetName() {
  thr_ThreadSingleton<ddr_Root>::Instance().Require(path_, generation_);
  return std::make_unique<omu_PrimString>(label_);
}

omu_Result xypK_HistoryVariableIntObj::GetSteps() {
  const odb_Odb& odb = thr_ThreadSingleton<ddr_Root>::Instance().Require(path_, generation_);
  xypK_XYToolset& toolset = xypK_XYToolset::Instance();
  toolset.UpdateHistoryLists(odb.Model());
  auto steps = std::make_unique<omu_PrimTuple>();
  for (std::size_t k = 0; k < odb.Steps().size(); ++k) {
    if (!toolset.StepHistoryLabelListIsMember(label_, path_, static_cast<int>(k))) continue;
    auto entry = std::make_unique<omu_PrimTuple>();
    entry->Append(std::make_unique<omu_PrimString>(odb.Steps()[k].name));
    entry->Append(std::make_unique<omu_PrimNumber>(static_cast<int>(k) + 1));
    entry->Append(std::make_unique<omu_PrimEnum<res_DomainEnm>>(odb.Steps()[k].domain));
    steps->Append(std::move(entry));
  }
  return steps;
}

omu_Result xypK_HistoryVariableIntObj::GetLegendLabel() {
  const odb_Odb& odb = thr_ThreadSingleton<ddr_Root>::Instance().Require(path_, generation_);
  xypK_XYToolset& toolset = xypK_XYToolset::Instance();
  toolset.UpdateHistoryLists(odb.Model());
  return std::make_unique<omu_PrimString>(toolset.HistoryVariableLegend(path_, label_));
}
