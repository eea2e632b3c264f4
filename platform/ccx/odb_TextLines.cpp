#include "odb_TextLines.h"

#include <cerrno>
#include <cstring>

#include "cmdC_WIP.h"
#include "odb_OdbException.h"
#include "omi_Singleton.h"

namespace {
constexpr std::size_t kBlock = 1 << 20;
constexpr std::int64_t kReportEvery = 8 << 20;
}  // namespace

odb_TextLines::odb_TextLines(const cow_String& path, const cow_String& what)
    : path_(path), what_(what) {
  file_ = std::fopen(path.CStr(), "rb");
  if (!file_) throw odb_OdbException(path, cow_String("cannot be read: ") + std::strerror(errno));
  if (std::fseek(file_, 0, SEEK_END) == 0) size_ = std::ftell(file_);
  std::rewind(file_);
  nextReport_ = kReportEvery;
}

odb_TextLines::~odb_TextLines() {
  if (file_) std::fclose(file_);
}

bool odb_TextLines::Fill() {
  buffer_.erase(0, start_);
  start_ = 0;
  const std::size_t kept = buffer_.size();
  buffer_.resize(kept + kBlock);
  const std::size_t got = std::fread(buffer_.data() + kept, 1, kBlock, file_);
  buffer_.resize(kept + got);
  read_ += static_cast<std::int64_t>(got);
  if (std::ferror(file_)) Fail("cannot be read further");
  if (read_ >= nextReport_ && size_ > 0) {
    nextReport_ = read_ + kReportEvery;
    cmdC_WIP& wip = omi_Singleton<cmdC_WIP>::Instance();
    wip.InterruptedThrow();
    wip.Milestone(what_, static_cast<int>(read_ * 100 / size_));
  }
  return got > 0;
}

bool odb_TextLines::Next(std::string_view& line) {
  if (unread_) {
    unread_ = false;
    line = last_;
    ++line_;
    return true;
  }
  for (;;) {
    const std::size_t end = buffer_.find('\n', start_);
    if (end != std::string::npos) {
      std::size_t stop = end;
      if (stop > start_ && buffer_[stop - 1] == '\r') --stop;
      current_.assign(buffer_, start_, stop - start_);
      start_ = end + 1;
      break;
    }
    if (atEnd_ || !Fill()) {
      atEnd_ = true;
      if (start_ >= buffer_.size()) return false;
      current_.assign(buffer_, start_, std::string::npos);  // a last line without its end
      lastEnded_ = false;
      if (!current_.empty() && current_.back() == '\r') current_.pop_back();
      start_ = buffer_.size();
      break;
    }
  }
  ++line_;
  last_ = current_;
  line = last_;
  return true;
}

void odb_TextLines::Fail(const std::string& reason) const {
  throw odb_OdbException(path_, "line " + std::to_string(line_) + ": " + reason);
}

void odb_TextLines::Warn(const std::string& what) const {
  omi_Singleton<cmdC_WIP>::Instance().Warning(
      cow_String(path_.Std() + ": line " + std::to_string(line_) + ": " + what));
}
