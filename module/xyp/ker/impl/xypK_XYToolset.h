#pragma once
// The one long-lived object of the XY-plot kernel. It owns the session fragment and the scripting
// module, and carries changes of repository data to whatever shows that data.
#include <memory>

#include "cow_String.h"

class xypK_SessionFragment;
class xypK_PytModule;

class xypK_XYToolset {
 public:
  static xypK_XYToolset& Instance();
  static void Finalize();
  static bool Exists();

  xypK_XYToolset();
  ~xypK_XYToolset();

  // Repository data of `name` was deleted, renamed or changed. No plot exists yet that could
  // show repository data, so there is nothing to carry the change to.
  void DeleteXYData(const cow_String& name);
  void RenameXYData(const cow_String& oldName, const cow_String& newName);
  void UpdateXYData(const cow_String& name);

  xypK_PytModule& Module() { return *module_; }

 private:
  std::unique_ptr<xypK_SessionFragment> sessionFragment_;
  std::unique_ptr<xypK_PytModule> module_;
};
