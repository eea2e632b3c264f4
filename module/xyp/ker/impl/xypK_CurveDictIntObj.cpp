#include "xypK_CurveDictIntObj.h"

#include "omu_PrimType.h"
#include "xypK_CurveIntObj.h"
#include "xypK_XYToolset.h"

xypK_CurveDictIntObj::xypK_CurveDictIntObj(const cow_String& plotName) : plotName_(plotName) {
  DescribeType(TypeName(), nullptr, nullptr);
}

std::unique_ptr<omu_InterfaceObj> xypK_CurveDictIntObj::Copy() const {
  return std::make_unique<xypK_CurveDictIntObj>(plotName_);
}

cow_String xypK_CurveDictIntObj::Repr() const {
  return cow_String("session.xyPlots['") + plotName_ + "'].curves";
}

int xypK_CurveDictIntObj::Length() {
  if (plotName_.IsEmpty()) return 0;
  return static_cast<int>(xypK_XYToolset::Instance().GetExistingXYPlot(plotName_).curves.Size());
}

omu_Result xypK_CurveDictIntObj::Subscript(const cow_String& key) {
  if (plotName_.IsEmpty()) return nullptr;
  if (!xypK_XYToolset::Instance().GetExistingXYPlot(plotName_).curves.IsMember(key)) return nullptr;
  return std::make_unique<omu_PrimType>(std::make_shared<xypK_CurveIntObj>(key, plotName_));
}

int xypK_CurveDictIntObj::Assign(const cow_String&, const omu_Primitive&) {
  return 0;
}

int xypK_CurveDictIntObj::Remove(const cow_String&) {
  return 0;
}

cow_List<cow_String> xypK_CurveDictIntObj::Keys() {
  cow_List<cow_String> keys;
  if (plotName_.IsEmpty()) return keys;
  for (const auto& entry : xypK_XYToolset::Instance().GetExistingXYPlot(plotName_).curves)
    keys.Append(entry.first);
  return keys;
}
