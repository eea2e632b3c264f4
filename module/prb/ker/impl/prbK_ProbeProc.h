#pragma once
// The probe procedure: installed on the current viewport, it makes the probe toolset's client
// for what the viewport shows current ("Current display object cannot be probed" when nothing
// there can be probed), enables probing and runs one probe step until the mode ends.
#include <memory>

#include "modC_Procedure.h"

class prbK_ProbeStep;

class prbK_ProbeProc : public modC_Procedure {
 public:
  prbK_ProbeProc();
  ~prbK_ProbeProc() override;
  void Suspend() override;
  void Resume() override;
  int DisplayType() const { return displayType_; }

 protected:
  void InstallHook(const omu_Primitive* argument) override;
  void StepTerminatedHook(const modC_Step& step) override;

 private:
  int displayType_ = 0;
  std::unique_ptr<prbK_ProbeStep> step_;
};
