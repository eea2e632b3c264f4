#pragma once
// An interactive procedure (a mode of picking in a viewport) that a mode factory makes by name.
#include "cow_String.h"

class mmgK_Procedure {
 public:
  virtual ~mmgK_Procedure() = default;
  virtual cow_String Name() const = 0;
};
