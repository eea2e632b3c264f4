#pragma once
// Whether the module behind the scripting objects is up. A script may keep objects past the
// module's shut-down; the binding asks the gate before every call so that such an object raises a
// clear error instead of reaching objects that no longer exist.
class omu_ScriptingGate {
 public:
  static bool IsOpen() { return Open(); }
  static void SetOpen(bool open) { Open() = open; }

 private:
  static bool& Open() {
    static bool open = false;
    return open;
  }
};
