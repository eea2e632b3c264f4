#pragma once
// A part instance of a results model: its name, its labelled nodes with their coordinates and its
// element classes. Labels are user labels (negative ones are internal); lookups by label are
// built once the instance is complete (Index).
#include <cstddef>
#include <unordered_map>
#include <vector>

#include "bme_ElementClass.h"
#include "cow_String.h"
#include "odiK_BaseInstance.h"

class odiK_PartInstance : public odiK_BaseInstance {
 public:
  struct ElementRef {
    int elementClass = -1;  // index into elementClasses, -1 when no such element
    int element = -1;       // index within that class
  };

  std::vector<int> nodeLabels;
  std::vector<double> coordinates;  // x, y, z per node
  std::vector<bme_ElementClass> elementClasses;

  std::size_t NumNodes() const { return nodeLabels.size(); }
  int GetUserNodeLabel(std::size_t index) const { return nodeLabels[index]; }

  // Builds the label lookups; false (and the first repeated label in `repeated`) when a node or
  // element label is given twice.
  bool Index(int& repeated, bool& nodeRepeated);
  // -1 when the instance has no node of that label.
  int NodeIndex(int label) const;
  ElementRef FindElement(int label) const;

 private:
  std::unordered_map<int, int> nodeIndex_;
  std::unordered_map<int, ElementRef> elementIndex_;
};
