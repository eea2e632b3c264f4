#pragma once
// A named set of a results model: node labels (NODE_SET) or element labels (ELEMENT_SET and
// SURFACE_SET) of one part instance. Internal sets are the solver's own and are not shown.
#include <vector>

#include "cow_String.h"
#include "res_Enumerations.h"

class odiK_Set {
 public:
  cow_String name;
  res_SetTypeEnm kind = res_NODE_SET;
  int instance = 0;  // index into the model's instances
  bool internal = false;
  std::vector<int> labels;

  res_SetTypeEnm setType() const { return kind; }
  bool internalSet() const { return internal; }
};
