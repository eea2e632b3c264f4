#include "odiK_Model.h"

int odiK_Model::InstanceIndex(const cow_String& name) const {
  for (std::size_t i = 0; i < instances.size(); ++i)
    if (instances[i].name == name) return static_cast<int>(i);
  return -1;
}

int odiK_Model::SetIndex(const cow_String& name) const {
  for (std::size_t i = 0; i < sets.size(); ++i)
    if (sets[i].name == name) return static_cast<int>(i);
  return -1;
}
