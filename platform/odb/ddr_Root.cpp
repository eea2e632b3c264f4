#include "ddr_Root.h"

#include <cstdlib>

#include "odb_OdbException.h"
#include "uti_PreCheckFile.h"

cow_String ddr_Root::RealPath(const cow_String& name) {
  const cow_String expanded = uti_ExpandHome(name);
  char* resolved = realpath(expanded.CStr(), nullptr);
  if (!resolved) return expanded;
  cow_String result(resolved);
  std::free(resolved);
  return result;
}

odb_Odb& ddr_Root::Open(const cow_String& path) {
  const cow_String checked = uti_PreCheckFile(path, uti_READ_ACCESS, "results file");
  const cow_String real = RealPath(checked);
  if (odb_Odb* open = Find(real)) return *open;
  open_.push_back(odb_Odb::Open(real));
  return *open_.back();
}

odb_Odb* ddr_Root::Find(const cow_String& realPath) const {
  for (const auto& odb : open_)
    if (odb->Path() == realPath) return odb.get();
  return nullptr;
}

odb_Odb* ddr_Root::Find(const cow_String& realPath, std::uint64_t generation) const {
  odb_Odb* odb = Find(realPath);
  return odb && odb->Generation() == generation ? odb : nullptr;
}

odb_Odb& ddr_Root::Require(const cow_String& realPath, std::uint64_t generation) const {
  odb_Odb* odb = Find(realPath, generation);
  if (!odb) throw odb_OdbException(realPath, "the database was closed");
  return *odb;
}

bool ddr_Root::Close(const cow_String& realPath) {
  for (auto it = open_.begin(); it != open_.end(); ++it) {
    if ((*it)->Path() != realPath) continue;
    // Over a copy: a listener may add or remove listeners.
    const auto listeners = listeners_;
    for (const auto& [id, listener] : listeners) listener(realPath);
    open_.erase(it);
    return true;
  }
  return false;
}

void ddr_Root::CloseAll() {
  while (!open_.empty()) Close(open_.front()->Path());
}

std::vector<cow_String> ddr_Root::Paths() const {
  std::vector<cow_String> paths;
  for (const auto& odb : open_) paths.push_back(odb->Path());
  return paths;
}

int ddr_Root::AddCloseListener(Listener listener) {
  listeners_.emplace_back(nextListener_, std::move(listener));
  return nextListener_++;
}

void ddr_Root::RemoveCloseListener(int id) {
  for (auto it = listeners_.begin(); it != listeners_.end(); ++it)
    if (it->first == id) {
      listeners_.erase(it);
      return;
    }
}
