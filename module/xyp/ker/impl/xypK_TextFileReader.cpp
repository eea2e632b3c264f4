#include "xypK_TextFileReader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "cmdC_WIP.h"
#include "omi_Singleton.h"
#include "uti_FileException.h"

namespace {
std::size_t defaultBlock = xypK_TextFileReader::kBlockSize;
}

void xypK_TextFileReader::SetDefaultBlockSize(std::size_t bytes) {
  defaultBlock = bytes > 0 ? bytes : kBlockSize;
}

xypK_TextFileReader::xypK_TextFileReader(int fd, cow_String path, std::size_t blockSize)
    : fd_(fd),
      path_(std::move(path)),
      block_(blockSize > 0 ? blockSize : defaultBlock),
      buffer_(new char[block_]),
      capacity_(block_) {
  struct stat info;
  if (fstat(fd_, &info) == 0 && S_ISREG(info.st_mode))
    size_ = static_cast<std::uint64_t>(info.st_size);
}

xypK_TextFileReader::~xypK_TextFileReader() {
  if (fd_ >= 0) close(fd_);
}

// The buffer holds one unfinished line from its start: the check decides what of it stays.
void xypK_TextFileReader::CheckLine() {
  const Keep keep = check_(buffer_.get(), end_);
  const std::size_t bytes = std::min(keep.bytes, end_);
  if (!keep.restNeeded) {
    held_ = bytes;
    skipped_ = bytes < end_;
  }
  end_ = scan_ = bytes;
}

// Moves the unread text to the front, makes room (a line longer than the buffer doubles it,
// unless the line check keeps less) and reads the next block. False once the file has no more
// bytes.
bool xypK_TextFileReader::Fill() {
  if (eof_) return false;
  omi_Singleton<cmdC_WIP>::Instance().InterruptedThrow();
  if (begin_ > 0) {
    std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
    end_ -= begin_;
    scan_ -= begin_;
    if (held_ != kNone) held_ -= begin_;
    begin_ = 0;
  }
  if (end_ == capacity_ && held_ == kNone && check_) CheckLine();
  // While a line's rest is skipped, each read still gets at least half a block of room.
  const std::size_t room = held_ == kNone ? 1 : (block_ + 1) / 2;
  if (capacity_ - end_ < room) {
    const std::size_t larger = std::max(capacity_ * 2, end_ + room);
    std::unique_ptr<char[]> grown(new char[larger]);
    std::memcpy(grown.get(), buffer_.get(), end_);
    buffer_ = std::move(grown);
    capacity_ = larger;
  }
  for (;;) {
    const ssize_t n = read(fd_, buffer_.get() + end_, capacity_ - end_);
    if (n > 0) {
      end_ += static_cast<std::size_t>(n);
      read_ += static_cast<std::uint64_t>(n);
      return true;
    }
    if (n == 0) {
      eof_ = true;
      return false;
    }
    if (errno == EINTR) continue;
    const int error = errno;
    throw uti_FileException(error, path_,
                            cow_String(std::strerror(error)) + " (reading XY data file)");
  }
}

bool xypK_TextFileReader::NextLine(std::string_view& line, bool& hadLineEnd) {
  for (;;) {
    const char* base = buffer_.get();
    const void* found = scan_ < end_ ? std::memchr(base + scan_, '\n', end_ - scan_) : nullptr;
    if (found) {
      const std::size_t newline = static_cast<std::size_t>(static_cast<const char*>(found) - base);
      std::size_t last = newline;
      if (held_ != kNone) {
        skipped_ = skipped_ || newline > held_;
        last = held_;
      }
      // A "\r" ends the line only when it stands just before the "\n" in the file.
      if (!skipped_ && last > begin_ && base[last - 1] == '\r') --last;
      line = std::string_view(base + begin_, last - begin_);
      hadLineEnd = true;
      begin_ = scan_ = newline + 1;
      held_ = kNone;
      skipped_ = false;
      return true;
    }
    if (held_ != kNone) {
      skipped_ = skipped_ || end_ > held_;
      end_ = held_;  // what was read of the skipped rest goes
    }
    scan_ = end_;
    if (!Fill()) {
      const std::size_t stop = held_ != kNone ? held_ : end_;
      if (begin_ == stop && held_ == kNone) return false;
      line = std::string_view(buffer_.get() + begin_, stop - begin_);
      hadLineEnd = false;
      begin_ = scan_ = end_ = stop;
      held_ = kNone;
      skipped_ = false;
      return true;
    }
  }
}
