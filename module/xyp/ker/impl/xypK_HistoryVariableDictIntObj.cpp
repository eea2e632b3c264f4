#include "xypK_HistoryVariableDictIntObj.h"

#include "ddr_Root.h"
#include "omu_PrimType.h"
#include "thr_ThreadSingleton.h"
#include "xypK_HistoryVariableIntObj.h"
#include "xypK_XYToolset.h"

xypK_HistoryVariableDictIntObj::xypK_HistoryVariableDictIntObj(cow_String realPath,
                                                               std::uint64_t generation)
    : path_(std::move(realPath)), generation_(generation) {
  DescribeType(TypeName(), nullptr, nullptr);
}

std::unique_ptr<omu_InterfaceObj> xypK_HistoryVariableDictIntObj::Copy() const {
  return std::make_unique<xypK_HistoryVariableDictIntObj>(path_, generation_);
}

cow_String xypK_HistoryVariableDictIntObj::Repr() const {
  return "session.odbs['" + path_ + "'].historyVariables";
}

int xypK_HistoryVariableDictIntObj::Length() {
  return static_cast<int>(Keys().Size());
}

omu_Result xypK_HistoryVariableDictIntObj::Subscript(const cow_String& key) {
  const odb_Odb& odb = thr_ThreadSingleton<ddr_Root>::Instance().Require(path_, generation_);
  xypK_XYToolset& toolset = xypK_XYToolset::Instance();
  toolset.UpdateHistoryLists(odb.Model());
  const xypK_HistoryFile* file = toolset.HistoryFile(path_);
  if (!file || !file->Find(key)) return nullptr;
  return std::make_unique<omu_PrimType>(
      std::make_shared<xypK_HistoryVariableIntObj>(key, path_, generation_));
}

int xypK_HistoryVariableDictIntObj::Assign(const cow_String&, const omu_Primitive&) {
  return 0;
}

int xypK_HistoryVariableDictIntObj::Remove(const cow_String&) {
  return 0;
}

cow_List<cow_String> xypK_HistoryVariableDictIntObj::Keys() {
  const odb_Odb& odb = thr_ThreadSingleton<ddr_Root>::Instance().Require(path_, generation_);
  return xypK_XYToolset::Instance().HistoryVariableLabelList(odb.Model());
}
