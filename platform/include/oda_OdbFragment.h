#pragma once
// Base of the fragments that modules add to the "Odb" scripting object (the XY module's
// "historyVariables"). The odb object tells its fragments which database they serve before each
// use.
#include <cstdint>

#include "oda_OdbIntObj.h"
#include "omu_Fragment.h"

class oda_OdbFragment : public omu_Fragment<oda_OdbIntObj> {
 public:
  void AttachTo(const cow_String& realPath, std::uint64_t generation) {
    path_ = realPath;
    generation_ = generation;
  }
  const cow_String& RealPath() const { return path_; }
  std::uint64_t Generation() const { return generation_; }

 protected:
  oda_OdbFragment() = default;
  oda_OdbFragment(const oda_OdbFragment&) = default;

 private:
  cow_String path_;
  std::uint64_t generation_ = 0;
};
