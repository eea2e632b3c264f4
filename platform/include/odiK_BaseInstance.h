#pragma once
// An instance of a results model, as probing names it: its name. Part instances derive from it
// (odiK_PartInstance); a probed entity's instance is always one.
#include "cow_String.h"

class odiK_BaseInstance {
 public:
  virtual ~odiK_BaseInstance() = default;
  cow_String name;

 protected:
  odiK_BaseInstance() = default;
  odiK_BaseInstance(const odiK_BaseInstance&) = default;
  odiK_BaseInstance& operator=(const odiK_BaseInstance&) = default;
  odiK_BaseInstance(odiK_BaseInstance&&) = default;
  odiK_BaseInstance& operator=(odiK_BaseInstance&&) = default;
};
