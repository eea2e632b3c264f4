#include "omu_Signature.h"

#include <cstring>

const omu_Parameter* omu_Signature::Find(const char* keyword) const {
  for (const omu_Parameter* p = parameters; p && p->keyword; ++p)
    if (std::strcmp(p->keyword, keyword) == 0) return p;
  return nullptr;
}

std::size_t omu_Signature::Count() const {
  std::size_t n = 0;
  for (const omu_Parameter* p = parameters; p && p->keyword; ++p) ++n;
  return n;
}
