#include "odb_WriterIntObj.h"

#include "odb_Numbers.h"
#include "odb_StepWriterIntObj.h"
#include "omu_PrimNone.h"
#include "omu_PrimString.h"
#include "omu_PrimType.h"
#include "omu_ValueErrorException.h"
#include "res_Enumerations.h"

namespace {
constexpr omu_Parameter kAddInstanceParameters[] = {
    {"name", "str", nullptr, "the instance's name"},
    {"count", "int", "-1", "the number of nodes, when nodes is flat"},
    {"nodes", "sequence of (label, x, y, z), or flat numbers", "()", "the nodes"},
    {nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kAddInstance{"Adds a part instance with its nodes.", kAddInstanceParameters,
                                 nullptr, omu_Signature::Form::Keywords};
constexpr omu_Parameter kAddElementsParameters[] = {
    {"instance", "str", nullptr, "the instance"},
    {"type", "str", nullptr, "the element type, such as 'C3D8'"},
    {"width", "int", nullptr, "numbers per element: its label and its node labels"},
    {"count", "int", "-1", "the number of elements, when elements is flat"},
    {"shape", "SymbolicConstant", "None",
     "LINE, TRI, QUAD, TET, WEDGE or HEX; by default from the type"},
    {"sectionPoints", "sequence of str", "()", "the section points' descriptions"},
    {"elements", "sequence of numbers", "()", "(label, node labels...) per element, flat"},
    {nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kAddElements{"Adds elements of one type to an instance.",
                                 kAddElementsParameters, nullptr, omu_Signature::Form::Keywords};
constexpr omu_Parameter kAddSetParameters[] = {
    {"name", "str", nullptr, "the set's name"},
    {"kind", "SymbolicConstant", "NODE_SET", "NODE_SET, ELEMENT_SET or SURFACE_SET"},
    {"instance", "str", "''", "the instance; '' the only one"},
    {"count", "int", "-1", "the number of labels"},
    {"labels", "sequence of int", "()", "the labels"},
    {"internal", "bool", "False", "a set the solver made"},
    {nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kAddSet{"Adds a node, element or surface set.", kAddSetParameters, nullptr,
                            omu_Signature::Form::Keywords};
constexpr omu_Parameter kAddStepParameters[] = {
    {"name", "str", nullptr, "the step's name"},
    {"domain", "SymbolicConstant", "TIME", "TIME, FREQUENCY, MODAL or ARC_LENGTH"},
    {"totalTime", "float", "0.0", "the total time at the step's start"},
    {nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kAddStep{"Adds a step.", kAddStepParameters, "OdbStepWriter",
                             omu_Signature::Form::Keywords};
constexpr omu_Parameter kCloseParameters[] = {{nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kClose{"Writes the results file and closes the writer.", kCloseParameters,
                           nullptr, omu_Signature::Form::Keywords};
}  // namespace

const omu_MethodRow odb_WriterIntObj::methods_[] = {
    {"addInstance", omu_Method<&odb_WriterIntObj::AddInstance>, &kAddInstance},
    {"addElements", omu_Method<&odb_WriterIntObj::AddElements>, &kAddElements},
    {"addSet", omu_Method<&odb_WriterIntObj::AddSet>, &kAddSet},
    {"addStep", omu_Method<&odb_WriterIntObj::AddStep>, &kAddStep},
    {"close", omu_Method<&odb_WriterIntObj::Close>, &kClose},
    {"", nullptr}};
const omu_MemberRow odb_WriterIntObj::members_[] = {
    {"path", omu_Getter<&odb_WriterIntObj::GetPath>, nullptr, "str", "the file written at close()"},
    {"", nullptr, nullptr}};

odb_WriterIntObj::odb_WriterIntObj(std::shared_ptr<odb_Writer> writer)
    : writer_(std::move(writer)) {
  DescribeType(TypeName(), methods_, members_);
}

std::unique_ptr<omu_InterfaceObj> odb_WriterIntObj::Copy() const {
  return std::make_unique<odb_WriterIntObj>(writer_);
}

cow_String odb_WriterIntObj::Repr() const {
  return "odbAccess.create('" + writer_->Path() + "')";
}

omu_Result odb_WriterIntObj::Create(omu_Arguments& args) {
  cow_String path;
  args.Begin();
  args.Get(path, "path");
  args.End();
  return std::make_unique<omu_PrimType>(
      std::make_shared<odb_WriterIntObj>(std::make_shared<odb_Writer>(path)));
}

omu_Result odb_WriterIntObj::GetPath() {
  return std::make_unique<omu_PrimString>(writer_->Path());
}

// addInstance(name, nodes=(label, x, y, z) * n packed, count=n)
omu_Result odb_WriterIntObj::AddInstance(omu_Arguments& args) {
  cow_String name;
  long long count = -1;
  args.Begin();
  args.Get(name, "name");
  args.Optional();
  args.Get(count, "count");
  std::vector<double> flat = odb_Numbers::Read(args, "nodes", count < 0 ? -1 : count * 4);
  args.End();
  if (flat.size() % 4 != 0) throw omu_ValueErrorException("nodes: each node is (label, x, y, z)");
  const std::size_t n = flat.size() / 4;
  std::vector<int> labels(n);
  std::vector<double> coordinates(n * 3);
  for (std::size_t i = 0; i < n; ++i) {
    const double label = flat[4 * i];
    if (!(label >= -2147483648.0 && label <= 2147483647.0) || static_cast<int>(label) != label)
      throw omu_ValueErrorException(cow_String("nodes: node ") +
                                    cow_String::FromInt(static_cast<long long>(i)) +
                                    " has no whole-number label");
    labels[i] = static_cast<int>(label);
    for (int c = 0; c < 3; ++c)
      coordinates[3 * i + static_cast<std::size_t>(c)] =
          flat[4 * i + 1 + static_cast<std::size_t>(c)];
  }
  writer_->AddInstance(name, std::move(labels), std::move(coordinates));
  return std::make_unique<omu_PrimNone>();
}

// addElements(instance, type, elements=(label, node...) * count packed, count, width, shape,
// sectionPoints)
omu_Result odb_WriterIntObj::AddElements(omu_Arguments& args) {
  cow_String instance, type;
  long long count = -1, width = 0;
  omu_PrimEnum<res_ElementShapeEnm> shape;
  args.Begin();
  args.Get(instance, "instance");
  args.Get(type, "type");
  args.Get(width, "width");
  args.Optional();
  args.Get(count, "count");
  const bool shapeGiven = args.Get(shape, "shape");
  const std::vector<cow_String> points = odb_Numbers::ReadTexts(args, "sectionPoints");
  if (width < 2 || width > 65)
    throw omu_ValueErrorException(
        "elements: each element is (label, node labels...), 1 to 64 nodes");
  const std::vector<int> flat =
      odb_Numbers::ReadInts(args, "elements", count < 0 ? -1 : count * width);
  args.End();
  if (flat.size() % static_cast<std::size_t>(width) != 0)
    throw omu_ValueErrorException("elements: every element needs the same number of nodes");
  const std::size_t w = static_cast<std::size_t>(width), n = flat.size() / w;
  std::vector<int> labels(n), connectivity;
  connectivity.reserve(n * (w - 1));
  for (std::size_t i = 0; i < n; ++i) {
    labels[i] = flat[i * w];
    connectivity.insert(connectivity.end(), flat.begin() + static_cast<long>(i * w + 1),
                        flat.begin() + static_cast<long>((i + 1) * w));
  }
  writer_->AddElements(instance, type, std::move(labels), std::move(connectivity),
                       static_cast<int>(width - 1), shapeGiven ? shape.Value() : -1, points);
  return std::make_unique<omu_PrimNone>();
}

omu_Result odb_WriterIntObj::AddSet(omu_Arguments& args) {
  cow_String name, instance;
  omu_PrimEnum<res_SetTypeEnm> kind;
  bool internal = false;
  long long count = -1;
  args.Begin();
  args.Get(name, "name");
  args.Optional();
  args.Get(kind, "kind");
  args.Get(instance, "instance");
  args.Get(count, "count");
  std::vector<int> labels = odb_Numbers::ReadInts(args, "labels", count);
  args.Get(internal, "internal");
  args.End();
  if (instance.IsEmpty() && writer_->Model().NumInstances() == 1)
    instance = writer_->Model().instances[0].name;
  writer_->AddSet(name, kind.Value(), instance, std::move(labels), internal);
  return std::make_unique<omu_PrimNone>();
}

omu_Result odb_WriterIntObj::AddStep(omu_Arguments& args) {
  cow_String name;
  omu_PrimEnum<res_DomainEnm> domain;
  double totalTime = 0.0;
  args.Begin();
  args.Get(name, "name");
  args.Optional();
  args.Get(domain, "domain");
  args.Get(totalTime, "totalTime");
  args.End();
  const int step = writer_->AddStep(name, domain.Value(), totalTime);
  return std::make_unique<omu_PrimType>(std::make_shared<odb_StepWriterIntObj>(writer_, step));
}

omu_Result odb_WriterIntObj::Close(omu_Arguments& args) {
  args.Begin();
  args.End();
  writer_->Close();
  return std::make_unique<omu_PrimNone>();
}
