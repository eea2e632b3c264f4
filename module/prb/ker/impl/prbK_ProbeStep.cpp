#include "prbK_ProbeStep.h"

#include <vector>

#include "cmdC_WIP.h"
#include "modC_MethodFactory.h"
#include "modC_StepReceiver.h"
#include "odiK_PartInstance.h"
#include "omi_Singleton.h"
#include "omu_PrimEnumBase.h"
#include "omu_TypeErrorException.h"
#include "omu_ValueErrorException.h"
#include "omu_ValueReader.h"
#include "prbK_CurrentProbeValues.h"
#include "prbK_ProbeToolset.h"
#include "prbK_SelectedProbeValues.h"
#include "qryK_QueryRegistrarRole.h"
#include "smg_SceneManagerRole.h"

namespace {
void Fire(const char* member) {
  qryK_QueryRegistrarRole::Instance().FireQuery(cow_String("session.") + member);
}

// The dialog's items, read by position; a refused item names its position and the command.
class Items {
 public:
  Items(const omu_PrimTuple& command, const cow_String& name) : command_(command), name_(name) {}

  void Require(std::size_t count) const {
    if (command_.Size() < count)
      NEX_THROW(omu_ValueErrorException(name_ + " takes " + cow_String::FromInt(count - 1) +
                                        " values after its name, not " +
                                        cow_String::FromInt(command_.Size() - 1)));
  }
  const omu_Primitive& At(std::size_t i) const { return command_.Item(i); }

  template <class T>
  T Read(std::size_t i) const {
    T value{};
    omu_ValueReader::Require(At(i), value, What(i));
    return value;
  }
  // An integer or a symbolic constant of the enumeration; either must be one of its values.
  template <class E>
  E ReadEnum(std::size_t i) const {
    omu_PrimEnum<E> constant;
    int value = 0;
    if (omu_ValueReader::Read(At(i), constant)) return constant.Get();
    if (!omu_ValueReader::Read(At(i), value))
      omu_ValueReader::RaiseWrongKind(What(i), "an int or " + omu_ValueReader::Expected(constant),
                                      At(i));
    if (!constant.SetValue(value))
      NEX_THROW(omu_ValueErrorException(What(i) + ": " + cow_String::FromInt(value) +
                                        " is not one of " + constant.EnumName()));
    return constant.Get();
  }

 private:
  cow_String What(std::size_t i) const {
    return name_ + " item " + cow_String::FromInt(static_cast<long long>(i));
  }
  const omu_PrimTuple& command_;
  cow_String name_;
};
}  // namespace

prbK_ProbeStep::prbK_ProbeStep() = default;

prbK_ProbeStep::prbK_ProbeStep(const ddr_Shortcut<odiK_Model>& model) : model_(model) {}

prbK_ProbeStep::~prbK_ProbeStep() {
  // Leaving the mode empties the dialog, and nothing is probed any more.
  // Nothing is made again here: at shut-down the singletons may be gone already.
  if (prbK_CurrentProbeValues::Exists()) prbK_CurrentProbeValues::Instance().InitializeValues();
  if (prbK_SelectedProbeValues::Exists()) {
    prbK_SelectedProbeValues::Instance().InitializeValues();
    prbK_SelectedProbeValues::Instance().InitializeOrigValues();
  }
  if (prbK_ProbeToolset::Exists() && prbK_ProbeToolset::Instance().Client()) {
    prbK_ProbeToolset::Instance().ClearHighlights();
    prbK_ProbeToolset::Instance().DisableProbe();
  }
  if (smg_SceneManagerRole::Exists()) smg_SceneManagerRole::Instance().SetCursor(-1);
  StopMethods();
}

void prbK_ProbeStep::StopMethods() {
  if (cursorMethod_) cursorMethod_->Stop();
  if (formMethod_) formMethod_->Stop();
  cursorMethod_.reset();
  formMethod_.reset();
}

void prbK_ProbeStep::Execute(modC_MethodFactory& factory, modC_StepReceiver& receiver) {
  receiver_ = &receiver;
  StopMethods();
  cursorMethod_ =
      factory.MakeCursorMethod(*this, smg_SceneManagerRole::Instance().CurrentViewport());
  formMethod_ = factory.MakeFormMethod(kForm, omu_PrimTuple(), *this);
  cursorMethod_->Start();
  formMethod_->Start();
  smg_SceneManagerRole::Instance().SetCursor(kCursorKind);
}

void prbK_ProbeStep::Cancel() {
  StopMethods();
  if (receiver_) receiver_->StepCancelled(*this);
}

void prbK_ProbeStep::Suspend() {
  prbK_ProbeToolset& toolset = prbK_ProbeToolset::Instance();
  toolset.DisableProbe();
  lastId_ = 0;
  toolset.ClearHighlights();
  if (cursorMethod_) cursorMethod_->Suspend();
  if (formMethod_) formMethod_->Suspend();
  smg_SceneManagerRole::Instance().SetCursor(-1);
}

void prbK_ProbeStep::Resume() {
  prbK_ProbeToolset& toolset = prbK_ProbeToolset::Instance();
  toolset.EnableProbe();
  toolset.UpdateScene();
  if (cursorMethod_) cursorMethod_->Resume();
  if (formMethod_) formMethod_->Resume();
  smg_SceneManagerRole::Instance().SetCursor(kCursorKind);
}

bool prbK_ProbeStep::PrepareValue(cow_1DArray<cow_String>& values, int id, const g3d_Point& point) {
  return prbK_ProbeToolset::Instance().PrepareValue(values, id, point);
}

bool prbK_ProbeStep::Prepare(cow_1DArray<cow_String>& values, int id, const g3d_Point& point) {
  if (!IsOdb()) return PrepareValue(values, id, point);
  prbK_ProbeToolset::Instance().UnMapId(id, model_, instance_, elementClass_, element_, node_);
  return PrepareODBValue(values);
}

void prbK_ProbeStep::DirectManipulation(DirectManipReason reason, modC_Method&) {
  if (reason != kCursorMove || !cursorMethod_) return;
  prbK_ProbeToolset& toolset = prbK_ProbeToolset::Instance();
  const g3d_Point point = cursorMethod_->CurrentPoint();
  const int id = toolset.Probe(point);
  // A model's entity is read once while the cursor stays on it; an XY step goes on at every
  // move (the value changes along a segment).
  const unsigned generation = prbK_CurrentProbeValues::Instance().Generation();
  if (IsOdb() && id == lastId_ && generation == lastGeneration_) return;
  lastId_ = id;
  lastGeneration_ = generation;
  cow_1DArray<cow_String> values(static_cast<std::size_t>(toolset.TupleSize()));
  if (id == 0 || !Prepare(values, id, point)) toolset.ClearHighlights();
  if (values.Size() != static_cast<std::size_t>(toolset.TupleSize()))
    values = cow_1DArray<cow_String>(static_cast<std::size_t>(toolset.TupleSize()));
  prbK_CurrentProbeValues::Instance().SetValues(values);
  Fire("currentProbeValues");
}

void prbK_ProbeStep::ValueChanged(modC_Method& method) {
  if (&method == cursorMethod_.get()) {
    prbK_ProbeToolset& toolset = prbK_ProbeToolset::Instance();
    const g3d_Point point = cursorMethod_->CurrentPoint();
    const int id = toolset.Probe(point);
    if (id == 0) return;
    cow_1DArray<cow_String> values(static_cast<std::size_t>(toolset.TupleSize()));
    if (!Prepare(values, id, point)) return;
    prbK_SelectedProbeValues::Instance().AppendValues(values);
    Fire("selectedProbeValues");
    return;
  }
  if (&method == formMethod_.get()) FormCommand(formMethod_->Value());
}

bool prbK_ProbeStep::PrepareODBValue(cow_1DArray<cow_String>& values) {
  prbK_ProbeToolset& toolset = prbK_ProbeToolset::Instance();
  const prbC_ProbeOptionsCTX options = toolset.ProbeOptions();
  const auto* part = dynamic_cast<const odiK_PartInstance*>(instance_.Get());
  if (!part || values.Size() < 5) return false;  // its database was closed
  values.Set(0, part->name);
  if (node_ != -1) {
    if (node_ < 0 || static_cast<std::size_t>(node_) >= part->NumNodes() || values.Size() < 6)
      return false;
    const int label = part->GetUserNodeLabel(static_cast<std::size_t>(node_));
    if (label < 0) {
      values.Set(1, "Internal Node");
      return false;
    }
    values.Set(1, cow_String::FromInt(label));
    toolset.HighlightEntity(instance_, node_, -1);
    cow_String text;
    if (options.baseCoordinates) {
      toolset.BaseCoordStr(instance_, node_, text);
      values.Set(2, text);
    }
    if (options.deformedCoordinates) {
      toolset.DefCoordStr(instance_, node_, text);
      values.Set(3, text);
    }
    if (options.attachedElements) {
      toolset.ResultValueStr(instance_, node_, true, text);
      values.Set(4, text);
    }
    if (options.nodeFieldResults) {
      toolset.ResultValueStr(instance_, node_, false, text);
      values.Set(5, text);
    }
    return true;
  }
  if (element_ == -1 || elementClass_ < 0 ||
      static_cast<std::size_t>(elementClass_) >= part->elementClasses.size())
    return false;
  const bme_ElementClass& elements = part->elementClasses[static_cast<std::size_t>(elementClass_)];
  if (element_ < 0 || static_cast<std::size_t>(element_) >= elements.Size()) return false;
  const int label = elements.userElementLabels[static_cast<std::size_t>(element_)];
  if (label < 0) {
    values.Set(1, "Internal Element");
    return false;
  }
  values.Set(1, cow_String::FromInt(label));
  toolset.HighlightEntity(instance_, elementClass_, element_);
  values.Set(2, elements.typeName);
  if (options.elementConnectivity) {
    const int* nodes = elements.Nodes(static_cast<std::size_t>(element_));
    cow_String connectivity;
    for (int k = 0; k < elements.NumNodesPerElem(); ++k)
      connectivity += (k ? ", " : "") + cow_String::FromInt(nodes[k]);
    values.Set(3, connectivity);
  }
  if (options.elementFieldResults) {
    cow_String text;
    toolset.ResultValueStr(instance_, elementClass_, element_, text);
    values.Set(4, text);
  }
  return true;
}

void prbK_ProbeStep::FormCommand(const omu_PrimTuple& command) {
  if (command.Size() == 0) return;
  cow_String name;
  if (!omu_ValueReader::Read(command.Item(0), name)) return;
  const Items items(command, name);
  prbK_ProbeToolset& toolset = prbK_ProbeToolset::Instance();
  prbK_SelectedProbeValues& selected = prbK_SelectedProbeValues::Instance();
  if (name == "probeOptions") {
    // Every item is read before anything changes.
    items.Require(18);
    prbC_ProbeOptionsCTX options = toolset.ProbeOptions();
    options.probeEntity = items.ReadEnum<prbC_ProbeEntityEnm>(1);
    options.SetOutputPos(items.ReadEnum<res_OutputPositionEnm>(2));
    bool prbC_ProbeOptionsCTX::*const flags[] = {&prbC_ProbeOptionsCTX::partInstance,
                                                 &prbC_ProbeOptionsCTX::elementId,
                                                 &prbC_ProbeOptionsCTX::elementType,
                                                 &prbC_ProbeOptionsCTX::elementConnectivity,
                                                 &prbC_ProbeOptionsCTX::elementFieldResults,
                                                 &prbC_ProbeOptionsCTX::nodeId,
                                                 &prbC_ProbeOptionsCTX::baseCoordinates,
                                                 &prbC_ProbeOptionsCTX::deformedCoordinates,
                                                 &prbC_ProbeOptionsCTX::attachedElements,
                                                 &prbC_ProbeOptionsCTX::nodeFieldResults,
                                                 &prbC_ProbeOptionsCTX::legend,
                                                 &prbC_ProbeOptionsCTX::xValue,
                                                 &prbC_ProbeOptionsCTX::yValue,
                                                 &prbC_ProbeOptionsCTX::sequenceID,
                                                 &prbC_ProbeOptionsCTX::interpolateXy};
    std::size_t i = 3;
    for (bool prbC_ProbeOptionsCTX::*flag : flags) options.*flag = items.Read<bool>(i++);
    toolset.SetProbeOptionsCTX(options);
    Fire("probeOptions");
  } else if (name == "writeValuesToFile") {
    items.Require(4);
    const cow_String fileName = items.Read<cow_String>(1);
    const bool append = items.Read<bool>(2);
    const cow_String landmark = items.Read<cow_String>(3);
    if (fileName.IsEmpty()) return;
    selected.WriteToFile(fileName, append);
    omi_Singleton<cmdC_WIP>::Instance().Landmark(landmark);
  } else if (name == "probeReport") {
    items.Require(8);
    prbC_ProbeReportCTX report = toolset.ReportOptions();
    report.sortOrder = items.ReadEnum<prbC_SortEnm>(1);
    report.numColumns = items.Read<int>(2);
    report.numDigits = items.Read<int>(3);
    report.pageWidth = items.ReadEnum<prbC_PageWidthEnm>(4);
    report.numFormat = items.ReadEnum<prbC_FormatEnm>(5);
    report.printTotal = items.Read<bool>(6);
    report.printMinMax = items.Read<bool>(7);
    toolset.SetProbeReportCTX(report);
  } else if (name == "clearValues") {
    items.Require(2);
    // The row numbers are read before the table keeps anything for undo.
    const std::vector<long long> rows = items.Read<std::vector<long long>>(1);
    selected.ClearValues(rows);
    Fire("selectedProbeValues");
  } else if (name == "sort") {
    items.Require(3);
    const cow_String title = items.Read<cow_String>(1);
    const prbC_SortEnm direction = items.ReadEnum<prbC_SortEnm>(2);
    if (selected.Sort(title, direction)) Fire("selectedProbeValues");  // a refused sort: none
  } else if (name == "undo") {
    selected.Undo();
    Fire("selectedProbeValues");
  }
}
