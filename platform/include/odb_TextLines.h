#pragma once
// A text file read line by line in large blocks, never whole: each line with its 1-based number,
// without its line end ("\n" or "\r\n"). Every few megabytes it shows a milestone with the share
// of the file read and asks the work-in-progress reporter whether the user interrupted
// (cmdC_InterruptedException). Errors name the file and the line: "<path>: line <n>: <reason>".
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "cow_String.h"

class odb_TextLines {
 public:
  // Opens the file (odb_OdbException naming it when it cannot be read). `what` names the job's
  // part in milestones ("Reading beam.frd").
  odb_TextLines(const cow_String& path, const cow_String& what);
  ~odb_TextLines();
  odb_TextLines(const odb_TextLines&) = delete;
  odb_TextLines& operator=(const odb_TextLines&) = delete;

  // The next line; false at the end of the file. The view lasts until the next call.
  bool Next(std::string_view& line);
  // Puts the line just read back: the next Next returns it again.
  void Unread() {
    unread_ = true;
    --line_;
  }
  std::int64_t LineNumber() const { return line_; }
  // False when the file ended inside the last line read (no line end after it).
  bool LastLineEnded() const { return lastEnded_; }
  const cow_String& Path() const { return path_; }
  // Raises odb_OdbException naming the file and the current line.
  [[noreturn]] void Fail(const std::string& reason) const;
  // One warning line naming the file and the current line: "<path>: line <n>: <what>".
  void Warn(const std::string& what) const;

 private:
  bool Fill();

  cow_String path_;
  cow_String what_;
  std::FILE* file_ = nullptr;
  std::int64_t size_ = 0;
  std::int64_t read_ = 0;  // bytes taken from the file so far
  std::int64_t nextReport_ = 0;
  std::string buffer_;
  std::size_t start_ = 0;  // where the next line begins in buffer_
  std::string current_;   // a line that crossed a block boundary
  std::string_view last_;
  bool unread_ = false;
  bool atEnd_ = false;
  bool lastEnded_ = true;
  std::int64_t line_ = 0;
};
