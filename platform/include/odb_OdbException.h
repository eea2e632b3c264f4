#pragma once
// A file that is not a results database the application can read (not HDF5, truncated, an
// unknown version, a failed layout check), or a database used after it was closed. The message
// names the file's real path. Scripts see xyp.OdbError.
#include "nex_Exception.h"

class odb_OdbException : public nex_Exception {
 public:
  odb_OdbException(const cow_String& path, const cow_String& reason)
      : nex_Exception(path + ": " + reason, 0, path), path_(path) {}
  const cow_String& Path() const { return path_; }

 private:
  cow_String path_;
};
