#pragma once
// The probe step: while it runs, every cursor move in the viewport refreshes the current probe
// values, every first-button click appends them to the selected values, and the Probe Values
// dialog's commands (form "prbG_ProbeForm") change the options, write, clear, sort and undo.
// When the step ends, the value tables are emptied, highlights cleared and probing disabled.
#include <memory>

#include "cow_1DArray.h"
#include "cow_String.h"
#include "g3d_Point.h"
#include "modC_CursorMethod.h"
#include "modC_FormMethod.h"
#include "modC_MethodReceiver.h"
#include "modC_Step.h"

class modC_StepReceiver;

class prbK_ProbeStep : public modC_Step, public modC_MethodReceiver {
 public:
  static constexpr const char* kForm = "prbG_ProbeForm";
  static constexpr int kCursorKind = 2;

  prbK_ProbeStep();
  ~prbK_ProbeStep() override;

  void DirectManipulation(DirectManipReason reason, modC_Method& method) override;
  void ValueChanged(modC_Method& method) override;
  void Done(modC_Method&) override {}
  void Execute(modC_MethodFactory& factory, modC_StepReceiver& receiver) override;
  void Cancel() override;
  void Suspend() override;
  void Resume() override;

  // The XY values of the item `id` at the point (the toolset's).
  bool PrepareValue(cow_1DArray<cow_String>& values, int id, const g3d_Point& point);

 private:
  void FormCommand(const omu_PrimTuple& command);
  void StopMethods();

  modC_StepReceiver* receiver_ = nullptr;
  std::unique_ptr<modC_CursorMethod> cursorMethod_;
  std::unique_ptr<modC_FormMethod> formMethod_;
  int lastId_ = 0;
};
