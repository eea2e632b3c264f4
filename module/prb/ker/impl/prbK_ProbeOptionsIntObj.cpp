#include "prbK_ProbeOptionsIntObj.h"

#include "omu_Arguments.h"
#include "omu_PrimNone.h"
#include "omu_PrimString.h"
#include "omu_PrimTuple.h"
#include "omu_RecordMember.h"
#include "prbK_ProbeToolset.h"

namespace {
using Options = prbC_ProbeOptionsCTX;
template <auto Field>
constexpr omu_GetterFn Member = omu_RecordMember<prbK_ProbeOptionsIntObj, Field>;

// The flags in the order setValues reads them, with their keywords.
struct Flag {
  const char* keyword;
  bool Options::*field;
};
constexpr Flag kFlags[] = {{"partInstance", &Options::partInstance},
                           {"elementId", &Options::elementId},
                           {"elementType", &Options::elementType},
                           {"elementConnectivity", &Options::elementConnectivity},
                           {"elementFieldResults", &Options::elementFieldResults},
                           {"nodeId", &Options::nodeId},
                           {"baseCoordinates", &Options::baseCoordinates},
                           {"deformedCoordinates", &Options::deformedCoordinates},
                           {"attachedElements", &Options::attachedElements},
                           {"nodeFieldResults", &Options::nodeFieldResults},
                           {"legend", &Options::legend},
                           {"xValue", &Options::xValue},
                           {"yValue", &Options::yValue},
                           {"sequenceID", &Options::sequenceID},
                           {"interpolateXy", &Options::interpolateXy}};
}  // namespace

namespace {
constexpr omu_Parameter kSetValuesParameters[] = {
    {"options", "ProbeOptions", "None", "options to start from"},
    {"probeEntity", nullptr, nullptr, nullptr},
    {"probeOutputPosition", nullptr, nullptr, nullptr},
    {"partInstance", nullptr, nullptr, nullptr},
    {"elementId", nullptr, nullptr, nullptr},
    {"elementType", nullptr, nullptr, nullptr},
    {"elementConnectivity", nullptr, nullptr, nullptr},
    {"elementFieldResults", nullptr, nullptr, nullptr},
    {"nodeId", nullptr, nullptr, nullptr},
    {"baseCoordinates", nullptr, nullptr, nullptr},
    {"deformedCoordinates", nullptr, nullptr, nullptr},
    {"attachedElements", nullptr, nullptr, nullptr},
    {"nodeFieldResults", nullptr, nullptr, nullptr},
    {"legend", nullptr, nullptr, nullptr},
    {"xValue", nullptr, nullptr, nullptr},
    {"yValue", nullptr, nullptr, nullptr},
    {"sequenceID", nullptr, nullptr, nullptr},
    {"interpolateXy", nullptr, nullptr, nullptr},
    {nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kSetValues{
    "Changes the probe options: what is probed and which columns the probe values show.",
    kSetValuesParameters, nullptr, omu_Signature::Form::Unchanged};
}  // namespace

const omu_MethodRow prbK_ProbeOptionsIntObj::methods_[] = {
    {"setValues", omu_Method<&prbK_ProbeOptionsIntObj::SetValues>, &kSetValues}, {"", nullptr}};

const omu_MemberRow prbK_ProbeOptionsIntObj::members_[] = {
    {"probeObject", omu_Getter<&prbK_ProbeOptionsIntObj::GetProbeObject>, nullptr, "str",
     "what is probed"},
    {"probeEntity", Member<&Options::probeEntity>, nullptr, "SymbolicConstant",
     "what the cursor picks: NODES, ELEMENTS, ..., or XY curves' points"},
    {"probeOutputPosition", Member<&Options::probeOutputPosition>, nullptr, "SymbolicConstant",
     "where field values are read"},
    {"probeOutputPositionsAvailable",
     omu_Getter<&prbK_ProbeOptionsIntObj::GetOutputPositionsAvailable>, nullptr, "tuple",
     "the positions the field offers"},
    {"partInstance", Member<&Options::partInstance>, nullptr, "bool",
     "show the column partInstance"},
    {"elementId", Member<&Options::elementId>, nullptr, "bool", "show the column elementId"},
    {"elementType", Member<&Options::elementType>, nullptr, "bool", "show the column elementType"},
    {"elementConnectivity", Member<&Options::elementConnectivity>, nullptr, "bool",
     "show the column elementConnectivity"},
    {"elementFieldResults", Member<&Options::elementFieldResults>, nullptr, "bool",
     "show the column elementFieldResults"},
    {"nodeId", Member<&Options::nodeId>, nullptr, "bool", "show the column nodeId"},
    {"baseCoordinates", Member<&Options::baseCoordinates>, nullptr, "bool",
     "show the column baseCoordinates"},
    {"deformedCoordinates", Member<&Options::deformedCoordinates>, nullptr, "bool",
     "show the column deformedCoordinates"},
    {"attachedElements", Member<&Options::attachedElements>, nullptr, "bool",
     "show the column attachedElements"},
    {"nodeFieldResults", Member<&Options::nodeFieldResults>, nullptr, "bool",
     "show the column nodeFieldResults"},
    {"isFieldOutputAvailable", Member<&Options::isFieldOutputAvailable>, nullptr, "bool",
     "the model has field output"},
    {"legend", Member<&Options::legend>, nullptr, "bool", "show the column legend"},
    {"xValue", Member<&Options::xValue>, nullptr, "bool", "show the column xValue"},
    {"yValue", Member<&Options::yValue>, nullptr, "bool", "show the column yValue"},
    {"sequenceID", Member<&Options::sequenceID>, nullptr, "bool", "show the column sequenceID"},
    {"interpolateXy", Member<&Options::interpolateXy>, nullptr, "bool",
     "probe between the pairs of a curve, interpolated"},
    {"", nullptr, nullptr}};

prbK_ProbeOptionsIntObj::prbK_ProbeOptionsIntObj(bool isDefault) : isDefault_(isDefault) {
  DescribeType(TypeName(), methods_, members_);
}

std::unique_ptr<omu_InterfaceObj> prbK_ProbeOptionsIntObj::Copy() const {
  return std::make_unique<prbK_ProbeOptionsIntObj>(isDefault_);
}

cow_String prbK_ProbeOptionsIntObj::Repr() const {
  return isDefault_ ? "session.defaultProbeOptions" : "session.probeOptions";
}

const prbC_ProbeOptionsCTX& prbK_ProbeOptionsIntObj::ConstGetOptions() const {
  prbK_ProbeToolset& toolset = prbK_ProbeToolset::Instance();
  return isDefault_ ? toolset.DefaultProbeOptions() : toolset.ProbeOptions();
}

omu_Result prbK_ProbeOptionsIntObj::GetProbeObject() {
  const cow_String name = prbK_ProbeToolset::Instance().ObjectTypeName();
  return std::make_unique<omu_PrimString>(name.IsEmpty() ? cow_String("None") : name);
}

omu_Result prbK_ProbeOptionsIntObj::GetOutputPositionsAvailable() {
  auto positions = std::make_unique<omu_PrimTuple>();
  prbK_ProbeToolset& toolset = prbK_ProbeToolset::Instance();
  if (!toolset.Client()) return positions;
  for (int p : toolset.AvailableOutputPositions())
    positions->Append(std::make_unique<omu_PrimEnum<res_OutputPositionEnm>>(
        static_cast<res_OutputPositionEnm>(p)));
  return positions;
}

omu_Result prbK_ProbeOptionsIntObj::SetValues(omu_Arguments& args) {
  Options working = ConstGetOptions();
  std::shared_ptr<prbK_ProbeOptionsIntObj> from;
  args.Begin();
  args.Optional();
  if (args.Get(from, "options", decltype(from)()) && from) working = from->ConstGetOptions();
  omu_ReadEnum(args, "probeEntity", working.probeEntity);
  res_OutputPositionEnm position = working.probeOutputPosition;
  omu_ReadEnum(args, "probeOutputPosition", position);
  working.SetOutputPos(position);
  for (const Flag& flag : kFlags) args.Get(working.*flag.field, flag.keyword);
  args.End();
  // A node has nodal values only; an element has none.
  if (working.probeEntity == prbC_NODES)
    working.SetOutputPos(res_NODAL);
  else if (working.probeOutputPosition == res_NODAL)
    working.SetOutputPos(res_INTEGRATION_POINT);
  prbK_ProbeToolset& toolset = prbK_ProbeToolset::Instance();
  if (isDefault_) {
    const bool initialized = toolset.DefaultProbeOptions().initialized;
    toolset.DefaultProbeOptions() = working;
    toolset.DefaultProbeOptions().initialized = initialized;
  } else {
    toolset.SetProbeOptionsCTX(working);
  }
  return std::make_unique<omu_PrimNone>();
}
