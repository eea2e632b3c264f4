// The Python extension module xyp._xyp: the binding plus the XY-plot module's start-up and
// shut-down, and the application's session object.
#include <pybind11/pybind11.h>

#include "cmdC_WIP.h"
#include "pyb_Binding.h"
#include "pyb_CommandScope.h"
#include "pyb_Object.h"
#include "pyb_QueryHook.h"
#include "sesK_SessionIntObj.h"
#include "xypK_Module.h"
#include "xyp_ModelProbeClient.h"

namespace py = pybind11;

namespace {
int initializedModules = 0;
std::shared_ptr<sesK_SessionIntObj>& Session() {
  static auto* session = new std::shared_ptr<sesK_SessionIntObj>();  // lives with the process
  return *session;
}
}  // namespace

PYBIND11_MODULE(_xyp, m) {
  m.doc() = "The xyp application: XY plots and probing for finite-element results.";
  pyb_Binding::Register(m);
  m.def(
      "initialize",
      [] {
        xypK_initialize(initializedModules);
        xyp_ModelProbeClient::Register();  // results models can be probed too
        pyb_QueryHook::Listen();
      },
      "Starts the XY-plot module (nested calls count).");
  m.def(
      "finalize",
      [] {
        // Called while a command runs (from a signal handler its interruption check ran), the
        // shut-down waits until the command has returned: it still uses what would go.
        pyb_CommandScope::RunWhenIdle([] {
          xypK_finalize(initializedModules);
          if (!xypK_IsUp()) pyb_QueryHook::StopListening();
        });
      },
      "Shuts the XY-plot module down once every start-up has been matched; called while a "
      "command runs, when that command has returned.");
  m.def("set_query_hook", &pyb_QueryHook::Set,
        "Sets the callable that hears every fired query's name (None: nobody).");
  m.def("is_up", &xypK_IsUp);
  m.def("show_progress", &cmdC_WIP::ShowProgress,
        "Whether long operations write their percentage lines to sys.stderr (True at start).");
  m.def("session", [] {
    if (!Session()) Session() = std::make_shared<sesK_SessionIntObj>();
    return pyb_ObjectType::Wrap(Session());
  });
  m.def("modules", &pyb_Binding::PublishModules);
}
