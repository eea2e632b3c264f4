#pragma once
// A file the application cannot use: the system's error number and the path. Scripts see the
// matching OSError subclass (FileNotFoundError, PermissionError, IsADirectoryError, ...).
#include "nex_Exception.h"

class uti_FileException : public nex_Exception {
 public:
  uti_FileException(int error, cow_String path, cow_String message)
      : nex_Exception(std::move(message), error, path), errno_(error), path_(std::move(path)) {}
  int Errno() const { return errno_; }
  const cow_String& Path() const { return path_; }

 private:
  int errno_;
  cow_String path_;
};
