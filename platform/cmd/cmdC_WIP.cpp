#include "cmdC_WIP.h"

#include <unistd.h>

#include "cmdC_InterruptedException.h"

namespace {
cmdC_WIP::InterruptCheck& CurrentCheck() {
  static cmdC_WIP::InterruptCheck check = nullptr;
  return check;
}
cmdC_WIP::Listener& CurrentListener() {
  static cmdC_WIP::Listener listener = nullptr;
  return listener;
}
}  // namespace

cmdC_WIP::cmdC_WIP() : stream_(stderr) {}

cmdC_WIP::~cmdC_WIP() {
  EndProgress();
}

void cmdC_WIP::SetInterruptCheck(InterruptCheck check) {
  CurrentCheck() = check;
}
void cmdC_WIP::SetListener(Listener listener) {
  CurrentListener() = listener;
}

bool cmdC_WIP::Interrupted() {
  return CurrentCheck() && CurrentCheck()();
}

void cmdC_WIP::EndProgress() {
  if (!progressOpen_) return;
  std::fputc('\n', stream_);
  std::fflush(stream_);
  progressOpen_ = false;
  lastPercent_ = -1;
}

void cmdC_WIP::Line(const char* kind, const cow_String& text) {
  EndProgress();
  if (*kind)
    std::fprintf(stream_, "%s: %s\n", kind, text.CStr());
  else
    std::fprintf(stream_, "%s\n", text.CStr());
  std::fflush(stream_);
  if (CurrentListener()) CurrentListener()(kind, text);
}

void cmdC_WIP::Message(const cow_String& text) {
  Line("", text);
}
void cmdC_WIP::Warning(const cow_String& text) {
  Line("Warning", text);
}
void cmdC_WIP::Error(const cow_String& text) {
  Line("Error", text);
}
void cmdC_WIP::Landmark(const cow_String& text) {
  if (!text.IsEmpty()) Line("", text);
}
void cmdC_WIP::Milestone(const cow_String& text) {
  Line("", text);
}

void cmdC_WIP::Milestone(const cow_String& text, int percent) {
  if (CurrentListener())
    CurrentListener()("Milestone", text + " " + cow_String::FromInt(percent) + "%");
  if (!isatty(fileno(stream_))) {
    // Off a terminal a progress line per step would flood logs: only the start and the end.
    if (percent <= 0 || percent >= 100) {
      std::fprintf(stream_, "%s %d%%\n", text.CStr(), percent);
      std::fflush(stream_);
    }
    return;
  }
  if (progressOpen_ && percent == lastPercent_ && text == progressText_) return;
  std::fprintf(stream_, "\r%s %3d%%", text.CStr(), percent);
  std::fflush(stream_);
  progressOpen_ = true;
  progressText_ = text;
  lastPercent_ = percent;
  if (percent >= 100) EndProgress();
}

void cmdC_WIP::InterruptedThrow() {
  if (Interrupted()) {
    EndProgress();
    throw cmdC_InterruptedException();
  }
}
