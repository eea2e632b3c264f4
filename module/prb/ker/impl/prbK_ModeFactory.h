#pragma once
// The probe side's mode factory, registered as "prb": it makes the probe procedure.
#include "mmgK_ModeFactory.h"

class prbK_ModeFactory : public mmgK_ModeFactory {
 public:
  static constexpr const char* kName = "prb";
  static constexpr const char* kProbeProc = "prbK_ProbeProc";
  prbK_ModeFactory();
  ~prbK_ModeFactory() override;
  // A probe procedure for kProbeProc; null for any other name.
  std::unique_ptr<mmgK_Procedure> MakeProcedure(const cow_String& name) override;
};
