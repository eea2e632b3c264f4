#include "xypK_XYPlotDictIntObj.h"

#include "omu_PrimType.h"
#include "xypK_XYPlotIntObj.h"
#include "xypK_XYToolset.h"

xypK_XYPlotDictIntObj::xypK_XYPlotDictIntObj() {
  DescribeType(TypeName(), nullptr, nullptr);
}

std::unique_ptr<omu_InterfaceObj> xypK_XYPlotDictIntObj::Copy() const {
  return std::make_unique<xypK_XYPlotDictIntObj>();
}

int xypK_XYPlotDictIntObj::Length() {
  return static_cast<int>(xypK_XYToolset::Instance().ConstGetXYPlotDictionary().Size());
}

omu_Result xypK_XYPlotDictIntObj::Subscript(const cow_String& key) {
  if (!xypK_XYToolset::Instance().IsXYPlot(key)) return nullptr;
  return std::make_unique<omu_PrimType>(std::make_shared<xypK_XYPlotIntObj>(key));
}

int xypK_XYPlotDictIntObj::Assign(const cow_String&, const omu_Primitive&) {
  return 0;
}

int xypK_XYPlotDictIntObj::Remove(const cow_String&) {
  return 0;
}

cow_List<cow_String> xypK_XYPlotDictIntObj::Keys() {
  cow_List<cow_String> keys;
  for (const cow_String& name : xypK_XYToolset::Instance().ConstGetXYPlotDictionary().SortedKeys())
    keys.Append(name);
  return keys;
}
