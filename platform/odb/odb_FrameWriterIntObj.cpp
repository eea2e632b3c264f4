#include "odb_FrameWriterIntObj.h"

#include "odb_Numbers.h"
#include "omu_PrimNone.h"
#include "res_Enumerations.h"

namespace {
constexpr omu_Parameter kAddFieldParameters[] = {
    {"label", "str", nullptr, "the field's label"},
    {"description", "str", "''", "what it is"},
    {"position", "SymbolicConstant", "NODAL", "where the values are"},
    {"instance", "str", "''", "the instance"},
    {"count", "int", "-1", "the number of labels"},
    {"valuesPerLabel", "int", "1", "components per label"},
    {"labels", "sequence of int", "()", "the node or element labels"},
    {"values", "sequence of numbers, or a dict of label to value", "()", "the values"},
    {nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kAddField{"Adds a field output to the frame.", kAddFieldParameters, nullptr,
                              omu_Signature::Form::Keywords};
}  // namespace

const omu_MethodRow odb_FrameWriterIntObj::methods_[] = {
    {"addField", omu_Method<&odb_FrameWriterIntObj::AddField>, &kAddField}, {"", nullptr}};

odb_FrameWriterIntObj::odb_FrameWriterIntObj(std::shared_ptr<odb_Writer> writer, int step,
                                             int frame)
    : writer_(std::move(writer)), step_(step), frame_(frame) {
  DescribeType(TypeName(), methods_, nullptr);
}

std::unique_ptr<omu_InterfaceObj> odb_FrameWriterIntObj::Copy() const {
  return std::make_unique<odb_FrameWriterIntObj>(writer_, step_, frame_);
}

// addField(label, description, position, instance, labels, count, values, valuesPerLabel)
omu_Result odb_FrameWriterIntObj::AddField(omu_Arguments& args) {
  cow_String label, description, instance;
  omu_PrimEnum<res_OutputPositionEnm> position(res_NODAL);
  long long count = -1;
  int perLabel = 1;
  args.Begin();
  args.Get(label, "label");
  args.Optional();
  args.Get(description, "description");
  args.Get(position, "position");
  args.Get(instance, "instance");
  args.Get(count, "count");
  args.Get(perLabel, "valuesPerLabel");
  std::vector<int> labels = odb_Numbers::ReadInts(args, "labels", count);
  const std::vector<double> values =
      odb_Numbers::Read(args, "values", count < 0 ? -1 : count * (perLabel < 1 ? 1 : perLabel));
  args.End();
  std::vector<float> stored(values.begin(), values.end());
  writer_->AddField(step_, frame_, label, description, position.Value(), instance,
                    std::move(labels), std::move(stored), perLabel);
  return std::make_unique<omu_PrimNone>();
}
