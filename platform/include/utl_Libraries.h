#pragma once
// Start-up and shut-down entries of the platform libraries a module depends on. Each library
// counts its users: only the first initialise brings it up and only the last finalise takes it
// down. The caller's counter of initialised modules is passed along and left to the modules.
#include <string>
#include <vector>

#define UTL_DECLARE_LIBRARY(prefix)     \
  void prefix##_initialize(int& count); \
  void prefix##_finalize(int& count);

UTL_DECLARE_LIBRARY(utl)
UTL_DECLARE_LIBRARY(omu)
UTL_DECLARE_LIBRARY(pyo)
UTL_DECLARE_LIBRARY(mdl)
UTL_DECLARE_LIBRARY(g3d)
UTL_DECLARE_LIBRARY(cmdC)
UTL_DECLARE_LIBRARY(sesC)
UTL_DECLARE_LIBRARY(xypC)
UTL_DECLARE_LIBRARY(modC)
UTL_DECLARE_LIBRARY(res)
UTL_DECLARE_LIBRARY(ddb)
UTL_DECLARE_LIBRARY(odb)
UTL_DECLARE_LIBRARY(oda)
UTL_DECLARE_LIBRARY(bas)
UTL_DECLARE_LIBRARY(odpK)
UTL_DECLARE_LIBRARY(gdy)
UTL_DECLARE_LIBRARY(mmgK)
UTL_DECLARE_LIBRARY(gtkK)

#undef UTL_DECLARE_LIBRARY

// The libraries brought up and taken down, in order ("utl_initialize", ..., "utl_finalize"),
// for diagnostics and tests.
class utl_LibraryLog {
 public:
  static std::vector<std::string>& Events();
  static bool IsUp(const std::string& prefix);
};
