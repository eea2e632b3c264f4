#include "uti_PreCheckFile.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "omu_ValueErrorException.h"
#include "uti_FileException.h"

namespace {
constexpr int kMaxLinks = 40;  // the kernel's own limit for a path's links

[[noreturn]] void Refuse(int error, const std::string& path, const cow_String& context,
                         const char* reason = nullptr) {
  cow_String message = cow_String(reason ? reason : std::strerror(error));
  if (!context.IsEmpty()) message += " (" + context + ")";
  throw uti_FileException(error, cow_String(path), message);
}

// The folder a path's file is (or would be) in.
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}
}  // namespace

cow_String uti_ExpandHome(const cow_String& name) {
  std::string path = name.Std();
  if (path.empty() || path[0] != '~') return name;
  const std::size_t slash = path.find('/');
  const std::string user =
      path.substr(1, slash == std::string::npos ? std::string::npos : slash - 1);
  std::string home;
  if (user.empty()) {
    const char* env = std::getenv("HOME");
    if (env && *env) {
      home = env;
    } else if (const passwd* pw = getpwuid(getuid())) {
      home = pw->pw_dir;
    }
  } else if (user.find('\0') == std::string::npos) {
    if (const passwd* pw = getpwnam(user.c_str())) home = pw->pw_dir;
  }
  if (home.empty()) return name;  // no such user: the path stays as given, and fails as such
  return cow_String(home + (slash == std::string::npos ? "" : path.substr(slash)));
}

cow_String uti_FollowLinks(const cow_String& path) {
  std::string current = path.Std();
  for (int links = 0;; ++links) {
    struct stat info;
    if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return cow_String(current);
    if (links == kMaxLinks) throw uti_FileException(ELOOP, path, std::strerror(ELOOP));
    // Some links report no size (those of /proc): grow the buffer until the target fits.
    std::string target(info.st_size > 0 ? static_cast<std::size_t>(info.st_size) + 1 : 256, '\0');
    ssize_t n;
    while ((n = readlink(current.c_str(), target.data(), target.size())) >= 0 &&
           static_cast<std::size_t>(n) == target.size())
      target.resize(target.size() * 2);
    if (n <= 0) return cow_String(current);  // replaced meanwhile: the caller's checks decide
    target.resize(static_cast<std::size_t>(n));
    const std::size_t slash = current.rfind('/');
    current = target[0] == '/' || slash == std::string::npos
                  ? target
                  : current.substr(0, slash + 1) + target;
  }
}

cow_String uti_PreCheckFile(const cow_String& name, int mode, const cow_String& context) {
  // The system reads a path up to its first NUL: the rest of the name would be ignored.
  if (name.View().find('\0') != std::string_view::npos)
    throw omu_ValueErrorException(cow_String("embedded null byte") +
                                  (context.IsEmpty() ? cow_String() : " (" + context + ")"));
  const cow_String expanded = uti_ExpandHome(name);
  const std::string path = expanded.Std();
  if (path.empty()) Refuse(ENOENT, path, context);
  struct stat info;
  if (mode == uti_READ_ACCESS) {
    if (stat(path.c_str(), &info) != 0) Refuse(errno, path, context);
    if (S_ISDIR(info.st_mode)) Refuse(EISDIR, path, context);
    if (!S_ISREG(info.st_mode)) Refuse(EINVAL, path, context, "Not a regular file");
    if (access(path.c_str(), R_OK) != 0) Refuse(errno, path, context);
    return expanded;
  }
  // Writing: an existing path must be a writable regular file; otherwise the folder it is
  // created in must exist and be writable.
  if (stat(path.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) Refuse(EISDIR, path, context);
    if (!S_ISREG(info.st_mode)) Refuse(EINVAL, path, context, "Not a regular file");
    if (access(path.c_str(), W_OK) != 0) Refuse(errno, path, context);
    return expanded;
  }
  if (errno != ENOENT) Refuse(errno, path, context);
  // A dangling link is written through: its target is created, in the target's folder.
  const std::string folder = FolderOf(uti_FollowLinks(expanded).Std());
  if (stat(folder.c_str(), &info) != 0) Refuse(errno, path, context);
  if (!S_ISDIR(info.st_mode)) Refuse(ENOTDIR, path, context);
  if (access(folder.c_str(), W_OK) != 0) Refuse(errno, path, context);
  return expanded;
}

std::string uti_TemporaryNameBeside(const std::string& target) {
  static std::atomic<unsigned> counter{0};
  const std::size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  return folder + ".xyp" + std::to_string(getpid()) + "-" + std::to_string(counter++) + ".tmp";
}
