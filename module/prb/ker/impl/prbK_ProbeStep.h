#pragma once
// The probe step: while it runs, every cursor move in the viewport refreshes the current probe
// values, every first-button click appends them to the selected values, and the Probe Values
// dialog's commands (form "prbG_ProbeForm") change the options, write, clear, sort and undo.
// When the step ends, the value tables are emptied, highlights cleared and probing disabled.
#include <memory>

#include "cls_Uid.h"
#include "cow_1DArray.h"
#include "cow_String.h"
#include "ddr_Shortcut.h"
#include "g3d_Point.h"
#include "modC_CursorMethod.h"
#include "modC_FormMethod.h"
#include "modC_MethodReceiver.h"
#include "modC_Step.h"

class modC_StepReceiver;
class odiK_BaseInstance;
class odiK_Model;

class prbK_ProbeStep : public modC_Step, public modC_MethodReceiver {
 public:
  static constexpr const char* kForm = "prbG_ProbeForm";
  static constexpr int kCursorKind = 2;

  // A step over an XY plot, or over a results model.
  prbK_ProbeStep();
  explicit prbK_ProbeStep(const ddr_Shortcut<odiK_Model>& model);
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
  // The cells of the results-model entity last unmapped (instance, indices), by the probe
  // options; false for an internal node or element (its label cell says so) or nothing.
  bool PrepareODBValue(cow_1DArray<cow_String>& values);

 private:
  void FormCommand(const omu_PrimTuple& command);
  void StopMethods();
  bool IsOdb() const { return !model_.IsEmpty(); }
  // The cells of what lies at `id` under `point`, for either kind of step; false when there is
  // nothing to show or select.
  bool Prepare(cow_1DArray<cow_String>& values, int id, const g3d_Point& point);

  modC_StepReceiver* receiver_ = nullptr;
  std::unique_ptr<modC_CursorMethod> cursorMethod_;
  std::unique_ptr<modC_FormMethod> formMethod_;
  // The last entity unmapped from a results model: its instance and indices (-1 where absent).
  ddr_Shortcut<odiK_BaseInstance> instance_;
  cls_Uid instanceUid_;
  int elementClass_ = -1;
  int element_ = -1;
  int node_ = -1;
  // The results model probed (resolved at each use: its database may close); empty for a plot.
  ddr_Shortcut<odiK_Model> model_;
  int lastId_ = 0;
  // The tables' generation lastId_ was read in: after a re-initialisation (another entity,
  // field or options) the entity under the cursor is read again.
  unsigned lastGeneration_ = 0;
};
