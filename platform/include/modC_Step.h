#pragma once
// A step of a mode's procedure: it makes and runs its methods until it ends, and the framework
// suspends and resumes it when another mode comes in front.
#include "cow_String.h"

class modC_MethodFactory;
class modC_StepReceiver;

class modC_Step {
 public:
  virtual ~modC_Step() = default;
  virtual void Execute(modC_MethodFactory& factory, modC_StepReceiver& receiver) = 0;
  virtual void Cancel() = 0;
  virtual void Suspend() = 0;
  virtual void Resume() = 0;

  void SetPrompt(const cow_String& prompt) { prompt_ = prompt; }
  const cow_String& Prompt() const { return prompt_; }

 private:
  cow_String prompt_;
};
