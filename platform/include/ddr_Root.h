#pragma once
// The open results databases of the process, keyed by real path, in opening order. Opening a path
// that is already open (by any spelling) gives the same database. Closing tells the close
// listeners the real path before the database goes, so that what was read from it (history
// lists, plots' sources) can be dropped.
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "cow_String.h"
#include "odb_Odb.h"

class ddr_Root {
 public:
  using Listener = std::function<void(const cow_String& realPath)>;

  // Pre-checks the path for reading (uti_FileException), resolves it and opens the file unless
  // open (odb_OdbException). Nothing is added when opening fails.
  odb_Odb& Open(const cow_String& path);
  // The open database of a real path; null when none.
  odb_Odb* Find(const cow_String& realPath) const;
  // The same, only when it is still the opening of `generation`.
  odb_Odb* Find(const cow_String& realPath, std::uint64_t generation) const;
  // The same, or odb_OdbException ("the database was closed") when there is none: what every
  // object naming a database by path and generation answers once it was closed.
  odb_Odb& Require(const cow_String& realPath, std::uint64_t generation) const;
  // False when the path is not open.
  bool Close(const cow_String& realPath);
  void CloseAll();
  std::vector<cow_String> Paths() const;

  int AddCloseListener(Listener listener);
  void RemoveCloseListener(int id);

  // The real path a name resolves to (links followed, "~" expanded); the name itself when it
  // cannot be resolved.
  static cow_String RealPath(const cow_String& name);

 private:
  std::vector<std::unique_ptr<odb_Odb>> open_;
  std::vector<std::pair<int, Listener>> listeners_;
  int nextListener_ = 1;
};
