#include "omu_Signature.h"

#include <cstring>

std::vector<const omu_Parameter*> omu_Signature::All() const {
  std::vector<const omu_Parameter*> all;
  for (const omu_Parameter* table : {parameters, more})
    for (const omu_Parameter* p = table; p && p->keyword; ++p) all.push_back(p);
  return all;
}

const omu_Parameter* omu_Signature::Find(const char* keyword) const {
  // Read for every keyword of every call: walks the tables without building a list.
  for (const omu_Parameter* table : {parameters, more})
    for (const omu_Parameter* p = table; p && p->keyword; ++p)
      if (std::strcmp(p->keyword, keyword) == 0) return p;
  return nullptr;
}
