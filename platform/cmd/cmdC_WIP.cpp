#include "cmdC_WIP.h"

#include <unistd.h>

#include <string>

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
struct Output {
  cmdC_WIP::Writer writer = nullptr;
  cmdC_WIP::TerminalCheck isTerminal = nullptr;
};
Output& CurrentOutput() {
  static Output output;
  return output;
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
void cmdC_WIP::SetWriter(Writer writer, TerminalCheck isTerminal) {
  CurrentOutput() = Output{writer, isTerminal};
}

bool cmdC_WIP::Interrupted() {
  return CurrentCheck() && CurrentCheck()();
}

void cmdC_WIP::Write(std::string_view text) {
  if (const Writer writer = CurrentOutput().writer) {
    writer(text);
    return;
  }
  std::fwrite(text.data(), 1, text.size(), stream_);
  std::fflush(stream_);
}

bool cmdC_WIP::OnTerminal() const {
  if (CurrentOutput().writer) return CurrentOutput().isTerminal && CurrentOutput().isTerminal();
  return isatty(fileno(stream_)) == 1;
}

void cmdC_WIP::EndProgress() {
  progressText_ = cow_String();
  lastPercent_ = -1;
  if (!progressOpen_) return;
  progressOpen_ = false;
  Write("\n");
}

void cmdC_WIP::Line(const char* kind, const cow_String& text) {
  EndProgress();
  std::string line;
  if (*kind) {
    line += kind;
    line += ": ";
  }
  line += text.View();
  line += '\n';
  Write(line);
  if (CurrentListener()) CurrentListener()(kind, text);
}

namespace {
bool progressShown = true;
}

void cmdC_WIP::Message(const cow_String& text) {
  if (!progressShown) {  // what an operation is doing; its warnings and errors still show
    if (CurrentListener()) CurrentListener()("", text);
    return;
  }
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
  Message(text);
}

void cmdC_WIP::ShowProgress(bool shown) {
  progressShown = shown;
}

void cmdC_WIP::Milestone(const cow_String& text, int percent) {
  if (CurrentListener())
    CurrentListener()("Milestone", text + " " + cow_String::FromInt(percent) + "%");
  if (!progressShown) return;
  const bool sameOperation = lastPercent_ >= 0 && text == progressText_;
  if (sameOperation && percent == lastPercent_) return;
  std::string line;
  if (!OnTerminal()) {
    // Off a terminal (a log, a notebook) a line per step would flood it: whole lines for the
    // first step shown of an operation and for its end only.
    progressText_ = text;
    lastPercent_ = percent;
    if (sameOperation && percent < 100) return;
    line += text.View();
    line += ' ';
    line += std::to_string(percent);
    line += "%\n";
    Write(line);
    if (percent >= 100) EndProgress();
    return;
  }
  char number[16];
  std::snprintf(number, sizeof number, " %3d%%", percent);
  line += '\r';
  line += text.View();
  line += number;
  Write(line);
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
