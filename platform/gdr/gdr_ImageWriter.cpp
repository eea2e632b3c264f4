#include "gdr_ImageWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "cmdC_InterruptedException.h"
#include "gdr_CairoRenderer.h"
#include "gdr_SvgRenderer.h"
#include "nex_Exception.h"
#include "omu_ValueErrorException.h"
#include "uti_FileException.h"
#include "uti_PreCheckFile.h"
#include "uti_Quoted.h"

namespace {

bool EndsWithNoCase(std::string_view s, std::string_view suffix) {
  if (s.size() < suffix.size()) return false;
  const std::string_view tail = s.substr(s.size() - suffix.size());
  for (size_t i = 0; i < suffix.size(); ++i) {
    char c = tail[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != suffix[i]) return false;
  }
  return true;
}

void CheckSize(const char* keyword, int value) {
  if (value < 1 || value > gdr_ImageWriter::kMaxSize)
    NEX_THROW(omu_ValueErrorException(cow_String(keyword) + ": " + std::to_string(value).c_str() +
                                      " is out of range (1 to " +
                                      std::to_string(gdr_ImageWriter::kMaxSize).c_str() + ")"));
}

[[noreturn]] void FileError(int error, const cow_String& path) {
  NEX_THROW(uti_FileException(error, path, cow_String(std::strerror(error))));
}

// Refuses a target that exists and is not a regular file: renaming over a FIFO, a device or a
// socket would replace it with a regular file. The check runs before the temporary file is made
// and again just before the rename.
void RefuseUnlessRegular(const std::string& target, const cow_String& path) {
  struct stat info;
  if (lstat(target.c_str(), &info) != 0) {
    if (errno == ENOENT) return;  // created by the rename
    FileError(errno, path);
  }
  if (S_ISDIR(info.st_mode)) FileError(EISDIR, path);
  if (!S_ISREG(info.st_mode))
    NEX_THROW(uti_FileException(EINVAL, path, cow_String("Not a regular file")));
}

// The temporary file beside the target (uti_TemporaryNameBeside): removed unless it was renamed
// over the target. O_EXCL keeps concurrent saves (threads, processes) apart.
struct TemporaryFile {
  std::string name;
  int fd = -1;
  int error = 0;  // the first write error
  bool committed = false;

  TemporaryFile(const std::string& target, const cow_String& path) {
    for (int attempt = 0; attempt < 100; ++attempt) {
      name = uti_TemporaryNameBeside(target);
      // 0666 under the umask: the permissions a newly created file gets.
      fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd >= 0 || errno != EEXIST) break;
    }
    if (fd < 0) FileError(errno, path);
    struct stat existing;
    if (stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
      (void)fchmod(fd, existing.st_mode & 07777);
  }
  ~TemporaryFile() {
    if (fd >= 0) close(fd);
    if (!committed) unlink(name.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool Write(const unsigned char* data, size_t length) {
    if (error != 0) return false;
    while (length > 0) {
      const ssize_t n = write(fd, data, length);
      if (n < 0) {
        if (errno == EINTR) continue;
        error = errno;
        return false;
      }
      data += n;
      length -= static_cast<size_t>(n);
    }
    return true;
  }

  void Commit(const std::string& target, const cow_String& path) {
    if (error != 0) FileError(error, path);
    if (fsync(fd) != 0 && errno != EINVAL && errno != EROFS) FileError(errno, path);
    const int closing = close(fd);
    fd = -1;
    if (closing != 0) FileError(errno, path);
    RefuseUnlessRegular(target, path);  // replaced by something else while drawing
    if (rename(name.c_str(), target.c_str()) != 0) FileError(errno, path);
    committed = true;
  }
};

// The one drawing path of files and memory: the background, `draw`, then the encoded picture
// to `sink`. A sink that refuses bytes keeps its own reason (Save reads its file's error).
void DrawAndEncode(gdr_ImageWriter::Format format, int width, int height,
                   const std::function<void(gdr_Renderer&)>& draw,
                   const gdr_CairoRenderer::Sink& sink) {
  switch (format) {
    case gdr_ImageWriter::PNG: {
      gdr_CairoRenderer renderer(gdr_CairoRenderer::IMAGE, width, height);
      renderer.SetInterruptible(true);
      renderer.Clear();
      if (draw) draw(renderer);
      renderer.WritePng(sink);
      break;
    }
    case gdr_ImageWriter::PDF: {
      gdr_CairoRenderer renderer(gdr_CairoRenderer::PDF, width, height, sink);
      renderer.SetInterruptible(true);
      renderer.Clear();
      if (draw) draw(renderer);
      renderer.Finish();
      break;
    }
    case gdr_ImageWriter::SVG: {
      gdr_SvgRenderer renderer(width, height);
      renderer.SetInterruptible(true);
      renderer.Clear();
      if (draw) draw(renderer);
      const std::string document = renderer.Document();
      sink(reinterpret_cast<const unsigned char*>(document.data()), document.size());
      break;
    }
  }
}
}  // namespace

gdr_ImageWriter::Format gdr_ImageWriter::FormatOf(const cow_String& path) {
  const std::string_view name = path.View();
  // The system would see the name up to its NUL only: another file than the one named.
  if (name.find('\0') != std::string_view::npos)
    NEX_THROW(omu_ValueErrorException("fileName: embedded null byte"));
  if (EndsWithNoCase(name, ".png")) return PNG;
  if (EndsWithNoCase(name, ".svg")) return SVG;
  if (EndsWithNoCase(name, ".pdf")) return PDF;
  NEX_THROW(omu_ValueErrorException(cow_String("fileName: cannot save an image as ") +
                                    uti_Quoted(name, 200) +
                                    " (the name must end in .png, .svg or .pdf)"));
}

void gdr_ImageWriter::Save(const cow_String& path, int width, int height,
                           const std::function<void(gdr_Renderer&)>& draw) {
  const Format format = FormatOf(path);
  CheckSize("width", width);
  CheckSize("height", height);

  // A link is written through: the file it points to gets the new content.
  const std::string target = uti_FollowLinks(path).Std();
  RefuseUnlessRegular(target, path);
  TemporaryFile file(target, path);
  const gdr_CairoRenderer::Sink sink = [&file](const unsigned char* data, size_t length) {
    return file.Write(data, length);
  };
  try {
    DrawAndEncode(format, width, height, draw, sink);
  } catch (const cmdC_InterruptedException&) {
    throw;  // the user stopped the drawing: that is the reason, whatever else went wrong
  } catch (const nex_Exception&) {
    // Cairo reports a failed write as its own error: the system's reason is the better one.
    if (file.error != 0) FileError(file.error, path);
    throw;
  }
  file.Commit(target, path);
}

std::string gdr_ImageWriter::Encode(Format format, int width, int height,
                                    const std::function<void(gdr_Renderer&)>& draw) {
  CheckSize("width", width);
  CheckSize("height", height);
  std::string bytes;
  DrawAndEncode(format, width, height, draw, [&bytes](const unsigned char* data, size_t length) {
    bytes.append(reinterpret_cast<const char*>(data), length);
    return true;
  });
  return bytes;
}
