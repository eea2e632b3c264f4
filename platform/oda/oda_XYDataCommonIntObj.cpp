#include "oda_XYDataCommonIntObj.h"

#include "omu_Arguments.h"
#include "omu_PrimNone.h"
#include "omu_PrimNumber.h"
#include "omu_PrimString.h"
#include "omu_PrimTuple.h"
#include "omu_TypeErrorException.h"

const omu_MethodRow oda_XYDataCommonIntObj::methods_[] = {
    {"setValues", omu_Method<&oda_XYDataCommonIntObj::SetValuesCmd>},
    {"setData", omu_Method<&oda_XYDataCommonIntObj::SetDataCmd>},
    {"", nullptr}};

const omu_MemberRow oda_XYDataCommonIntObj::members_[] = {
    {"name", omu_Getter<&oda_XYDataCommonIntObj::GetName>, nullptr},
    {"sourceDescription", omu_Getter<&oda_XYDataCommonIntObj::GetSourceDescription>, nullptr},
    {"contentDescription", omu_Getter<&oda_XYDataCommonIntObj::GetContentDescription>, nullptr},
    {"positionDescription", omu_Getter<&oda_XYDataCommonIntObj::GetPositionDescription>, nullptr},
    {"xValuesLabel", omu_Getter<&oda_XYDataCommonIntObj::GetXValuesLabel>, nullptr},
    {"yValuesLabel", omu_Getter<&oda_XYDataCommonIntObj::GetYValuesLabel>, nullptr},
    {"legendLabel", omu_Getter<&oda_XYDataCommonIntObj::GetLegendLabel>, nullptr},
    {"description", omu_Getter<&oda_XYDataCommonIntObj::GetDescription>, nullptr},
    {"data", omu_Getter<&oda_XYDataCommonIntObj::GetData>, nullptr},
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
