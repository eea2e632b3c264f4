#pragma once
// The running mode: at most one procedure, made by the mode factory of a module and installed
// on a viewport. Entering a mode ends the running one first; a procedure that ends (left, or
// terminated by its step) is destroyed once the call that ended it has returned.
#include <memory>

#include "cow_String.h"
#include "modC_Procedure.h"

class modC_ModeManager {
 public:
  static modC_ModeManager& Instance();
  static void Finalize();
  static bool Exists();
  ~modC_ModeManager();

  // Starts the procedure `name` of the factory `factory` on `viewport`; raises what its install
  // raised (and no mode runs then).
  void Enter(const cow_String& factory, const cow_String& name, int viewport);
  // Ends the running mode; nothing when none runs.
  void Leave();
  // Ends the mode when it runs on `viewport`.
  void LeaveViewport(int viewport);
  void Suspend();
  void Resume();

  // Null when no mode runs.
  modC_Procedure* Running() const { return running_.get(); }
  int Viewport() const { return viewport_; }
  // Called by a procedure that terminates.
  void Ended(modC_Procedure& procedure);

 private:
  void Collect();

  std::unique_ptr<modC_Procedure> running_;
  std::unique_ptr<modC_Procedure> ended_;  // kept until the call that ended it has returned
  int viewport_ = 0;
};
