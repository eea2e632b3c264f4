#include "pyb_QueryHook.h"

#include "pyb_Convert.h"
#include "qryK_QueryRegistrarRole.h"

namespace {
// Held unowned by static storage so that it is never destroyed after the interpreter is gone;
// StopListening releases it while the interpreter is still up.
py::object*& Hook() {
  static py::object* hook = nullptr;
  return hook;
}
int& ListenerKey() {
  static int key = 0;
  return key;
}

// A callback that raises must not replace the error the command is about to raise, nor stop the
// other listeners: its exception is reported the way Python reports unraisable ones.
void CallHook(const cow_String& query) {
  py::object* hook = Hook();
  if (!hook || hook->is_none()) return;
  py::gil_scoped_acquire gil;
  try {
    (*hook)(pyb_Convert::Text(query.View()));  // names in queries need not be UTF-8
  } catch (py::error_already_set& e) {
    e.discard_as_unraisable("xyp query callback");
  }
}
}  // namespace

void pyb_QueryHook::Set(py::object hook) {
  if (!Hook()) Hook() = new py::object();
  *Hook() = std::move(hook);
}

void pyb_QueryHook::Listen() {
  if (ListenerKey() != 0) return;
  ListenerKey() = qryK_QueryRegistrarRole::Instance().AddListener(&CallHook);
}

void pyb_QueryHook::StopListening() {
  // The registrar may already be gone with the application; its listeners went with it.
  if (ListenerKey() != 0 && qryK_QueryRegistrarRole::Exists())
    qryK_QueryRegistrarRole::Instance().RemoveListener(ListenerKey());
  ListenerKey() = 0;
  delete Hook();
  Hook() = nullptr;
}
