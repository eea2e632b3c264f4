#include "prbK_ProbeReportIntObj.h"

#include "omu_Arguments.h"
#include "omu_PrimNone.h"
#include "omu_RecordMember.h"
#include "prbK_ProbeToolset.h"

namespace {
using Report = prbC_ProbeReportCTX;
template <auto Field>
constexpr omu_GetterFn Member = omu_RecordMember<prbK_ProbeReportIntObj, Field>;
}  // namespace

namespace {
constexpr omu_Parameter kSetValuesParameters[] = {
    {"options", "ProbeReport", "None", "options to start from"},
    {"numColumns", nullptr, nullptr, nullptr},
    {"numDigits", nullptr, nullptr, nullptr},
    {"numFormat", nullptr, nullptr, nullptr},
    {"pageWidth", nullptr, nullptr, nullptr},
    {"printTotal", nullptr, nullptr, nullptr},
    {"printMinMax", nullptr, nullptr, nullptr},
    {nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kSetValues{"Changes the probe report options.", kSetValuesParameters, nullptr,
                               omu_Signature::Form::Unchanged};
}  // namespace

const omu_MethodRow prbK_ProbeReportIntObj::methods_[] = {
    {"setValues", omu_Method<&prbK_ProbeReportIntObj::SetValues>, &kSetValues}, {"", nullptr}};

const omu_MemberRow prbK_ProbeReportIntObj::members_[] = {
    {"numColumns", Member<&Report::numColumns>, nullptr, "int", "the page width in characters"},
    {"numDigits", Member<&Report::numDigits>, nullptr, "int", "significant digits"},
    {"pageWidth", Member<&Report::pageWidth>, nullptr, "SymbolicConstant", "NO_LIMIT or SPECIFY"},
    {"numFormat", Member<&Report::numFormat>, nullptr, "SymbolicConstant",
     "AUTOMATIC, ENGINEERING or SCIENTIFIC"},
    {"printTotal", Member<&Report::printTotal>, nullptr, "bool", "write column totals"},
    {"printMinMax", Member<&Report::printMinMax>, nullptr, "bool",
     "write columns' minimum and maximum"},
    {"", nullptr, nullptr}};

prbK_ProbeReportIntObj::prbK_ProbeReportIntObj(bool isDefault) : isDefault_(isDefault) {
  DescribeType(TypeName(), methods_, members_);
}

std::unique_ptr<omu_InterfaceObj> prbK_ProbeReportIntObj::Copy() const {
  return std::make_unique<prbK_ProbeReportIntObj>(isDefault_);
}

cow_String prbK_ProbeReportIntObj::Repr() const {
  return isDefault_ ? "session.defaultProbeReport" : "session.probeReport";
}

const prbC_ProbeReportCTX& prbK_ProbeReportIntObj::ConstGetOptions() const {
  prbK_ProbeToolset& toolset = prbK_ProbeToolset::Instance();
  return isDefault_ ? toolset.DefaultReportOptions() : toolset.ReportOptions();
}

omu_Result prbK_ProbeReportIntObj::GetSortOrder() {
  return omu_ToPrimitive(ConstGetOptions().sortOrder);
}

omu_Result prbK_ProbeReportIntObj::SetValues(omu_Arguments& args) {
  Report working = ConstGetOptions();
  std::shared_ptr<prbK_ProbeReportIntObj> from;
  args.Begin();
  args.Optional();
  if (args.Get(from, "options", decltype(from)()) && from) working = from->ConstGetOptions();
  args.Get(working.numColumns, "numColumns");
  args.Get(working.numDigits, "numDigits");
  omu_ReadEnum(args, "numFormat", working.numFormat);
  omu_ReadEnum(args, "pageWidth", working.pageWidth);
  args.Get(working.printTotal, "printTotal");
  args.Get(working.printMinMax, "printMinMax");
  args.End();
  prbK_ProbeToolset& toolset = prbK_ProbeToolset::Instance();
  if (isDefault_)
    toolset.DefaultReportOptions() = working;
  else
    toolset.SetProbeReportCTX(working);
  return std::make_unique<omu_PrimNone>();
}
