#pragma once
// The model of a results database ("Default Model"): its part instances and sets, and the file it
// was read from.
#include <vector>

#include "cow_String.h"
#include "odiK_PartInstance.h"
#include "odiK_Set.h"

class odiK_Model {
 public:
  static constexpr const char* kDefaultName = "Default Model";

  cow_String fileName;
  std::vector<odiK_PartInstance> instances;
  std::vector<odiK_Set> sets;

  const cow_String& FileName() const { return fileName; }
  int NumInstances() const { return static_cast<int>(instances.size()); }
  // -1 when there is no instance or set of that name.
  int InstanceIndex(const cow_String& name) const;
  int SetIndex(const cow_String& name) const;
};
