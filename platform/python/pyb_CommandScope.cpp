#include "pyb_CommandScope.h"

#include <exception>

#include "omu_ScriptingGate.h"
#include "pyb_Errors.h"

namespace {
struct State {
  int depth = 0;
  bool inSignalHandler = false;
  std::function<void()> deferred;
  // The exception a signal handler raised while a command ran (type, value, traceback).
  PyObject* pending[3] = {nullptr, nullptr, nullptr};
};

State& Current() {
  static State* state = new State();  // lives with the process
  return *state;
}

void DropPending() {
  State& s = Current();
  for (PyObject*& p : s.pending) Py_CLEAR(p);
}

[[noreturn]] void RaiseError(const char* text) {
  PyErr_SetString(pyb_Errors::Error().ptr(), text);
  throw py::error_already_set();
}
}  // namespace

pyb_CommandScope::pyb_CommandScope() {
  State& s = Current();
  if (s.inSignalHandler)
    RaiseError(
        "xyp is busy: a command is running; a signal handler may only call xyp.shutdown(), "
        "which waits until the command ends");
  if (!omu_ScriptingGate::IsOpen())
    RaiseError("the xyp module has been shut down; its objects can no longer be used");
  if (s.depth == 0) DropPending();
  ++s.depth;
}

pyb_CommandScope::~pyb_CommandScope() {
  State& s = Current();
  if (--s.depth > 0 || !s.deferred) return;
  std::function<void()> shutDown = std::move(s.deferred);
  s.deferred = nullptr;
  // The command's own error (if any) is on its way: keep it while shutting down.
  PyObject *type, *value, *traceback;
  PyErr_Fetch(&type, &value, &traceback);
  try {
    shutDown();
  } catch (py::error_already_set& e) {
    e.discard_as_unraisable("xyp deferred shutdown");
  } catch (const std::exception&) {
  }
  PyErr_Restore(type, value, traceback);
}

bool pyb_CommandScope::Busy() {
  return Current().depth > 0;
}

void pyb_CommandScope::RunWhenIdle(std::function<void()> shutDown) {
  if (!Busy()) {
    shutDown();
    return;
  }
  Current().deferred = std::move(shutDown);
}

bool pyb_CommandScope::CheckSignals() {
  State& s = Current();
  if (s.inSignalHandler) return false;
  s.inSignalHandler = true;
  const int raised = PyErr_CheckSignals();
  s.inSignalHandler = false;
  if (raised == 0) return false;
  if (PyErr_ExceptionMatches(PyExc_KeyboardInterrupt)) {
    PyErr_Clear();
    return true;
  }
  // A handler's own exception (SystemExit, TimeoutError, ...) stops the command and reaches the
  // script as it was raised.
  DropPending();
  PyErr_Fetch(&s.pending[0], &s.pending[1], &s.pending[2]);
  return true;
}

bool pyb_CommandScope::RestorePending() {
  State& s = Current();
  if (!s.pending[0]) return false;
  PyErr_Restore(s.pending[0], s.pending[1], s.pending[2]);
  s.pending[0] = s.pending[1] = s.pending[2] = nullptr;
  return true;
}
