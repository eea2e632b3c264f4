#pragma once
// Base of the fragments that modules add to viewport layer objects.
#include "omu_Fragment.h"
#include "sesK_LayerIntObj.h"

class sesK_LayerFragment : public omu_Fragment<sesK_LayerIntObj> {
 protected:
  sesK_LayerFragment() = default;
  sesK_LayerFragment(const sesK_LayerFragment&) = default;
};
