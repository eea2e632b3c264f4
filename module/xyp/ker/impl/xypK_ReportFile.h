#pragma once
// The file an XY report goes to, written so that a report that does not finish (interrupted, a
// failed write) leaves the file as it was. A new report is written to a temporary file beside the
// target and renamed over it when complete; an appended report is written at the file's end and
// cut off again when it does not finish (appending to no file writes a new one). A symbolic link is
// written through (the link stays a link). Where a temporary file cannot stand in for the target (a
// target that is not a regular file, has several names or another owner, or a folder that takes no
// new file), a new report is written into the file directly, as before.
#include <cstdint>
#include <cstdio>
#include <string>

#include "cow_String.h"

class xypK_ReportFile {
 public:
  xypK_ReportFile() = default;
  ~xypK_ReportFile();  // discards what was written unless committed
  xypK_ReportFile(const xypK_ReportFile&) = delete;
  xypK_ReportFile& operator=(const xypK_ReportFile&) = delete;

  // Opens `path` for a report appended to it or replacing it; false (errno set) when it cannot be
  // opened. Writes through Stream() go straight to the file (no stdio buffer).
  bool Open(const cow_String& path, bool append);
  std::FILE* Stream() const { return stream_; }
  // Makes what was written the file's content. Raises uti_FileException (the file left as it
  // was) when it cannot be written.
  void Commit();
  // Leaves the file as it was before Open; nothing written stays.
  void Discard();

  // True when a new report goes through a temporary file (tests).
  bool Replaces() const { return !temporary_.empty(); }

 private:
  [[noreturn]] void Fail(int error);

  cow_String path_;
  std::string target_;     // the file renamed over (the link's target for a link)
  std::string temporary_;  // the new report's file while it is written
  std::FILE* stream_ = nullptr;
  bool append_ = false;
  bool truncatable_ = false;  // an appended report can be cut off at oldSize_
  std::int64_t oldSize_ = 0;
};
