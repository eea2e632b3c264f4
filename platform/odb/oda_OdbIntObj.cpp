#include "oda_OdbIntObj.h"

#include "ddr_Root.h"
#include "oda_OdbFragment.h"
#include "omu_Arguments.h"
#include "omu_PrimArray.h"
#include "omu_PrimNone.h"
#include "omu_PrimString.h"
#include "omu_PrimTuple.h"
#include "omu_ValueErrorException.h"
#include "thr_ThreadSingleton.h"

namespace {
constexpr omu_Parameter kCloseParameters[] = {{nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kClose{"Closes the results file; its objects then raise OdbError.",
                           kCloseParameters, nullptr, omu_Signature::Form::Keywords};
constexpr omu_Parameter kFieldValuesParameters[] = {
    {"step", "str", nullptr, "the step's name"},
    {"label", "str", nullptr, "the field's label, such as 'U2'"},
    {"frame", "int", "-1", "the 0-based frame; -1 the last"},
    {"instance", "str", "''", "the instance; '' the only one"},
    {nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kFieldValues{
    "The values of a field output of one frame, as numpy arrays.", kFieldValuesParameters,
    "(labels int32 array, values float32 array)", omu_Signature::Form::Keywords};
}  // namespace

const omu_MethodRow oda_OdbIntObj::methods_[] = {
    {"close", omu_Method<&oda_OdbIntObj::Close>, &kClose},
    {"fieldValues", omu_Method<&oda_OdbIntObj::FieldValues>, &kFieldValues},
    {"", nullptr}};
const omu_MemberRow oda_OdbIntObj::members_[] = {
    {"path", omu_Getter<&oda_OdbIntObj::GetPath>, nullptr, "str", "the file's real path"},
    {"steps", omu_Getter<&oda_OdbIntObj::GetSteps>, nullptr, "tuple of str", "the steps' names"},
    {"", nullptr, nullptr}};

oda_OdbIntObj::oda_OdbIntObj(cow_String realPath, std::uint64_t generation)
    : path_(std::move(realPath)), generation_(generation) {
  DescribeType(TypeName(), methods_, members_);
}

std::unique_ptr<omu_InterfaceObj> oda_OdbIntObj::Copy() const {
  return std::make_unique<oda_OdbIntObj>(path_, generation_);
}

cow_String oda_OdbIntObj::Repr() const {
  return "session.odbs['" + path_ + "']";
}

std::vector<omu_InterfaceObj*> oda_OdbIntObj::Extensions() const {
  const std::vector<omu_InterfaceObj*>& fragments = omu_Fragment<oda_OdbIntObj>::Attached();
  for (omu_InterfaceObj* f : fragments)
    static_cast<oda_OdbFragment*>(f)->AttachTo(path_, generation_);
  return fragments;
}

odb_Odb& oda_OdbIntObj::Database() const {
  return thr_ThreadSingleton<ddr_Root>::Instance().Require(path_, generation_);
}

omu_Result oda_OdbIntObj::GetPath() {
  Database();
  return std::make_unique<omu_PrimString>(path_);
}

omu_Result oda_OdbIntObj::GetSteps() {
  const odb_Odb& odb = Database();
  auto names = std::make_unique<omu_PrimTuple>();
  for (const ddb_Step& step : odb.Steps())
    names->Append(std::make_unique<omu_PrimString>(step.name));
  return names;
}

omu_Result oda_OdbIntObj::Close(omu_Arguments& args) {
  args.Begin();
  args.End();
  Database();
  thr_ThreadSingleton<ddr_Root>::Instance().Close(path_);
  return std::make_unique<omu_PrimNone>();
}

namespace {
// Appends 'name' to a list of quoted names, unless it holds it.
void Quoted(std::string& list, const std::string& name) {
  std::string quoted;
  quoted.reserve(name.size() + 2);
  quoted.push_back('\'');
  quoted.append(name);
  quoted.push_back('\'');
  if (list.find(quoted) != std::string::npos) return;
  if (!list.empty()) list.append(", ");
  list.append(quoted);
}
}  // namespace

// fieldValues(step, label, frame=-1, instance=''): (labels, values) of one field output.
omu_Result oda_OdbIntObj::FieldValues(omu_Arguments& args) {
  cow_String stepName;
  cow_String label;
  long long frameIndex = -1;
  cow_String instanceName;
  args.Begin();
  args.Get(stepName, "step");
  args.Get(label, "label");
  args.Optional();
  args.Get(frameIndex, "frame");
  args.Get(instanceName, "instance");
  args.End();
  const odb_Odb& odb = Database();
  const ddb_Step* step = nullptr;
  std::string names;
  for (const ddb_Step& s : odb.Steps()) {
    if (s.name == stepName) step = &s;
    Quoted(names, s.name.Std());
  }
  if (!step)
    throw omu_ValueErrorException("step: no step '" + stepName.Std() +
                                  "' (the steps: " + (names.empty() ? "none" : names) + ")");
  const long long frames = static_cast<long long>(step->frames.size());
  const long long f = frameIndex < 0 ? frames + frameIndex : frameIndex;
  if (f < 0 || f >= frames)
    throw omu_ValueErrorException("frame: no frame " + std::to_string(frameIndex) + " in step '" +
                                  stepName.Std() + "' (it has " + std::to_string(frames) + ")");
  const ddb_Frame& frame = step->frames[static_cast<std::size_t>(f)];
  const int instance = instanceName.IsEmpty() ? -1 : odb.Model().InstanceIndex(instanceName);
  if (!instanceName.IsEmpty() && instance < 0)
    throw omu_ValueErrorException("instance: no instance '" + instanceName.Std() + "'");
  const ddb_FieldOutput* field = nullptr;
  std::string labels;
  for (const ddb_FieldOutput& candidate : frame.fields) {
    Quoted(labels, candidate.label.Std());
    if (candidate.label != label || (instance >= 0 && candidate.instance != instance)) continue;
    if (field)
      throw omu_ValueErrorException("instance: field '" + label.Std() +
                                    "' is in more than one instance; name one");
    field = &candidate;
  }
  if (!field)
    throw omu_ValueErrorException("label: no field '" + label.Std() + "' in frame " +
                                  std::to_string(f) + " of step '" + stepName.Std() +
                                  "' (its fields: " + (labels.empty() ? "none" : labels) + ")");
  std::vector<int> nodeOrElementLabels;
  std::vector<float> values;
  odb.ReadField(*field, nodeOrElementLabels, values);
  auto result = std::make_unique<omu_PrimTuple>();
  result->Append(std::make_unique<omu_PrimArray>(
      std::vector<std::int32_t>(nodeOrElementLabels.begin(), nodeOrElementLabels.end())));
  const std::size_t columns =
      field->valuesPerLabel > 1 ? static_cast<std::size_t>(field->valuesPerLabel) : 0;
  result->Append(std::make_unique<omu_PrimArray>(std::move(values), columns));
  return result;
}
