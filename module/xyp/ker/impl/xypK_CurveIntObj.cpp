#include "xypK_CurveIntObj.h"

#include "omu_PrimString.h"
#include "omu_PrimType.h"
#include "xypK_CurveOptionsIntObj.h"
#include "xypK_XYDataIntObj.h"
#include "xypK_XYToolset.h"

const omu_MemberRow xypK_CurveIntObj::members_[] = {
    {"name", omu_Getter<&xypK_CurveIntObj::GetName>, nullptr, "str", "the curve's name"},
    {"xyData", omu_Getter<&xypK_CurveIntObj::GetXYData>, nullptr, "XYData", "the data drawn"},
    {"curveOptions", omu_Getter<&xypK_CurveIntObj::GetCurveOptions>, nullptr, "XYCurveOptions",
     "how the curve is drawn"},
    {"", nullptr, nullptr}};

xypK_CurveIntObj::xypK_CurveIntObj(const cow_String& curveName, const cow_String& plotName)
    : curveName_(curveName), plotName_(plotName) {
  DescribeType(TypeName(), nullptr, members_);
}

xypK_CurveIntObj::xypK_CurveIntObj(const xypK_CurveIntObj& other) = default;

std::unique_ptr<omu_InterfaceObj> xypK_CurveIntObj::Copy() const {
  return std::make_unique<xypK_CurveIntObj>(*this);
}

cow_String xypK_CurveIntObj::Repr() const {
  return cow_String("curves") + "['" + curveName_ + "']";
}

cow_String xypK_CurveIntObj::FullRepr() const {
  return cow_String("session.") + "xyPlots" + "['" + plotName_ + "']." + "curves" + "['" +
         curveName_ + "']";
}

const udd_UserXYData& xypK_CurveIntObj::ConstGetXYData() const {
  return xypK_XYToolset::Instance().GetExistingCurve(plotName_, curveName_).ConstGetCurveXYData();
}

cow_String xypK_CurveIntObj::ConstGetXYDataName() const {
  return xypK_XYToolset::Instance().GetExistingCurve(plotName_, curveName_).xyDataName;
}

cow_String xypK_CurveIntObj::ConstGetXTitle() const {
  const xypK_XYPlot& plot = xypK_XYToolset::Instance().GetExistingXYPlot(plotName_);
  return plot.xAxisTitleSource == xypC_SYSTEM_DEFINED ? plot.DefaultTitle(true) : plot.xAxisTitle;
}

cow_String xypK_CurveIntObj::ConstGetYTitle() const {
  const xypK_XYPlot& plot = xypK_XYToolset::Instance().GetExistingXYPlot(plotName_);
  return plot.yAxisTitleSource == xypC_SYSTEM_DEFINED ? plot.DefaultTitle(false) : plot.yAxisTitle;
}

omu_Result xypK_CurveIntObj::GetName() {
  return std::make_unique<omu_PrimString>(curveName_);
}

omu_Result xypK_CurveIntObj::GetXYData() {
  const xypK_Curve& curve = xypK_XYToolset::Instance().GetExistingCurve(plotName_, curveName_);
  const udd_UserXYData& data = curve.ConstGetCurveXYData();
  auto object = std::make_shared<xypK_XYDataIntObj>(data.Name());
  if (curve.xyDataName.IsEmpty() || &data == &curve.xyData) {
    // A private copy: the object is not the repository's, and changes to it stay in it.
    object->SetRepositoryBacked(false);
    object->SetRecord(data);
  }
  return std::make_unique<omu_PrimType>(object);
}

omu_Result xypK_CurveIntObj::GetCurveOptions() {
  xypK_XYToolset::Instance().GetExistingCurve(plotName_, curveName_);
  return std::make_unique<omu_PrimType>(
      std::make_shared<xypK_CurveOptionsIntObj>(plotName_, curveName_));
}
