#include "odb_StepWriterIntObj.h"

#include "odb_FrameWriterIntObj.h"
#include "odb_Numbers.h"
#include "omu_PrimNone.h"
#include "omu_PrimType.h"
#include "res_Enumerations.h"

const omu_MethodRow odb_StepWriterIntObj::methods_[] = {
    {"addHistory", omu_Method<&odb_StepWriterIntObj::AddHistory>},
    {"addFrame", omu_Method<&odb_StepWriterIntObj::AddFrame>},
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
  const long long perX = static_cast<long long>(components < 1 ? 1 : components) * (isComplex ? 2 : 1);
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
