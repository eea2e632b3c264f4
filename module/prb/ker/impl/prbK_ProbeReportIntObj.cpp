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

const omu_MethodRow prbK_ProbeReportIntObj::methods_[] = {
    {"setValues", omu_Method<&prbK_ProbeReportIntObj::SetValues>}, {"", nullptr}};

const omu_MemberRow prbK_ProbeReportIntObj::members_[] = {
    {"numColumns", Member<&Report::numColumns>, nullptr},
    {"numDigits", Member<&Report::numDigits>, nullptr},
    {"pageWidth", Member<&Report::pageWidth>, nullptr},
    {"numFormat", Member<&Report::numFormat>, nullptr},
    {"printTotal", Member<&Report::printTotal>, nullptr},
    {"printMinMax", Member<&Report::printMinMax>, nullptr},
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
