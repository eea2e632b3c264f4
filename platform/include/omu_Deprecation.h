#pragma once
// Where deprecation warnings go. The binding installs a sink that raises the script language's
// own deprecation warning; without one they are printed on standard error.
#include "cow_String.h"

class omu_Deprecation {
 public:
  using Sink = void (*)(const cow_String& text);
  static void SetSink(Sink sink);
  static void Warn(const cow_String& text);
  // "'xyData' is deprecated since version 6.2; use 'objectToCopy' instead"
  static cow_String Text(const char* name, const char* version, const char* replacement);
};
