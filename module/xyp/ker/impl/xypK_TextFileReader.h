#pragma once
// Lines of a text file, read in large blocks with no copy per line. A line is handed out without
// its line end; "\r" just before "\n" belongs to the line end, so CRLF files read like LF files.
// Lines of any length are read whole. The file is closed when the reader goes.
#include <cstdint>
#include <memory>
#include <string_view>

#include "cow_String.h"

class xypK_TextFileReader {
 public:
  // Takes ownership of the open descriptor `fd`; `path` names the file in errors.
  xypK_TextFileReader(int fd, cow_String path);
  ~xypK_TextFileReader();
  xypK_TextFileReader(const xypK_TextFileReader&) = delete;
  xypK_TextFileReader& operator=(const xypK_TextFileReader&) = delete;

  // The next line; `hadLineEnd` tells whether it ended with "\n" (the last line may not).
  // False at the end of the file. A failed read raises uti_FileException with its errno.
  bool NextLine(std::string_view& line, bool& hadLineEnd);
  std::uint64_t BytesConsumed() const { return consumed_; }
  // The size of the file when it was opened (0 if unknown).
  std::uint64_t FileSize() const { return size_; }

 private:
  bool Fill();

  int fd_;
  cow_String path_;
  std::unique_ptr<char[]> buffer_;  // not zero-filled: only read bytes are ever looked at
  std::size_t capacity_;
  std::size_t begin_ = 0;  // start of the unread text
  std::size_t scan_ = 0;   // where the search for the next line end goes on
  std::size_t end_ = 0;    // end of the text read
  bool eof_ = false;
  std::uint64_t consumed_ = 0;
  std::uint64_t size_ = 0;
};
