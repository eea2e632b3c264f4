#pragma once
// Base of the fragments that modules add to the session object.
#include "omu_Fragment.h"
#include "sesK_SessionIntObj.h"

class sesK_SessionFragment : public omu_Fragment<sesK_SessionIntObj> {
 protected:
  sesK_SessionFragment() = default;
  sesK_SessionFragment(const sesK_SessionFragment&) = default;
};
