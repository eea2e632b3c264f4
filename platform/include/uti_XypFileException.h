#pragma once
// A catalogue error of the XY-plot side raised while reading a file, with where it arose: the
// file, and the line number and text of the line to blame (0 and no text when no one line is).
// Scripts see it as xyp.XyPlotError with the same message, code and details, and the place as
// its filename, lineno and text.
#include <cstdint>
#include <utility>

#include "uti_XypException.h"

class uti_XypFileException : public uti_XypException {
 public:
  uti_XypFileException(const uti_XypException& error, cow_String fileName, std::uint64_t line,
                       cow_String text)
      : uti_XypException(error),
        fileName_(std::move(fileName)),
        line_(line),
        text_(std::move(text)) {}
  const cow_String& FileName() const { return fileName_; }
  // 1-based; 0 when no one line is to blame.
  std::uint64_t LineNumber() const { return line_; }
  const cow_String& Text() const { return text_; }

 private:
  cow_String fileName_;
  std::uint64_t line_;
  cow_String text_;
};
