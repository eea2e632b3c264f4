#pragma once
// Marks a call from Python into the application. While one runs, the application's objects are in
// use: a shut-down asked for meanwhile (say, by a signal handler that the command's interruption
// check ran) waits until the outermost call has returned, and other calls from such a handler are
// refused, since they would change what the running command is working on.
#include <pybind11/pybind11.h>

#include <functional>

namespace py = pybind11;

class pyb_CommandScope {
 public:
  // Raises xyp.Error when the application has been shut down, or when called from a signal
  // handler while a command runs.
  pyb_CommandScope();
  // The outermost scope runs a deferred shut-down.
  ~pyb_CommandScope();
  pyb_CommandScope(const pyb_CommandScope&) = delete;
  pyb_CommandScope& operator=(const pyb_CommandScope&) = delete;

  static bool Busy();
  // Runs `shutDown` now, or when the running command ends.
  static void RunWhenIdle(std::function<void()> shutDown);

  // The interruption check of long operations: runs Python's signal handlers, which are not
  // allowed to call the application meanwhile. A KeyboardInterrupt is taken as the interruption;
  // any other exception a handler raised is kept and becomes the command's error (RestorePending).
  static bool CheckSignals();
  // Restores the exception a signal handler raised during the interrupted command; false if none.
  static bool RestorePending();
};
