#pragma once
// One class of elements of a part instance: elements of one type and node count, with their user
// labels, their connectivity (user node labels, element by element) and the labels of their
// section points.
#include <cstddef>
#include <vector>

#include "cow_String.h"
#include "res_Enumerations.h"

class bme_ElementClass {
 public:
  cow_String typeName;  // a free name: "QUAD4", "Q4", "BAR2"
  res_ElementShapeEnm shape = res_QUAD;
  int nodesPerElement = 0;
  std::vector<cow_String> sectionPointLabels;  // "1, bottom", ...
  std::vector<int> userElementLabels;
  std::vector<int> connectivity;  // nodesPerElement user node labels per element

  int NumNodesPerElem() const { return nodesPerElement; }
  std::size_t Size() const { return userElementLabels.size(); }
  const cow_String& SectionPointLabel(std::size_t index) const { return sectionPointLabels[index]; }
  // The user node labels of element `index`.
  const int* Nodes(std::size_t index) const {
    return connectivity.data() + index * static_cast<std::size_t>(nodesPerElement);
  }

  // The shape an element of `nodes` nodes has when none is named: 2 line, 3 triangle, 4 quad,
  // 6 wedge, 8 hex; false for other counts.
  static bool DefaultShape(int nodes, res_ElementShapeEnm& shape);
};
