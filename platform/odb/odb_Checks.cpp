#include "odb_Checks.h"

#include <algorithm>

namespace {
std::string Quote(const cow_String& name) {
  // Appended piece by piece: "'" + text + "'" trips GCC 12's -Wrestrict at -O3.
  std::string quoted(1, '\'');
  quoted.append(name.View());
  quoted.push_back('\'');
  return quoted;
}

bool NeedsInstance(res_OutputPositionEnm p) {
  return (p >= res_NODAL && p <= res_WHOLE_ELEMENT) || p == res_WHOLE_PART_INSTANCE;
}
bool NeedsElement(res_OutputPositionEnm p) {
  return p >= res_INTEGRATION_POINT && p <= res_WHOLE_ELEMENT;
}
}  // namespace

int odb_Checks::Faces(res_ElementShapeEnm shape) {
  switch (shape) {
    case res_LINE: return 2;
    case res_TRI: return 3;
    case res_QUAD: return 4;
    case res_TET: return 4;
    case res_WEDGE: return 5;
    case res_HEX: return 6;
  }
  return 0;
}

std::string odb_Checks::History(const odiK_Model& model, ddb_History& h) {
  h.nodeNumber = h.elementClass = h.elementNumber = -1;
  const int p = static_cast<int>(h.position);
  if (p < res_NODAL || p > res_GENERAL_PARTICLE)
    return "position: " + std::to_string(p) + " is not an output position (1 to 10)";
  if (h.instance < -1 || h.instance >= model.NumInstances())
    return "instance: no instance " + std::to_string(h.instance) + " (the model has " +
           std::to_string(model.NumInstances()) + ")";
  if (h.set < -1 || h.set >= static_cast<int>(model.sets.size()))
    return "set: no set " + std::to_string(h.set) + " (the model has " +
           std::to_string(model.sets.size()) + ")";
  if (h.components < 1) return "components: " + std::to_string(h.components) + " is below 1";
  if (h.count < 0) return "count: " + std::to_string(h.count) + " is below 0";
  if (!NeedsInstance(h.position)) return "";
  if (h.instance < 0) return "instance: the position needs an instance";
  const odiK_PartInstance& instance = model.instances[static_cast<std::size_t>(h.instance)];
  const std::string where = " in instance " + Quote(instance.name);
  if (h.position == res_NODAL || h.position == res_ELEMENT_NODAL) {
    h.nodeNumber = instance.NodeIndex(h.node);
    if (h.nodeNumber < 0) return "node: no node " + std::to_string(h.node) + where;
  }
  if (!NeedsElement(h.position)) return "";
  const odiK_PartInstance::ElementRef ref = instance.FindElement(h.element);
  if (ref.elementClass < 0) return "element: no element " + std::to_string(h.element) + where;
  h.elementClass = ref.elementClass;
  h.elementNumber = ref.element;
  const bme_ElementClass& elements = instance.elementClasses[static_cast<std::size_t>(ref.elementClass)];
  if (h.position == res_INTEGRATION_POINT) {
    if (h.integrationPoint < 1)
      return "integrationPoint: " + std::to_string(h.integrationPoint) + " is below 1";
    const int points = static_cast<int>(elements.sectionPointLabels.size());
    if (h.sectionPoint < -1 || h.sectionPoint >= points)
      return "sectionPoint: no section point " + std::to_string(h.sectionPoint) + " (element " +
             std::to_string(h.element) + " has " + std::to_string(points) + ")";
  }
  if (h.position == res_ELEMENT_FACE) {
    const int faces = Faces(elements.shape);
    if (h.face < 1 || h.face > faces)
      return "face: " + std::to_string(h.face) + " is not a face of element " +
             std::to_string(h.element) + " (1 to " + std::to_string(faces) + ")";
  }
  if (h.position == res_ELEMENT_NODAL) {
    const int* nodes = elements.Nodes(static_cast<std::size_t>(ref.element));
    if (std::find(nodes, nodes + elements.nodesPerElement, h.node) ==
        nodes + elements.nodesPerElement)
      return "node: node " + std::to_string(h.node) + " is not a node of element " +
             std::to_string(h.element);
  }
  return "";
}

std::string odb_Checks::Set(const odiK_Model& model, const odiK_Set& set) {
  const int kind = static_cast<int>(set.kind);
  if (kind < res_NODE_SET || kind > res_SURFACE_SET)
    return "kind: " + std::to_string(kind) + " is not a set kind (0 to 2)";
  if (set.instance < 0 || set.instance >= model.NumInstances())
    return "instance: no instance " + std::to_string(set.instance) + " (the model has " +
           std::to_string(model.NumInstances()) + ")";
  const odiK_PartInstance& instance = model.instances[static_cast<std::size_t>(set.instance)];
  for (int label : set.labels) {
    if (set.kind == res_NODE_SET ? instance.NodeIndex(label) < 0
                                 : instance.FindElement(label).elementClass < 0)
      return "labels: no " + std::string(set.kind == res_NODE_SET ? "node " : "element ") +
             std::to_string(label) + " in instance " + Quote(instance.name);
  }
  return "";
}

std::string odb_Checks::ElementClass(const odiK_PartInstance& instance,
                                     const bme_ElementClass& e) {
  if (e.nodesPerElement < 1 || e.nodesPerElement > 64)
    return "elements: " + std::to_string(e.nodesPerElement) + " nodes per element (1 to 64)";
  const int shape = static_cast<int>(e.shape);
  if (shape < res_LINE || shape > res_HEX) return "shape: " + std::to_string(shape) + " is no shape";
  if (e.connectivity.size() != e.userElementLabels.size() * static_cast<std::size_t>(e.nodesPerElement))
    return "elements: the connectivity does not hold " + std::to_string(e.nodesPerElement) +
           " nodes per element";
  for (std::size_t i = 0; i < e.connectivity.size(); ++i)
    if (instance.NodeIndex(e.connectivity[i]) < 0)
      return "elements: element " +
             std::to_string(e.userElementLabels[i / static_cast<std::size_t>(e.nodesPerElement)]) +
             " uses node " + std::to_string(e.connectivity[i]) + ", which instance " +
             Quote(instance.name) + " does not have";
  return "";
}

std::string odb_Checks::Field(const odiK_Model& model, const ddb_FieldOutput& f) {
  const int p = static_cast<int>(f.position);
  if (p < res_NODAL || p > res_WHOLE_ELEMENT)
    return "position: " + std::to_string(p) + " is not a position of field output (1 to 6)";
  if (f.instance < 0 || f.instance >= model.NumInstances())
    return "instance: no instance " + std::to_string(f.instance) + " (the model has " +
           std::to_string(model.NumInstances()) + ")";
  if (f.valuesPerLabel < 1) return "values: " + std::to_string(f.valuesPerLabel) + " values per label";
  return "";
}
