#include "uti_PreCheckFile.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "uti_FileException.h"

namespace {
[[noreturn]] void Refuse(int error, const std::string& path, const cow_String& context) {
  cow_String message = cow_String(std::strerror(error));
  if (!context.IsEmpty()) message += " (" + context + ")";
  throw uti_FileException(error, cow_String(path), message);
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
  } else if (const passwd* pw = getpwnam(user.c_str())) {
    home = pw->pw_dir;
  }
  if (home.empty()) return name;  // no such user: the path stays as given, and fails as such
  return cow_String(home + (slash == std::string::npos ? "" : path.substr(slash)));
}

cow_String uti_PreCheckFile(const cow_String& name, int mode, const cow_String& context) {
  const cow_String expanded = uti_ExpandHome(name);
  const std::string path = expanded.Std();
  if (path.empty()) Refuse(ENOENT, path, context);
  struct stat info;
  if (mode == uti_READ_ACCESS) {
    if (stat(path.c_str(), &info) != 0) Refuse(errno, path, context);
    if (S_ISDIR(info.st_mode)) Refuse(EISDIR, path, context);
    if (!S_ISREG(info.st_mode)) Refuse(EINVAL, path, context);
    if (access(path.c_str(), R_OK) != 0) Refuse(errno, path, context);
    return expanded;
  }
  // Writing: an existing path must be a writable regular file; otherwise its folder must exist
  // and be writable.
  if (stat(path.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) Refuse(EISDIR, path, context);
    if (access(path.c_str(), W_OK) != 0) Refuse(errno, path, context);
    return expanded;
  }
  if (errno != ENOENT) Refuse(errno, path, context);
  const std::size_t slash = path.rfind('/');
  const std::string folder =
      slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  if (stat(folder.c_str(), &info) != 0) Refuse(errno, path, context);
  if (!S_ISDIR(info.st_mode)) Refuse(ENOTDIR, path, context);
  if (access(folder.c_str(), W_OK) != 0) Refuse(errno, path, context);
  return expanded;
}
