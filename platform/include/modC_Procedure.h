#pragma once
// An interactive procedure of the mode framework: installed when its mode starts (a failing
// install raises and no mode is left running), it runs steps; it ends when told to or when its
// step terminates it. The mode manager owns the running procedure.
#include "mmgK_Procedure.h"
#include "modC_StepReceiver.h"
#include "omu_Primitive.h"

class modC_Step;

class modC_Procedure : public mmgK_Procedure, public modC_StepReceiver {
 public:
  cow_String Name() const override { return name_; }
  void SetName(const cow_String& name) { name_ = name; }

  void Install(const omu_Primitive* argument) { InstallHook(argument); }
  virtual void Suspend() {}
  virtual void Resume() {}

  void StepCancelled(const modC_Step& step) override { StepTerminatedHook(step); }
  // Ends the procedure (it goes once the call that ended it has returned).
  void Terminate() override;

 protected:
  virtual void InstallHook(const omu_Primitive* argument) = 0;
  virtual void StepTerminatedHook(const modC_Step& step) = 0;
  void ExecuteStep(modC_Step& step, bool first);

 private:
  cow_String name_;
};
