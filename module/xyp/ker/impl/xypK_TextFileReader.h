#pragma once
// Lines of a text file, read in large blocks with no copy per line. A line is handed out without
// its line end; "\r" just before "\n" belongs to the line end, so CRLF files read like LF files.
// Lines of any length are read whole, unless a line check (SetLineCheck) says how much of a line
// that outgrows the buffer is needed: memory then stays bounded by what the caller keeps.
// Before every block it reads, the reader asks the work-in-progress reporter whether the user
// interrupted (cmdC_InterruptedException), so a long line cannot hide Ctrl-C. The file is closed
// when the reader goes.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "cow_String.h"

class xypK_TextFileReader {
 public:
  static constexpr std::size_t kBlockSize = std::size_t{1} << 20;

  // How much of a line that fills the buffer is kept. `bytes` leading bytes stay; with
  // `restNeeded` false the rest of the line, up to its line end, is skipped unread and the line
  // is handed out as those bytes; with `restNeeded` true the bytes after `bytes` are dropped and
  // the line goes on (a check that has shortened the text to an equivalent one).
  struct Keep {
    std::size_t bytes;
    bool restNeeded;
  };
  // Called with the line so far (writable: a check may rewrite its kept bytes) each time it fills
  // the buffer; it may raise an exception to refuse the line.
  using LineCheck = std::function<Keep(char* line, std::size_t size)>;

  // Takes ownership of the open descriptor `fd`; `path` names the file in errors. `blockSize` is
  // the first buffer size and the size of each read; 0 takes the default block size.
  xypK_TextFileReader(int fd, cow_String path, std::size_t blockSize = 0);
  ~xypK_TextFileReader();
  xypK_TextFileReader(const xypK_TextFileReader&) = delete;
  xypK_TextFileReader& operator=(const xypK_TextFileReader&) = delete;

  void SetLineCheck(LineCheck check) { check_ = std::move(check); }
  // The block size of readers made without one; 0 restores kBlockSize. Tests read with small
  // blocks, so that short texts meet every buffer boundary.
  static void SetDefaultBlockSize(std::size_t bytes);

  // The next line; `hadLineEnd` tells whether it ended with "\n" (the last line may not).
  // False at the end of the file. A failed read raises uti_FileException with its errno.
  bool NextLine(std::string_view& line, bool& hadLineEnd);
  // Bytes of the lines handed out so far, with their line ends and skipped parts.
  std::uint64_t BytesConsumed() const { return read_ - (end_ - begin_); }
  // The size of the file when it was opened (0 if unknown).
  std::uint64_t FileSize() const { return size_; }
  // The buffer's size now: what the reader holds, whatever the lines are.
  std::size_t Capacity() const { return capacity_; }

 private:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  bool Fill();
  void CheckLine();

  int fd_;
  cow_String path_;
  std::size_t block_;
  std::unique_ptr<char[]> buffer_;  // not zero-filled: only read bytes are ever looked at
  std::size_t capacity_;
  std::size_t begin_ = 0;     // start of the unread text
  std::size_t scan_ = 0;      // where the search for the next line end goes on
  std::size_t end_ = 0;       // end of the text read
  std::size_t held_ = kNone;  // while the rest of a line is skipped: the end of its kept part
  bool skipped_ = false;      // bytes of the current line were skipped
  bool eof_ = false;
  std::uint64_t read_ = 0;  // bytes read from the file
  std::uint64_t size_ = 0;
  LineCheck check_;
};
