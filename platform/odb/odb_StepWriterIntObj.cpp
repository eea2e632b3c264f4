#include "odb_StepWriterIntObj.h"

#include "odb_FrameWriterIntObj.h"
#include "odb_Numbers.h"
#include "omu_PrimNone.h"
#include "omu_PrimType.h"
#include "res_Enumerations.h"

namespace {
constexpr omu_Parameter kAddHistoryParameters[] = {
    {"label", "str", nullptr, "the output's label, such as 'U2'"},
    {"description", "str", "''", "what it is"},
    {"position", "SymbolicConstant", "NODAL",
     "NODAL, INTEGRATION_POINT, ELEMENT_NODAL, CENTROID, WHOLE_ELEMENT, WHOLE_REGION, ..."},
    {"instance", "str", "''", "the instance"},
    {"node", "int", "0", "the node label"},
    {"element", "int", "0", "the element label"},
    {"integrationPoint", "int", "0", "the integration point"},
    {"sectionPoint", "str", "''", "the section point"},
    {"face", "str", "''", "the face"},
    {"set", "str", "''", "the set of a whole-region output"},
    {"double", "bool", "False", "store float64 rather than float32"},
    {"complex", "bool", "False", "values are (real, imaginary) pairs"},
    {"components", "int", "1", "values per x"},
    {"count", "int", "-1", "the number of x values"},
    {"x", "sequence of numbers or an array", "()", "the x values (times, frequencies)"},
    {"values", "sequence of numbers or an array", "()", "the values, components per x"},
    {nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kAddHistory{"Adds a history output to the step.", kAddHistoryParameters,
                                nullptr, omu_Signature::Form::Keywords};
constexpr omu_Parameter kAddFrameParameters[] = {
    {"value", "float", "0.0", "the frame's time or frequency"},
    {nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kAddFrame{"Adds a frame to the step.", kAddFrameParameters, "OdbFrameWriter",
                              omu_Signature::Form::Keywords};
}  // namespace

const omu_MethodRow odb_StepWriterIntObj::methods_[] = {
    {"addHistory", omu_Method<&odb_StepWriterIntObj::AddHistory>, &kAddHistory},
    {"addFrame", omu_Method<&odb_StepWriterIntObj::AddFrame>, &kAddFrame},
    {"", nullptr}};

odb_StepWriterIntObj::odb_StepWriterIntObj(std::shared_ptr<odb_Writer> writer, int step)
    : writer_(std::move(writer)), step_(step) {
  DescribeType(TypeName(), methods_, nullptr);
}

std::unique_ptr<omu_InterfaceObj> odb_StepWriterIntObj::Copy() const {
  return std::make_unique<odb_StepWriterIntObj>(writer_, step_);
}

// addHistory(label, description, position, instance, node, element, integrationPoint,
// sectionPoint, face, set, double, complex, components, count, x, values)
omu_Result odb_StepWriterIntObj::AddHistory(omu_Arguments& args) {
  odb_Writer::HistoryPoint point;
  omu_PrimEnum<res_OutputPositionEnm> position(res_NODAL);
  bool isDouble = false, isComplex = false;
  int components = 1;
  long long count = -1;
  args.Begin();
  args.Get(point.label, "label");
  args.Optional();
  args.Get(point.description, "description");
  args.Get(position, "position");
  args.Get(point.instance, "instance");
  args.Get(point.node, "node");
  args.Get(point.element, "element");
  args.Get(point.integrationPoint, "integrationPoint");
  args.Get(point.sectionPoint, "sectionPoint");
  args.Get(point.face, "face");
  args.Get(point.set, "set");
  args.Get(isDouble, "double");
  args.Get(isComplex, "complex");
  args.Get(components, "components");
  args.Get(count, "count");
  // float32 arrays reach the writer as they came unless double=True.
  odb_Writer::Stored x = odb_Numbers::ReadStored(args, "x", count, isDouble);
  const long long perX =
      static_cast<long long>(components < 1 ? 1 : components) * (isComplex ? 2 : 1);
  odb_Writer::Stored values =
      odb_Numbers::ReadStored(args, "values", count < 0 ? -1 : count * perX, isDouble);
  args.End();
  point.position = position.Get();
  writer_->AddHistory(step_, point, std::move(x), std::move(values), isComplex, components);
  return std::make_unique<omu_PrimNone>();
}

omu_Result odb_StepWriterIntObj::AddFrame(omu_Arguments& args) {
  double value = 0.0;
  args.Begin();
  args.Optional();
  args.Get(value, "value");
  args.End();
  const int frame = writer_->AddFrame(step_, value);
  return std::make_unique<omu_PrimType>(
      std::make_shared<odb_FrameWriterIntObj>(writer_, step_, frame));
}
