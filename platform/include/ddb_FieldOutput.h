#pragma once
// One field output of a frame: a variable at the nodes or elements of one part instance, with one
// value per label or one per integration point, face or element node. Labels left out have no
// value. Values are read on demand (odb_Odb::ReadField).
#include <cstdint>
#include <string>

#include "cow_String.h"
#include "res_Enumerations.h"

class ddb_FieldOutput {
 public:
  cow_String label;
  cow_String description;
  res_OutputPositionEnm position = res_NODAL;
  int instance = 0;
  std::int64_t count = 0;    // labels
  int valuesPerLabel = 1;    // 1, or one per integration point, face or element node
  std::string path;          // the field's group
};
