#include "xypK_TextFileReader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "uti_FileException.h"

namespace {
constexpr std::size_t kBlockSize = 1 << 20;
}

xypK_TextFileReader::xypK_TextFileReader(int fd, cow_String path)
    : fd_(fd), path_(std::move(path)), buffer_(new char[kBlockSize]), capacity_(kBlockSize) {
  struct stat info;
  if (fstat(fd_, &info) == 0 && S_ISREG(info.st_mode))
    size_ = static_cast<std::uint64_t>(info.st_size);
}

xypK_TextFileReader::~xypK_TextFileReader() {
  if (fd_ >= 0) close(fd_);
}

// Moves the unread text to the front, makes room (a line longer than the buffer doubles it) and
// reads the next block. False once the file has no more bytes.
bool xypK_TextFileReader::Fill() {
  if (eof_) return false;
  if (begin_ > 0) {
    std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
    end_ -= begin_;
    scan_ -= begin_;
    begin_ = 0;
  }
  if (end_ == capacity_) {
    std::unique_ptr<char[]> larger(new char[capacity_ * 2]);
    std::memcpy(larger.get(), buffer_.get(), end_);
    buffer_ = std::move(larger);
    capacity_ *= 2;
  }
  for (;;) {
    const ssize_t n = read(fd_, buffer_.get() + end_, capacity_ - end_);
    if (n > 0) {
      end_ += static_cast<std::size_t>(n);
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
      if (last > begin_ && base[last - 1] == '\r') --last;
      line = std::string_view(base + begin_, last - begin_);
      hadLineEnd = true;
      consumed_ += newline + 1 - begin_;
      begin_ = scan_ = newline + 1;
      return true;
    }
    scan_ = end_;
    if (!Fill()) {
      if (begin_ == end_) return false;
      line = std::string_view(buffer_.get() + begin_, end_ - begin_);
      hadLineEnd = false;
      consumed_ += end_ - begin_;
      begin_ = scan_ = end_;
      return true;
    }
  }
}
