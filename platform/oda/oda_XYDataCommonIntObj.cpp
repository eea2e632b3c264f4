#include "oda_XYDataCommonIntObj.h"

#include <cmath>

#include "oda_MathCall.h"
#include "oda_MessageTypes.h"
#include "oda_XYDataMath.h"
#include "omu_Arguments.h"
#include "omu_PrimNone.h"
#include "omu_PrimNumber.h"
#include "omu_PrimString.h"
#include "omu_PrimTuple.h"
#include "omu_PrimType.h"
#include "omu_TypeErrorException.h"
#include "omu_ValueErrorException.h"
#include "omu_ValueReader.h"

namespace {
constexpr omu_Parameter kSetValuesParameters[] = {
    {"sourceDescription", "str", nullptr, "where the data comes from"},
    {"contentDescription", "str", nullptr, "what the data holds"},
    {"positionDescription", "str", nullptr, "where in the model the data was taken"},
    {"xValuesLabel", "str", nullptr, "the label of the x values (the X axis title)"},
    {"yValuesLabel", "str", nullptr, "the label of the y values (the Y axis title)"},
    {"legendLabel", "str", nullptr, "the legend text; '' gives the name"},
    {nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kSetValues{
    "Changes the texts of the XY data (stored data: only the ones given).", kSetValuesParameters,
    nullptr, omu_Signature::Form::Unchanged};
constexpr omu_Parameter kSetDataParameters[] = {
    {"data", "sequence of (x, y) number pairs, or an (n, 2) array", nullptr, "the new pairs"},
    {nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kSetData{"Replaces the pairs of the XY data; plots of it follow.",
                             kSetDataParameters, nullptr, omu_Signature::Form::Keywords};
}  // namespace

const omu_MethodRow oda_XYDataCommonIntObj::methods_[] = {
    {"setValues", omu_Method<&oda_XYDataCommonIntObj::SetValuesCmd>, &kSetValues},
    {"setData", omu_Method<&oda_XYDataCommonIntObj::SetDataCmd>, &kSetData},
    {"", nullptr}};

const omu_MemberRow oda_XYDataCommonIntObj::members_[] = {
    {"name", omu_Getter<&oda_XYDataCommonIntObj::GetName>, nullptr, "str",
     "the name ('Temp' for temporary data)"},
    {"sourceDescription", omu_Getter<&oda_XYDataCommonIntObj::GetSourceDescription>, nullptr, "str",
     "where the data comes from"},
    {"contentDescription", omu_Getter<&oda_XYDataCommonIntObj::GetContentDescription>, nullptr,
     "str", "what the data holds"},
    {"positionDescription", omu_Getter<&oda_XYDataCommonIntObj::GetPositionDescription>, nullptr,
     "str", "where in the model the data was taken"},
    {"xValuesLabel", omu_Getter<&oda_XYDataCommonIntObj::GetXValuesLabel>, nullptr, "str",
     "the label of the x values"},
    {"yValuesLabel", omu_Getter<&oda_XYDataCommonIntObj::GetYValuesLabel>, nullptr, "str",
     "the label of the y values"},
    {"legendLabel", omu_Getter<&oda_XYDataCommonIntObj::GetLegendLabel>, nullptr, "str",
     "the legend text"},
    {"description", omu_Getter<&oda_XYDataCommonIntObj::GetDescription>, nullptr, "str",
     "the source description, or the name"},
    {"data", omu_Getter<&oda_XYDataCommonIntObj::GetData>, nullptr, "tuple of (x, y) pairs",
     "the pairs (numpy.asarray(xy) reads them in place)"},
    {"", nullptr, nullptr}};

oda_XYDataCommonIntObj::oda_XYDataCommonIntObj(const cow_String& name, bool repositoryBacked)
    : name_(name), repositoryBacked_(repositoryBacked) {
  DescribeType(TypeName(), methods_, members_);
}

oda_XYDataCommonIntObj::oda_XYDataCommonIntObj(const oda_XYDataCommonIntObj& other) = default;
oda_XYDataCommonIntObj::~oda_XYDataCommonIntObj() = default;

std::unique_ptr<omu_InterfaceObj> oda_XYDataCommonIntObj::Copy() const {
  return std::make_unique<oda_XYDataCommonIntObj>(*this);
}

cow_String oda_XYDataCommonIntObj::Repr() const {
  if (repositoryBacked_) return "session.xyDataObjects[" + omu_PrimString(name_).Repr() + "]";
  return "xyPlot.XYData(name=" + omu_PrimString(name_).Repr() + ", ...)";
}

cow_String oda_XYDataCommonIntObj::FullRepr() const {
  const std::size_t n = record_.Size();
  cow_String text = Repr();
  text += " (";
  text += cow_String::FromInt(static_cast<long long>(n));
  text += n == 1 ? " pair)" : " pairs)";
  return text;
}

omu_Result oda_XYDataCommonIntObj::SequenceItem(long index) const {
  const long size = SequenceLength();
  if (index < 0) index += size;
  if (index < 0 || index >= size) throw omu_TypeErrorException("XYData index out of range");
  const udd_PairEntry& p = record_.Pair(static_cast<std::size_t>(index));
  auto pair = std::make_unique<omu_PrimTuple>(2);
  pair->Put(0, std::make_unique<omu_PrimNumber>(static_cast<double>(p.x)));
  pair->Put(1, std::make_unique<omu_PrimNumber>(static_cast<double>(p.y)));
  return pair;
}

omu_Result oda_XYDataCommonIntObj::GetName() {
  return std::make_unique<omu_PrimString>(name_);
}
omu_Result oda_XYDataCommonIntObj::GetSourceDescription() {
  return std::make_unique<omu_PrimString>(record_.SourceDescription());
}
omu_Result oda_XYDataCommonIntObj::GetContentDescription() {
  return std::make_unique<omu_PrimString>(record_.ContentDescription());
}
omu_Result oda_XYDataCommonIntObj::GetPositionDescription() {
  return std::make_unique<omu_PrimString>(record_.PositionDescription());
}
omu_Result oda_XYDataCommonIntObj::GetXValuesLabel() {
  return std::make_unique<omu_PrimString>(record_.XAxisLabel());
}
omu_Result oda_XYDataCommonIntObj::GetYValuesLabel() {
  return std::make_unique<omu_PrimString>(record_.YAxisLabel());
}
omu_Result oda_XYDataCommonIntObj::GetLegendLabel() {
  return std::make_unique<omu_PrimString>(record_.LegendLabel());
}
omu_Result oda_XYDataCommonIntObj::GetDescription() {
  return std::make_unique<omu_PrimString>(record_.Description());
}

// The pairs go out packed: the binding builds the tuple of (x, y) tuples without an
// intermediate object per value.
omu_Result oda_XYDataCommonIntObj::GetData() {
  std::vector<double> values;
  values.reserve(record_.Size() * 2);
  for (std::size_t i = 0; i < record_.Size(); ++i) {
    values.push_back(record_.Pair(i).x);
    values.push_back(record_.Pair(i).y);
  }
  auto tuple = std::make_unique<omu_PrimTuple>();
  tuple->SetPairs(std::move(values));
  return tuple;
}

unsigned oda_XYDataCommonIntObj::SetAXYDataAttributes(omu_Arguments& args, udd_UserXYData& record) {
  cow_String source = record.SourceDescription(), content = record.ContentDescription(),
             position = record.PositionDescription(), xLabel = record.XAxisLabel(),
             yLabel = record.YAxisLabel(), legend = record.LegendLabel();
  unsigned mask = 0;
  args.Begin();
  args.Optional();
  if (args.Get(source, "sourceDescription")) mask |= kSourceDescription;
  if (args.Get(content, "contentDescription")) mask |= kContentDescription;
  if (args.Get(position, "positionDescription")) mask |= kPositionDescription;
  if (args.Get(xLabel, "xValuesLabel")) mask |= kXValuesLabel;
  if (args.Get(yLabel, "yValuesLabel")) mask |= kYValuesLabel;
  if (args.Get(legend, "legendLabel")) mask |= kLegendLabel;
  args.End();
  record.SetSourceDescription(source);
  record.SetContentDescription(content);
  record.SetPositionDescription(position);
  record.SetXAxisLabel(xLabel);
  record.SetYAxisLabel(yLabel);
  record.SetLegendLabel(legend);
  return mask;
}

void oda_XYDataCommonIntObj::CopyAttributes(const udd_UserXYData& from, udd_UserXYData& to,
                                            unsigned mask) {
  if (mask & kSourceDescription) to.SetSourceDescription(from.SourceDescription());
  if (mask & kContentDescription) to.SetContentDescription(from.ContentDescription());
  if (mask & kPositionDescription) to.SetPositionDescription(from.PositionDescription());
  if (mask & kXValuesLabel) to.SetXAxisLabel(from.XAxisLabel());
  if (mask & kYValuesLabel) to.SetYAxisLabel(from.YAxisLabel());
  if (mask & kLegendLabel) to.SetLegendLabel(from.LegendLabel());
}

bool oda_XYDataCommonIntObj::getSeqSeqDoubleFromTuple(const omu_PrimSequence& pairs,
                                                      std::vector<double>& values,
                                                      std::size_t& badItem) {
  if (pairs.IsPairArray()) {
    values = pairs.PairValues();
    return true;
  }
  std::vector<double> out;
  out.reserve(pairs.Size() * 2);
  for (std::size_t i = 0; i < pairs.Size(); ++i) {
    const omu_Primitive& item = pairs.Item(i);
    const omu_PrimSequence* pair = nullptr;
    double x = 0, y = 0;
    if (!omu_ValueReader::Read(item, pair) || pair->Size() != 2 ||
        !omu_ValueReader::Read(pair->Item(0), x) || !omu_ValueReader::Read(pair->Item(1), y)) {
      badItem = i;
      return false;
    }
    out.push_back(x);
    out.push_back(y);
  }
  values = std::move(out);
  return true;
}

omu_Result oda_XYDataCommonIntObj::SetXYDataAttributes(omu_Arguments& args) {
  SetAXYDataAttributes(args, record_);
  return std::make_unique<omu_PrimNone>();
}

omu_Result oda_XYDataCommonIntObj::AddXYData(omu_Arguments& args) {
  const omu_PrimSequence* data = nullptr;
  args.Begin();
  args.Get(data, "data");
  args.End();
  std::vector<double> values;
  std::size_t bad = 0;
  if (!getSeqSeqDoubleFromTuple(*data, values, bad))
    throw omu_TypeErrorException("setData(): item " +
                                 cow_String::FromInt(static_cast<long long>(bad)) +
                                 " of 'data' is not an (x, y) pair");
  record_.SetPairValues(values);
  return std::make_unique<omu_PrimNone>();
}

// ---- Arithmetic and the math functions ----

namespace {
using Math = oda_XYDataMath;

omu_Result UnaryCall(const char* function, omu_Arguments& args, Math::UnaryOp op) {
  oda_MathCall call(function, args);
  const bool xy = call.ReadOne(true);
  call.End();
  if (!xy) return oda_MathCall::NumberResult(Math::UnaryNumber(function, call.Number(), op));
  return call.Result(Math::Unary(function, call.First(), op));
}

// A function of one XY data operand and no options: `compute(function, pairs)`.
template <class Compute>
omu_Result OneOperandCall(const char* function, omu_Arguments& args, Compute compute,
                          bool swapLabels = false) {
  oda_MathCall call(function, args);
  call.ReadOne(false);
  call.End();
  return call.Result(compute(function, call.First()), swapLabels);
}

omu_Result RunningCall(const char* function, omu_Arguments& args, Math::RunningOp op) {
  return OneOperandCall(function, args, [op](const char* f, const Math::Pairs& a) {
    return Math::Running(f, a, op);
  });
}

omu_Result CombineCall(const char* function, omu_Arguments& args, Math::CombineOp op,
                       std::size_t maximum = SIZE_MAX) {
  oda_MathCall call(function, args);
  call.ReadSeveral(maximum);
  call.End();
  return call.Result(Math::Combine(function, call.Operands(), op));
}
}  // namespace

omu_Result oda_XYDataCommonIntObj::Arithmetic(char op, const omu_Primitive* other, bool reflected) {
  const Math::Pairs& mine = record_.Pairs();
  if (op == 'n')
    return oda_MathCall::MakeResult(Math::Unary("negate", mine, Math::NEGATE), *this, "-" + name_);
  if (op == 'a')
    return oda_MathCall::MakeResult(Math::Unary("abs", mine, Math::ABSOLUTE), *this,
                                    "abs(" + name_ + ")");
  if (!other) return nullptr;
  const char* function = op == '+'   ? "add"
                         : op == '-' ? "subtract"
                         : op == '*' ? "multiply"
                         : op == '/' ? "divide"
                         : op == 'p' ? "power"
                                     : nullptr;
  if (!function) return nullptr;
  const char spelled[] = {' ', op, ' ', '\0'};
  const cow_String symbol = op == 'p' ? cow_String(" ** ") : cow_String(spelled);
  std::shared_ptr<oda_XYDataCommonIntObj> xy;
  double number = 0.0;
  if (omu_ValueReader::Read(*other, xy) && xy) {
    if (op == 'p') return nullptr;
    const Math::CombineOp combine = op == '+'   ? Math::ADD
                                    : op == '-' ? Math::SUBTRACT
                                    : op == '*' ? Math::MULTIPLY
                                                : Math::DIVIDE;
    // Python tries the left operand first, so a reflected call never has XY data on the left.
    const std::vector<const Math::Pairs*> operands = {&mine, &xy->record_.Pairs()};
    return oda_MathCall::MakeResult(Math::Combine(function, operands, combine), *this,
                                    name_ + symbol + xy->name_);
  }
  if (other->Kind() != omu_PrimKind::Number || !omu_ValueReader::Read(*other, number))
    return nullptr;
  if (op == 'p') {
    if (reflected) return nullptr;
    return oda_MathCall::MakeResult(Math::Power(function, mine, number), *this,
                                    name_ + symbol + oda_MathCall::Text(number));
  }
  const cow_String description = reflected ? oda_MathCall::Text(number) + symbol + name_
                                           : name_ + symbol + oda_MathCall::Text(number);
  return oda_MathCall::MakeResult(Math::WithNumber(function, mine, op, number, reflected), *this,
                                  description);
}

const float* oda_XYDataCommonIntObj::LendPairs(std::size_t& pairs,
                                               std::shared_ptr<const void>& keeper) const {
  static_assert(sizeof(udd_PairEntry) == 2 * sizeof(float), "pairs are two packed floats");
  static const float kNone[2] = {0.0f, 0.0f};
  // A copy of the array shares its storage; a later write to the record copies first, so what
  // was lent stays as it was for as long as the keeper lives.
  auto kept = std::make_shared<const Math::Pairs>(record_.Pairs());
  pairs = kept->Size();
  const float* data = pairs ? reinterpret_cast<const float*>(kept->Data()) : kNone;
  keeper = std::move(kept);
  return data;
}

omu_Result oda_XYDataCommonIntObj::cos(omu_Arguments& a) {
  return UnaryCall("cos", a, Math::COS);
}
omu_Result oda_XYDataCommonIntObj::sin(omu_Arguments& a) {
  return UnaryCall("sin", a, Math::SIN);
}
omu_Result oda_XYDataCommonIntObj::tan(omu_Arguments& a) {
  return UnaryCall("tan", a, Math::TAN);
}
omu_Result oda_XYDataCommonIntObj::acos(omu_Arguments& a) {
  return UnaryCall("acos", a, Math::ACOS);
}
omu_Result oda_XYDataCommonIntObj::asin(omu_Arguments& a) {
  return UnaryCall("asin", a, Math::ASIN);
}
omu_Result oda_XYDataCommonIntObj::atan(omu_Arguments& a) {
  return UnaryCall("atan", a, Math::ATAN);
}
omu_Result oda_XYDataCommonIntObj::cosh(omu_Arguments& a) {
  return UnaryCall("cosh", a, Math::COSH);
}
omu_Result oda_XYDataCommonIntObj::sinh(omu_Arguments& a) {
  return UnaryCall("sinh", a, Math::SINH);
}
omu_Result oda_XYDataCommonIntObj::tanh(omu_Arguments& a) {
  return UnaryCall("tanh", a, Math::TANH);
}
omu_Result oda_XYDataCommonIntObj::log(omu_Arguments& a) {
  return UnaryCall("log", a, Math::LOG);
}
omu_Result oda_XYDataCommonIntObj::log10(omu_Arguments& a) {
  return UnaryCall("log10", a, Math::LOG10);
}
omu_Result oda_XYDataCommonIntObj::exp(omu_Arguments& a) {
  return UnaryCall("exp", a, Math::EXP);
}
omu_Result oda_XYDataCommonIntObj::sqrt(omu_Arguments& a) {
  return UnaryCall("sqrt", a, Math::SQRT);
}
omu_Result oda_XYDataCommonIntObj::degreeToRadian(omu_Arguments& a) {
  return UnaryCall("degreeToRadian", a, Math::DEGREE_TO_RADIAN);
}
omu_Result oda_XYDataCommonIntObj::radianToDegree(omu_Arguments& a) {
  return UnaryCall("radianToDegree", a, Math::RADIAN_TO_DEGREE);
}

omu_Result oda_XYDataCommonIntObj::pow(omu_Arguments& a) {
  oda_MathCall call("pow", a);
  const bool xy = call.ReadOne(true);
  double exponent = 0.0;
  call.Required(exponent, "exponent");
  call.End();
  if (xy) return call.Result(Math::Power("pow", call.First(), exponent));
  const double value = std::pow(call.Number(), exponent);
  if (!std::isfinite(value))
    throw omu_ValueErrorException("pow: the result is not a real number for " +
                                  oda_MathCall::Text(call.Number()) + " ** " +
                                  oda_MathCall::Text(exponent));
  return oda_MathCall::NumberResult(value);
}

omu_Result oda_XYDataCommonIntObj::currentMax(omu_Arguments& a) {
  return RunningCall("currentMax", a, Math::CURRENT_MAX);
}
omu_Result oda_XYDataCommonIntObj::currentMin(omu_Arguments& a) {
  return RunningCall("currentMin", a, Math::CURRENT_MIN);
}
omu_Result oda_XYDataCommonIntObj::currentRng(omu_Arguments& a) {
  return RunningCall("currentRng", a, Math::CURRENT_RANGE);
}
omu_Result oda_XYDataCommonIntObj::currentAvg(omu_Arguments& a) {
  return RunningCall("currentAvg", a, Math::CURRENT_AVERAGE);
}

omu_Result oda_XYDataCommonIntObj::max(omu_Arguments& a) {
  return CombineCall("maxEnvelope", a, Math::MAX_ENVELOPE);
}
omu_Result oda_XYDataCommonIntObj::min(omu_Arguments& a) {
  return CombineCall("minEnvelope", a, Math::MIN_ENVELOPE);
}
omu_Result oda_XYDataCommonIntObj::rng(omu_Arguments& a) {
  return CombineCall("rng", a, Math::RANGE);
}
omu_Result oda_XYDataCommonIntObj::avg(omu_Arguments& a) {
  return CombineCall("avg", a, Math::AVERAGE);
}
omu_Result oda_XYDataCommonIntObj::sum(omu_Arguments& a) {
  return CombineCall("sum", a, Math::SUM);
}
omu_Result oda_XYDataCommonIntObj::srss(omu_Arguments& a) {
  return CombineCall("srss", a, Math::SRSS);
}
omu_Result oda_XYDataCommonIntObj::vecMag(omu_Arguments& a) {
  return CombineCall("vectorMagnitude", a, Math::VECTOR_MAGNITUDE, 3);
}

omu_Result oda_XYDataCommonIntObj::nor(omu_Arguments& a) {
  return OneOperandCall("normalize", a, Math::Normalize);
}

omu_Result oda_XYDataCommonIntObj::combine(omu_Arguments& a) {
  oda_MathCall call("combine", a);
  call.ReadSeveral();
  call.End();
  if (call.Count() != 2) oda_MessageTypes::ErrorTwoArgsNeeded();
  return call.Result(Math::CombineXY("combine", *call.Operands()[0], *call.Operands()[1]));
}

omu_Result oda_XYDataCommonIntObj::append(omu_Arguments& a) {
  oda_MathCall call("append", a);
  call.ReadSeveral();
  call.End();
  if (call.Count() < 2) oda_MessageTypes::ErrorTwoArgsMinNeeded();
  return call.Result(Math::Append(call.Operands()));
}

omu_Result oda_XYDataCommonIntObj::diff(omu_Arguments& a) {
  return OneOperandCall("differentiate", a, Math::Differentiate);
}

omu_Result oda_XYDataCommonIntObj::intg(omu_Arguments& a) {
  return OneOperandCall("integrate", a, Math::Integrate);
}

omu_Result oda_XYDataCommonIntObj::swap(omu_Arguments& a) {
  return OneOperandCall(
      "swap", a, [](const char*, const Math::Pairs& p) { return Math::Swap(p); }, true);
}

omu_Result oda_XYDataCommonIntObj::smooth(omu_Arguments& a) {
  oda_MathCall call("smooth", a);
  call.ReadOne(false);
  int window = 5;
  call.Option(window, "window");
  call.End();
  return call.Result(Math::Smooth("smooth", call.First(), window));
}

omu_Result oda_XYDataCommonIntObj::saeF(omu_Arguments& a) {
  oda_MathCall call("saeFilter", a);
  call.ReadOne(false);
  double cfc = 60.0;
  call.Option(cfc, "cfc");
  call.End();
  return call.Result(Math::SaeFilter("saeFilter", call.First(), cfc));
}

omu_Result oda_XYDataCommonIntObj::sbF(omu_Arguments& a) {
  oda_MathCall call("sbFilter", a);
  call.ReadOne(false);
  double cutoff = 0.0;
  call.Required(cutoff, "cutoffFrequency");
  int order = 2;
  call.Option(order, "order");
  call.End();
  return call.Result(Math::ButterworthLowPass("sbFilter", call.First(), cutoff, order));
}
