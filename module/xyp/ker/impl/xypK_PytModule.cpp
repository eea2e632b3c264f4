#include "xypK_PytModule.h"

#include "oda_XYDataCommonIntObj.h"
#include "omu_PrimNone.h"
#include "omu_PrimType.h"
#include "pyo_OskavoMath.h"
#include "xypC_Enumerations.h"
#include "xypK_CurveIntObj.h"
#include "xypK_CurveOptionsIntObj.h"
#include "xypK_ReadData.h"
#include "xypK_SessionFragment.h"
#include "xypK_Utils.h"
#include "xypK_XYDataIntObj.h"
#include "xypK_XYPlotIntObj.h"
#include "xypK_XYPlotOptionsIntObj.h"
#include "xypK_XYReportOptionsIntObj.h"

const omu_MethodRow xypK_PytModule::methods_[] = {
    {"XYData", omu_Method<&xypK_PytModule::tmpXYDataFromKeyboard>,
     &xypK_SessionFragment::keyboardSignature},
    {"XYDataFromFile", omu_Method<&xypK_PytModule::tmpXYDataFromFile>,
     &xypK_SessionFragment::fileSignature},
    {"XYDataFromHistory", omu_Method<&xypK_PytModule::tmpXYDataFromHistory>,
     &xypK_SessionFragment::historySignature},
    {"", nullptr}};

namespace {
constexpr const char* kOperand = "XYData";
constexpr omu_Parameter kOneParameters[] = {{"xyData", kOperand, nullptr, "the operand"},
                                            {nullptr, nullptr, nullptr, nullptr}};
constexpr omu_Parameter kNumberParameters[] = {
    {"xyData", "XYData or a number", nullptr, "the operand"}, {nullptr, nullptr, nullptr, nullptr}};
constexpr omu_Parameter kPowParameters[] = {
    {"xyData", "XYData or a number", nullptr, "the operand"},
    {"exponent", "float", nullptr, "the power y is raised to"},
    {nullptr, nullptr, nullptr, nullptr}};
constexpr omu_Parameter kSeveralParameters[] = {
    {"xyData", "XYData, or one sequence of XYData", nullptr,
     "the operands, one by one or as one sequence (also xyData=(a, b))"},
    {nullptr, nullptr, nullptr, nullptr}};
constexpr omu_Parameter kSmoothParameters[] = {
    {"xyData", kOperand, nullptr, "the operand"},
    {"window", "int", "5", "the odd number of pairs averaged"},
    {nullptr, nullptr, nullptr, nullptr}};
constexpr omu_Parameter kSaeParameters[] = {
    {"xyData", kOperand, nullptr, "the operand, evenly sampled, x in seconds"},
    {"cfc", "float", "60.0", "the channel frequency class"},
    {nullptr, nullptr, nullptr, nullptr}};
constexpr omu_Parameter kButterworthParameters[] = {
    {"xyData", kOperand, nullptr, "the operand, evenly sampled, x in seconds"},
    {"cutoffFrequency", "float", nullptr, "-3 dB frequency in Hz"},
    {"order", "int", "2", "1 to 8"},
    {nullptr, nullptr, nullptr, nullptr}};
constexpr const char* kResult = "XYData (named 'Temp', not stored)";
constexpr const char* kNumberResult = "XYData, or a number for a number";
using Form = omu_Signature::Form;
const omu_Signature kElementwise{"Applies the function to every y value; x values are kept.",
                                 kNumberParameters, kNumberResult};
const omu_Signature kPower{"Raises every y value to a power.", kPowParameters, kNumberResult};
const omu_Signature kRunning{"The running value over the pairs 0 ... i of y.", kOneParameters,
                             kResult};
const omu_Signature kPairwise{
    "Pair by pair over several operands matched on x (identical x by index, else interpolated on "
    "the union of x in the shared range).",
    kSeveralParameters, kResult, Form::Variadic};
const omu_Signature kMagnitude{"sqrt(a^2 + b^2 + c^2) of one to three operands matched on x.",
                               kSeveralParameters, kResult, Form::Variadic};
const omu_Signature kNormalize{"y divided by the largest |y|.", kOneParameters, kResult};
const omu_Signature kCombine{"(y of the first, y of the second) at their matched x values.",
                             kSeveralParameters, kResult, Form::Variadic};
const omu_Signature kAppend{"The pairs of each operand in turn.", kSeveralParameters, kResult,
                            Form::Variadic};
const omu_Signature kDifferentiate{"dy/dx: three-point differences inside, one-sided at the ends.",
                                   kOneParameters, kResult};
const omu_Signature kIntegrate{"The running trapezoidal integral, 0 at the first pair.",
                               kOneParameters, kResult};
const omu_Signature kSwap{"(y, x) pairs, the axis labels exchanged.", kOneParameters, kResult};
const omu_Signature kSmooth{"A centred moving average, narrowing evenly at the ends.",
                            kSmoothParameters, kResult};
const omu_Signature kSae{"The channel frequency class filter, run forward and backward.",
                         kSaeParameters, kResult};
const omu_Signature kButterworth{"A Butterworth low-pass filter, run forward once.",
                                 kButterworthParameters, kResult};
}  // namespace

// The XY data math functions of the results library, in publishing order.
static const pyo_MathFunctionRow mathFuncTable[] = {
    {"cos", &oda_XYDataCommonIntObj::cos, &kElementwise},
    {"sin", &oda_XYDataCommonIntObj::sin, &kElementwise},
    {"tan", &oda_XYDataCommonIntObj::tan, &kElementwise},
    {"acos", &oda_XYDataCommonIntObj::acos, &kElementwise},
    {"asin", &oda_XYDataCommonIntObj::asin, &kElementwise},
    {"atan", &oda_XYDataCommonIntObj::atan, &kElementwise},
    {"cosh", &oda_XYDataCommonIntObj::cosh, &kElementwise},
    {"sinh", &oda_XYDataCommonIntObj::sinh, &kElementwise},
    {"tanh", &oda_XYDataCommonIntObj::tanh, &kElementwise},
    {"log", &oda_XYDataCommonIntObj::log, &kElementwise},
    {"log10", &oda_XYDataCommonIntObj::log10, &kElementwise},
    {"exp", &oda_XYDataCommonIntObj::exp, &kElementwise},
    {"pow", &oda_XYDataCommonIntObj::pow, &kPower},
    {"power", &oda_XYDataCommonIntObj::pow, &kPower},
    {"currentMax", &oda_XYDataCommonIntObj::currentMax, &kRunning},
    {"currentMin", &oda_XYDataCommonIntObj::currentMin, &kRunning},
    {"currentRng", &oda_XYDataCommonIntObj::currentRng, &kRunning},
    {"currentAvg", &oda_XYDataCommonIntObj::currentAvg, &kRunning},
    {"maxEnvelope", &oda_XYDataCommonIntObj::max, &kPairwise},
    {"minEnvelope", &oda_XYDataCommonIntObj::min, &kPairwise},
    {"rng", &oda_XYDataCommonIntObj::rng, &kPairwise},
    {"avg", &oda_XYDataCommonIntObj::avg, &kPairwise},
    {"sum", &oda_XYDataCommonIntObj::sum, &kPairwise},
    {"normalize", &oda_XYDataCommonIntObj::nor, &kNormalize},
    {"sqrt", &oda_XYDataCommonIntObj::sqrt, &kElementwise},
    {"srss", &oda_XYDataCommonIntObj::srss, &kPairwise},
    {"vectorMagnitude", &oda_XYDataCommonIntObj::vecMag, &kMagnitude},
    {"combine", &oda_XYDataCommonIntObj::combine, &kCombine},
    {"append", &oda_XYDataCommonIntObj::append, &kAppend},
    {"differentiate", &oda_XYDataCommonIntObj::diff, &kDifferentiate},
    {"integrate", &oda_XYDataCommonIntObj::intg, &kIntegrate},
    {"swap", &oda_XYDataCommonIntObj::swap, &kSwap},
    {"smooth", &oda_XYDataCommonIntObj::smooth, &kSmooth},
    {"saeFilter", &oda_XYDataCommonIntObj::saeF, &kSae},
    {"sbFilter", &oda_XYDataCommonIntObj::sbF, &kButterworth},
    {"degreeToRadian", &oda_XYDataCommonIntObj::degreeToRadian, &kElementwise},
    {"radianToDegree", &oda_XYDataCommonIntObj::radianToDegree, &kElementwise},
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
