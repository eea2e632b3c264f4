#include "xyp_ModelProbeClient.h"

#include <cstdio>
#include <tuple>

#include "ddb_FieldOutput.h"
#include "gdy_ModelSceneManager.h"
#include "odb_Odb.h"
#include "odiK_Model.h"
#include "odiK_PartInstance.h"
#include "prbK_ProbeToolset.h"
#include "smg_SceneManagerRole.h"

namespace {
xyp_ModelProbeClient* registered = nullptr;

cow_String FloatText(double value) {
  return cow_String::FromDouble(static_cast<double>(static_cast<float>(value)));
}

cow_String Joined(const float* values, int count) {
  cow_String text;
  for (int k = 0; k < count; ++k) text += (k ? ", " : "") + FloatText(values[k]);
  return text;
}

bool NodeEntity() {
  return prbK_ProbeToolset::Instance().ProbeOptions().probeEntity == prbC_NODES;
}
}  // namespace

bool xyp_ModelProbeClient::InstanceKey::operator<(const InstanceKey& o) const {
  return std::tie(path, generation, instance) < std::tie(o.path, o.generation, o.instance);
}

void xyp_ModelProbeClient::Register() {
  if (registered) return;
  prbK_ProbeToolset::Instance().AddClient(new xyp_ModelProbeClient());  // the toolset owns it
}

xyp_ModelProbeClient::xyp_ModelProbeClient() : prbK_ProbeToolsetClient(prbK_ProbeToolset::kOdb) {
  registered = this;
  // A new step, frame or field in the viewport being probed renews the tables and the options.
  gdy_ModelScene::SetFieldChangedHook([this](int viewport) {
    if (!prbK_ProbeToolset::Exists() || prbK_ProbeToolset::Instance().Client() != this) return;
    if (viewport != smg_SceneManagerRole::Instance().CurrentViewport() || !Scene()) return;
    ResetFieldModel();
  });
}

xyp_ModelProbeClient::~xyp_ModelProbeClient() {
  if (registered == this) {
    registered = nullptr;
    gdy_ModelScene::SetFieldChangedHook(nullptr);
  }
}

gdy_ModelScene* xyp_ModelProbeClient::Scene() {
  gdy_ModelSceneManager* manager = gdy_ModelSceneManager::Instance();
  return manager ? manager->CurrentScene() : nullptr;
}

gdy_ModelScene* xyp_ModelProbeClient::HighlightedScene() const {
  gdy_ModelSceneManager* manager = gdy_ModelSceneManager::Instance();
  if (!manager || highlightViewport_ < 0) return nullptr;
  return static_cast<gdy_ModelScene*>(manager->FindScene(highlightViewport_));
}

ddr_Shortcut<odiK_Model> xyp_ModelProbeClient::GetModel() {
  const gdy_ModelScene* scene = Scene();
  if (!scene || !scene->Model()) return {};
  return ddr_Shortcut<odiK_Model>(scene->OdbPath(), scene->OdbGeneration());
}

bool xyp_ModelProbeClient::DisplayOn() {
  const gdy_ModelScene* scene = Scene();
  return scene && scene->Model();
}

void xyp_ModelProbeClient::ReleaseMapId() {
  if (gdy_ModelScene* scene = Scene()) scene->ReleaseMapId();
}

void xyp_ModelProbeClient::Refresh() {
  if (gdy_ModelScene* scene = Scene()) scene->Refresh();
}

void xyp_ModelProbeClient::UpdateScene() {
  if (gdy_ModelScene* scene = Scene()) {
    scene->SetProbeEntity(NodeEntity() ? gdy_ModelScene::kNodes : gdy_ModelScene::kElements);
    scene->UpdateScene();
  }
}

void xyp_ModelProbeClient::DisableProbe() {
  if (gdy_ModelScene* scene = Scene()) scene->DisableProbe();
}

void xyp_ModelProbeClient::EnableProbe() {
  if (gdy_ModelScene* scene = Scene()) scene->EnableProbe();
}

int xyp_ModelProbeClient::Probe(const g3d_Point& point) {
  gdy_ModelScene* scene = Scene();
  if (!scene || !scene->Model()) return 0;
  scene->SetProbeEntity(NodeEntity() ? gdy_ModelScene::kNodes : gdy_ModelScene::kElements);
  return scene->Probe(point);
}

void xyp_ModelProbeClient::ClearHighlights() {
  if (gdy_ModelScene* scene = HighlightedScene()) scene->ClearHighlights();
  highlightViewport_ = -1;
}

void xyp_ModelProbeClient::HighlightEntity(const ddr_Shortcut<odiK_BaseInstance>& instance,
                                           int first, int second) {
  gdy_ModelScene* scene = Scene();
  if (!scene || !Part(instance)) return;
  ClearHighlights();
  if (second == -1)
    scene->HighlightNode(instance.Index(), first);
  else
    scene->HighlightElement(instance.Index(), first, second);
  highlightViewport_ = scene->Viewport();
}

void xyp_ModelProbeClient::UnMapId(int id, const ddr_Shortcut<odiK_Model>& model,
                                   ddr_Shortcut<odiK_BaseInstance>& instance, int& elementClass,
                                   int& element, int& node) {
  gdy_ModelScene::Item item;
  const gdy_ModelScene* scene = Scene();
  // Only ids of the model the step probes: the viewport may show another one by now.
  if (scene && model.Get() && scene->OdbPath() == model.Path() &&
      scene->OdbGeneration() == model.Generation())
    item = scene->UnMapId(id);
  instance = item.instance < 0
                 ? ddr_Shortcut<odiK_BaseInstance>()
                 : ddr_Shortcut<odiK_BaseInstance>(model.Path(), model.Generation(), item.instance);
  elementClass = item.elementClass;
  element = item.element;
  node = item.node;
}

const odiK_PartInstance* xyp_ModelProbeClient::Part(
    const ddr_Shortcut<odiK_BaseInstance>& instance) {
  return dynamic_cast<const odiK_PartInstance*>(instance.Get());
}

void xyp_ModelProbeClient::BaseCoordStr(const ddr_Shortcut<odiK_BaseInstance>& instance, int node,
                                        cow_String& text) {
  text = cow_String();
  const odiK_PartInstance* part = Part(instance);
  if (!part || node < 0 || static_cast<std::size_t>(node) >= part->NumNodes()) return;
  const double* xyz = part->coordinates.data() + 3 * static_cast<std::size_t>(node);
  text = "(" + FloatText(xyz[0]) + ", " + FloatText(xyz[1]) + ", " + FloatText(xyz[2]) + ")";
}

void xyp_ModelProbeClient::DefCoordStr(const ddr_Shortcut<odiK_BaseInstance>& instance, int node,
                                       cow_String& text) {
  BaseCoordStr(instance, node, text);  // drawn undeformed
}

void xyp_ModelProbeClient::ResultValueStr(const ddr_Shortcut<odiK_BaseInstance>& instance,
                                          int elementClass, int element, cow_String& text) {
  text = cow_String();
  const odiK_PartInstance* part = Part(instance);
  const gdy_ModelScene* scene = Scene();
  if (!part || !scene || elementClass < 0 ||
      static_cast<std::size_t>(elementClass) >= part->elementClasses.size())
    return;
  const bme_ElementClass& elements = part->elementClasses[static_cast<std::size_t>(elementClass)];
  if (element < 0 || static_cast<std::size_t>(element) >= elements.Size()) return;
  const ddb_FieldOutput* field = scene->Field(instance.Index());
  if (!field || field->position == res_NODAL) {
    text = "NoValue";
    return;
  }
  const gdy_ModelScene::Values values = scene->LabelValues(
      instance.Index(), elements.userElementLabels[static_cast<std::size_t>(element)]);
  text = values.count == 0 ? cow_String("NoValue") : Joined(values.values, values.count);
}

const std::vector<std::pair<int, int>>& xyp_ModelProbeClient::AttachedElements(
    const ddr_Shortcut<odiK_BaseInstance>& instance, int node) {
  const odiK_PartInstance* part = Part(instance);
  const InstanceKey key{instance.Path(), instance.Generation(), instance.Index()};
  auto it = attached_.find(key);
  if (it == attached_.end()) {
    std::vector<std::vector<std::pair<int, int>>> byNode(part->NumNodes());
    for (std::size_t c = 0; c < part->elementClasses.size(); ++c) {
      const bme_ElementClass& elements = part->elementClasses[c];
      for (std::size_t e = 0; e < elements.Size(); ++e) {
        const int* nodes = elements.Nodes(e);
        for (int k = 0; k < elements.NumNodesPerElem(); ++k) {
          const int index = part->NodeIndex(nodes[k]);
          if (index < 0) continue;
          auto& list = byNode[static_cast<std::size_t>(index)];
          const std::pair<int, int> entry(static_cast<int>(c), static_cast<int>(e));
          if (list.empty() || list.back() != entry) list.push_back(entry);
        }
      }
    }
    it = attached_.emplace(key, std::move(byNode)).first;
  }
  return it->second[static_cast<std::size_t>(node)];
}

void xyp_ModelProbeClient::ResultValueStr(const ddr_Shortcut<odiK_BaseInstance>& instance, int node,
                                          bool attached, cow_String& text) {
  text = cow_String();
  const odiK_PartInstance* part = Part(instance);
  if (!part || node < 0 || static_cast<std::size_t>(node) >= part->NumNodes()) return;
  const std::vector<std::pair<int, int>>& elements = AttachedElements(instance, node);
  auto labelOf = [part](const std::pair<int, int>& e) {
    return part->elementClasses[static_cast<std::size_t>(e.first)]
        .userElementLabels[static_cast<std::size_t>(e.second)];
  };
  if (attached) {
    for (std::size_t i = 0; i < elements.size(); ++i)
      text += (i ? ", " : "") + cow_String::FromInt(labelOf(elements[i]));
    if (elements.size() > 1) text = "(" + text + ")";
    return;
  }
  const gdy_ModelScene* scene = Scene();
  const ddb_FieldOutput* field = scene ? scene->Field(instance.Index()) : nullptr;
  if (!field) {
    text = "NoValue";
    return;
  }
  const int label = part->GetUserNodeLabel(static_cast<std::size_t>(node));
  if (field->position == res_NODAL) {
    const gdy_ModelScene::Values values = scene->LabelValues(instance.Index(), label);
    text = values.count == 0 ? cow_String("NoValue") : FloatText(values.values[0]);
    return;
  }
  if (field->position != res_ELEMENT_NODAL) {
    text = "NoValue";
    return;
  }
  // One value per attached element: the element's value at this node.
  for (std::size_t i = 0; i < elements.size(); ++i) {
    const bme_ElementClass& c = part->elementClasses[static_cast<std::size_t>(elements[i].first)];
    const int* nodes = c.Nodes(static_cast<std::size_t>(elements[i].second));
    const gdy_ModelScene::Values values =
        scene->LabelValues(instance.Index(), labelOf(elements[i]));
    cow_String value = "NoValue";
    for (int k = 0; k < c.NumNodesPerElem() && k < values.count; ++k)
      if (nodes[k] == label) {
        value = FloatText(values.values[k]);
        break;
      }
    text += (i ? ", " : "") + value;
  }
  if (elements.empty()) text = "NoValue";
}

res_OutputPositionEnm xyp_ModelProbeClient::FieldPosition(const gdy_ModelScene& scene) {
  const odiK_Model* model = scene.Model();
  if (!model) return res_UNKNOWN_POSITION;
  for (int i = 0; i < model->NumInstances(); ++i)
    if (const ddb_FieldOutput* field = scene.Field(i)) return field->position;
  return res_UNKNOWN_POSITION;
}

void xyp_ModelProbeClient::ComputeAvailableOutputPositions(bool node) {
  outputPositions_ = cow_1DArrayList<int>();
  if (node) {
    outputPositions_.Append(res_NODAL);
    return;
  }
  const gdy_ModelScene* scene = Scene();
  const res_OutputPositionEnm position = scene ? FieldPosition(*scene) : res_UNKNOWN_POSITION;
  if (position >= res_INTEGRATION_POINT && position <= res_WHOLE_ELEMENT)
    outputPositions_.Append(position);
}

bool xyp_ModelProbeClient::SetFieldModel() {
  const gdy_ModelScene* scene = Scene();
  if (!scene) return false;
  const res_OutputPositionEnm position = FieldPosition(*scene);
  if (NodeEntity()) return position == res_NODAL || position == res_ELEMENT_NODAL;
  return position != res_UNKNOWN_POSITION && position == position_;
}

void xyp_ModelProbeClient::ObjectName(cow_String& name) {
  if (const gdy_ModelScene* scene = Scene()) name = scene->OdbPath();
}

void xyp_ModelProbeClient::StepFrameLabel(cow_String& step, cow_String& frame, cow_String& extra) {
  step = frame = extra = cow_String();
  const gdy_ModelScene* scene = Scene();
  const odb_Odb* odb = scene ? scene->Odb() : nullptr;
  if (!odb || scene->StepIndex() < 0) return;
  const ddb_Step& shown = odb->Steps()[static_cast<std::size_t>(scene->StepIndex())];
  step = shown.name;
  if (scene->FrameIndex() < 0) return;
  char value[64];
  std::snprintf(value, sizeof value, "%g",
                shown.frames[static_cast<std::size_t>(scene->FrameIndex())].value);
  frame = "Frame " + cow_String::FromInt(scene->FrameIndex()) + ", value " + value;
}

void xyp_ModelProbeClient::VariableLabel(cow_String& label) {
  const gdy_ModelScene* scene = Scene();
  label = scene ? scene->FieldLabel() : cow_String();
}

const cow_1DArrayList<cow_String>& xyp_ModelProbeClient::CategorySectionPointList() {
  return categorySectionPoints_;  // the results files' fields carry no section point
}
