#include "omu_Deprecation.h"

#include <cstdio>

namespace {
omu_Deprecation::Sink& CurrentSink() {
  static omu_Deprecation::Sink sink = nullptr;
  return sink;
}
}  // namespace

void omu_Deprecation::SetSink(Sink sink) {
  CurrentSink() = sink;
}

void omu_Deprecation::Warn(const cow_String& text) {
  if (CurrentSink()) {
    CurrentSink()(text);
  } else {
    std::fprintf(stderr, "DeprecationWarning: %s\n", text.CStr());
  }
}

cow_String omu_Deprecation::Text(const char* name, const char* version, const char* replacement) {
  return cow_String("'") + name + "' is deprecated since version " + version + "; use '" +
         replacement + "' instead";
}
