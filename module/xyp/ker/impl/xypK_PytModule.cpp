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
    {"XYDataFromHistory", omu_Method<&xypK_PytModule::tmpXYDataFromHistory>},
    {"", nullptr}};

// The XY data math functions of the results library, in publishing order.
static const pyo_MathFunctionRow mathFuncTable[] = {
    {"cos", &oda_XYDataCommonIntObj::cos},
    {"sin", &oda_XYDataCommonIntObj::sin},
    {"tan", &oda_XYDataCommonIntObj::tan},
    {"acos", &oda_XYDataCommonIntObj::acos},
    {"asin", &oda_XYDataCommonIntObj::asin},
    {"atan", &oda_XYDataCommonIntObj::atan},
    {"cosh", &oda_XYDataCommonIntObj::cosh},
    {"sinh", &oda_XYDataCommonIntObj::sinh},
    {"tanh", &oda_XYDataCommonIntObj::tanh},
    {"log", &oda_XYDataCommonIntObj::log},
    {"log10", &oda_XYDataCommonIntObj::log10},
    {"exp", &oda_XYDataCommonIntObj::exp},
    {"pow", &oda_XYDataCommonIntObj::pow},
    {"power", &oda_XYDataCommonIntObj::pow},
    {"currentMax", &oda_XYDataCommonIntObj::currentMax},
    {"currentMin", &oda_XYDataCommonIntObj::currentMin},
    {"currentRng", &oda_XYDataCommonIntObj::currentRng},
    {"currentAvg", &oda_XYDataCommonIntObj::currentAvg},
    {"maxEnvelope", &oda_XYDataCommonIntObj::max},
    {"minEnvelope", &oda_XYDataCommonIntObj::min},
    {"rng", &oda_XYDataCommonIntObj::rng},
    {"avg", &oda_XYDataCommonIntObj::avg},
    {"sum", &oda_XYDataCommonIntObj::sum},
    {"normalize", &oda_XYDataCommonIntObj::nor},
    {"sqrt", &oda_XYDataCommonIntObj::sqrt},
    {"srss", &oda_XYDataCommonIntObj::srss},
    {"vectorMagnitude", &oda_XYDataCommonIntObj::vecMag},
    {"combine", &oda_XYDataCommonIntObj::combine},
    {"append", &oda_XYDataCommonIntObj::append},
    {"differentiate", &oda_XYDataCommonIntObj::diff},
    {"integrate", &oda_XYDataCommonIntObj::intg},
    {"swap", &oda_XYDataCommonIntObj::swap},
    {"smooth", &oda_XYDataCommonIntObj::smooth},
    {"saeFilter", &oda_XYDataCommonIntObj::saeF},
    {"sbFilter", &oda_XYDataCommonIntObj::sbF},
    {"degreeToRadian", &oda_XYDataCommonIntObj::degreeToRadian},
    {"radianToDegree", &oda_XYDataCommonIntObj::radianToDegree},
    {"", nullptr}};

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

omu_Result xypK_PytModule::tmpXYDataFromHistory(omu_Arguments& args) {
  return ReadData(args, xypK_FROM_HISTORY);
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
    case xypK_FROM_HISTORY:
      command = "XYDataFromHistory";
      record = xypK_ReadData::FromHistory(args, true);
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
