#pragma once
// One history output of a step: a variable (label and description) at a point of the model, its
// storage (float or double, real or complex pairs, components) and where its values and x values
// are in the file. What it refers to is checked when the file opens: instance, node, element,
// section point and set indices below are valid for the database's model.
#include <cstdint>
#include <string>

#include "cow_String.h"
#include "res_Enumerations.h"

class ddb_History {
 public:
  cow_String variableLabel;        // "U2"
  cow_String variableDescription;  // "Spatial displacement"
  res_OutputPositionEnm position = res_NODAL;
  int instance = -1;          // part instance index; -1 for none (the assembly)
  int node = 0;               // user node label (NODAL, ELEMENT_NODAL)
  int element = 0;            // user element label (INTEGRATION_POINT ... WHOLE_ELEMENT)
  int integrationPoint = 0;   // 1-based (INTEGRATION_POINT)
  int sectionPoint = -1;      // 0-based index into the element class's section points, -1 none
  int face = 0;               // 1-based (ELEMENT_FACE)
  int set = -1;               // index into the model's sets, -1 none
  bool isDouble = false;      // values stored as float64, else float32
  bool isPair = false;        // complex: (real, imaginary) per value
  int components = 1;
  std::int64_t count = 0;     // values per component
  std::string values;         // path of the values dataset
  std::string x;              // path of the x values dataset (may be shorter than count)

  // Resolved when the file opens, for the labels of the history lists.
  int nodeNumber = -1;     // index of `node` in the instance's nodes
  int elementClass = -1;   // class of `element` in the instance
  int elementNumber = -1;  // index of `element` in that class

  // The integration point as stored in the results library: 0-based.
  int IntegrationPointIndex() const { return integrationPoint - 1; }
};
