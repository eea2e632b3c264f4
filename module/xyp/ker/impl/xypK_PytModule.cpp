#include "xypK_PytModule.h"

#include "oda_XYDataCommonIntObj.h"
#include "omu_PrimNone.h"
#include "omu_PrimType.h"
#include "pyo_OskavoMath.h"
#include "xypC_Enumerations.h"
#include "xypK_CurveIntObj.h"
#include "xypK_CurveOptionsIntObj.h"
#include "xypK_ReadData.h"
#include "xypK_Utils.h"
#include "xypK_XYDataIntObj.h"
#include "xypK_XYPlotIntObj.h"
#include "xypK_XYPlotOptionsIntObj.h"
#include "xypK_XYReportOptionsIntObj.h"

const omu_MethodRow xypK_PytModule::methods_[] = {
    {"XYData", omu_Method<&xypK_PytModule::tmpXYDataFromKeyboard>},
    {"XYDataFromFile", omu_Method<&xypK_PytModule::tmpXYDataFromFile>},
    {"", nullptr}};

// The XY data math functions, in publishing order; each arrives with its implementation.
static const pyo_MathFunctionRow mathFuncTable[] = {{"", nullptr}};

xypK_PytModule::xypK_PytModule() : pyo_Module("xyPlot", methods_, PREIMPORTED) {
  DefineConstant(omu_PrimEnum<xypC_TickTypeEnum, 0>());
  DefineConstant(omu_PrimEnum<xypC_ScaleEnum, 0>());
  DefineConstant(omu_PrimEnum<xypC_FormatEnum, 0>());
  DefineConstant(omu_PrimEnum<xypC_ColumnLayoutEnum, 0>());
  DefineConstant(omu_PrimEnum<xypC_PageWidthEnum, 0>());
  DefineConstant(omu_PrimEnum<xypC_TitleStyleEnum, 0>());
  DefineType(xypK_CurveIntObj::TypeName());
  DefineType(xypK_CurveOptionsIntObj::TypeName());
  DefineType(oda_XYDataCommonIntObj::TypeName());
  DefineType(xypK_XYPlotIntObj::TypeName());
  DefineType(xypK_XYPlotOptionsIntObj::TypeName());
  DefineType(xypK_XYReportOptionsIntObj::TypeName());
  RegisterMathFunctions();
}

xypK_PytModule::~xypK_PytModule() = default;

void xypK_PytModule::RegisterMathFunctions() {
  pyo_OskavoMath::Instance().RegisterMathFunctions(mathFuncTable);
  ImportStar("oskavoMath");
}

omu_Result xypK_PytModule::tmpXYDataFromKeyboard(omu_Arguments& args) {
  return ReadData(args, xypK_FROM_KEYBOARD);
}

omu_Result xypK_PytModule::tmpXYDataFromFile(omu_Arguments& args) {
  return ReadData(args, xypK_FROM_FILE);
}

omu_Result xypK_PytModule::ReadData(omu_Arguments& args, xypK_WhereDataFromEnm source) {
  cow_String command;
  std::unique_ptr<udd_UserXYData> record;
  switch (source) {
    case xypK_FROM_KEYBOARD:
      command = "XYData";
      record = xypK_ReadData::FromKeyboard(args);
      break;
    case xypK_FROM_FILE:
      command = "XYDataFromFile";
      record = xypK_ReadData::FromFile(args);
      break;
    default:
      XYPK_ASSERT(!"known XY data source");
  }
  if (!record) return std::make_unique<omu_PrimNone>();
  command += args.AsRepr();
  auto object = std::make_shared<xypK_XYDataIntObj>("Temp");
  object->SetRepositoryBacked(false);
  object->SetRecord(*record);
  object->SetCommandText(command);
  return std::make_unique<omu_PrimType>(std::move(object));
}
