#pragma once
// A way a mode takes input (the cursor in a viewport, a dialog form). It reports to its receiver
// only while started and not suspended; the method factory knows every live method, so that the
// application can hand input to the active one.
#include "modC_MethodReceiver.h"

class modC_Method {
 public:
  explicit modC_Method(modC_MethodReceiver& receiver);
  virtual ~modC_Method();
  modC_Method(const modC_Method&) = delete;
  modC_Method& operator=(const modC_Method&) = delete;

  void Start() {
    running_ = true;
    suspended_ = false;
  }
  void Stop() { running_ = false; }
  void Suspend() { suspended_ = true; }
  void Resume() { suspended_ = false; }
  bool IsActive() const { return running_ && !suspended_; }

 protected:
  modC_MethodReceiver& receiver_;

 private:
  bool running_ = false;
  bool suspended_ = false;
};
