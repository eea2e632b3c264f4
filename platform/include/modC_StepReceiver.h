#pragma once
// Who runs a step: told when the step was cancelled, and able to end itself.
class modC_Step;

class modC_StepReceiver {
 public:
  virtual ~modC_StepReceiver() = default;
  virtual void StepCancelled(const modC_Step& step) = 0;
  virtual void Terminate() = 0;
};
