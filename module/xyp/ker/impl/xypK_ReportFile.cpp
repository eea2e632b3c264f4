#include "xypK_ReportFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "uti_FileException.h"
#include "uti_PreCheckFile.h"

xypK_ReportFile::~xypK_ReportFile() {
  Discard();
}

bool xypK_ReportFile::Open(const cow_String& path, bool append) {
  path_ = path;
  append_ = append;
  const std::string name = path.Std();
  struct stat info;
  // Appending to no file writes a new one: through a temporary file, as a replacing report.
  if (append && !(lstat(name.c_str(), &info) != 0 && errno == ENOENT)) {
    stream_ = std::fopen(name.c_str(), "a");
    if (!stream_) return false;
    std::setvbuf(stream_, nullptr, _IONBF, 0);
    if (fstat(fileno(stream_), &info) == 0 && S_ISREG(info.st_mode)) {
      truncatable_ = true;
      oldSize_ = static_cast<std::int64_t>(info.st_size);
    }
    return true;
  }

  // A link is written through: its target (which need not exist yet) is what is replaced.
  const std::string target = uti_FollowLinks(path).Std();
  const bool exists = stat(target.c_str(), &info) == 0;
  // A rename would replace a device or a FIFO, split a file's hard links or take a file from
  // its owner: those are written in place.
  const bool replaceable =
      !exists || (S_ISREG(info.st_mode) && info.st_nlink == 1 &&
                  (info.st_uid == geteuid() || geteuid() == 0));
  if (replaceable) {
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
      temporary_ = uti_TemporaryNameBeside(target);
      // 0666 under the umask: what a newly created report gets.
      fd = open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd < 0 && errno != EEXIST) break;
    }
    if (fd >= 0) {
      if (exists) {
        (void)fchmod(fd, info.st_mode & 07777);
        (void)!fchown(fd, info.st_uid, info.st_gid);  // kept where we may
      }
      stream_ = fdopen(fd, "w");
      if (stream_) {
        target_ = target;
        std::setvbuf(stream_, nullptr, _IONBF, 0);
        return true;
      }
      close(fd);
      unlink(temporary_.c_str());
    }
    temporary_.clear();
  }
  stream_ = std::fopen(name.c_str(), "w+");
  if (!stream_) return false;
  std::setvbuf(stream_, nullptr, _IONBF, 0);
  return true;
}

void xypK_ReportFile::Fail(int error) {
  Discard();
  throw uti_FileException(error, path_, cow_String(std::strerror(error)) + " (XY report)");
}

void xypK_ReportFile::Commit() {
  if (!stream_) return;
  errno = 0;
  if (std::fflush(stream_) != 0 || std::ferror(stream_)) Fail(errno ? errno : EIO);
  std::FILE* stream = stream_;
  stream_ = nullptr;
  errno = 0;
  // A full disk may show only when the file is closed.
  if (std::fclose(stream) != 0) {
    const int error = errno ? errno : EIO;
    if (append_ && truncatable_) (void)!truncate(path_.CStr(), oldSize_);
    Fail(error);
  }
  if (temporary_.empty()) return;
  if (rename(temporary_.c_str(), target_.c_str()) != 0) Fail(errno);
  temporary_.clear();
}

void xypK_ReportFile::Discard() {
  if (stream_) {
    if (append_ && truncatable_) (void)!ftruncate(fileno(stream_), oldSize_);
    std::fclose(stream_);
    stream_ = nullptr;
  }
  if (!temporary_.empty()) {
    unlink(temporary_.c_str());
    temporary_.clear();
  }
}
