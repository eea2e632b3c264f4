#pragma once
// A message of the message library: its text and whether it is a warning or plain information.
#include "cow_String.h"

class cmdC_MessageType {
 public:
  enum class Severity { Info, Warning, Error };
  cmdC_MessageType(cow_String text, Severity severity)
      : text_(std::move(text)), severity_(severity) {}
  const cow_String& Text() const { return text_; }
  Severity GetSeverity() const { return severity_; }

 private:
  cow_String text_;
  Severity severity_;
};
