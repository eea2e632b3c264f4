#pragma once
// The work-in-progress reporter: messages, warnings and milestones go to standard error (or to
// the writer the scripting layer installs), one line each; a milestone with a percentage redraws
// one progress line when that is a terminal, and elsewhere writes whole lines only. Long
// operations ask it whether the user interrupted them.
#include <cstdio>
#include <string_view>

#include "cmdC_MessageType.h"
#include "cow_String.h"

class cmdC_WIP {
 public:
  using InterruptCheck = bool (*)();
  using Listener = void (*)(const char* kind, const cow_String& text);
  // Takes a piece of the output (whole lines, or a progress line's redraw).
  using Writer = void (*)(std::string_view text);
  using TerminalCheck = bool (*)();

  cmdC_WIP();
  ~cmdC_WIP();

  void Message(const cow_String& text);
  void Warning(const cow_String& text);
  void Warning(const cmdC_MessageType& message) { Warning(message.Text()); }
  void Error(const cow_String& text);
  // A line that marks a point reached (one message line; nothing for an empty text).
  void Landmark(const cow_String& text);
  void Milestone(const cow_String& text);
  void Milestone(const cow_String& text, int percent);
  // Ends a progress line left open on a terminal.
  void EndProgress();

  // True when the user asked to stop the operation in progress (the binding installs the check).
  bool Interrupted();
  // Raises cmdC_InterruptedException when the user asked to stop.
  void InterruptedThrow();
  static void SetInterruptCheck(InterruptCheck check);
  // Receives every line as well (tests, the application's own log).
  static void SetListener(Listener listener);
  // Where lines are written; standard error unless set.
  void SetStream(std::FILE* stream) { stream_ = stream; }
  // Sends all output to `writer` instead of the stream; `isTerminal` tells whether the progress
  // line may be redrawn in place. Null for both returns to the stream.
  static void SetWriter(Writer writer, TerminalCheck isTerminal);
  // Whether percentage milestones and plain messages are written (warnings and errors always
  // are; listeners hear everything): off in batch workers, whose hundreds of reads would flood
  // the caller's terminal.
  static void ShowProgress(bool shown);

 private:
  void Line(const char* kind, const cow_String& text);
  void Write(std::string_view text);
  bool OnTerminal() const;
  std::FILE* stream_;
  bool progressOpen_ = false;
  cow_String progressText_;
  int lastPercent_ = -1;
};
