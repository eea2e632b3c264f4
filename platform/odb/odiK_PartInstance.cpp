#include "odiK_PartInstance.h"

bool odiK_PartInstance::Index(int& repeated, bool& nodeRepeated) {
  nodeIndex_.clear();
  elementIndex_.clear();
  nodeIndex_.reserve(nodeLabels.size());
  for (std::size_t i = 0; i < nodeLabels.size(); ++i)
    if (!nodeIndex_.emplace(nodeLabels[i], static_cast<int>(i)).second) {
      repeated = nodeLabels[i];
      nodeRepeated = true;
      return false;
    }
  for (std::size_t c = 0; c < elementClasses.size(); ++c) {
    const std::vector<int>& labels = elementClasses[c].userElementLabels;
    for (std::size_t i = 0; i < labels.size(); ++i)
      if (!elementIndex_.emplace(labels[i], ElementRef{static_cast<int>(c), static_cast<int>(i)})
               .second) {
        repeated = labels[i];
        nodeRepeated = false;
        return false;
      }
  }
  return true;
}

int odiK_PartInstance::NodeIndex(int label) const {
  const auto it = nodeIndex_.find(label);
  return it == nodeIndex_.end() ? -1 : it->second;
}

odiK_PartInstance::ElementRef odiK_PartInstance::FindElement(int label) const {
  const auto it = elementIndex_.find(label);
  return it == elementIndex_.end() ? ElementRef{} : it->second;
}
