#include "omu_Atom.h"

#include <string>
#include <vector>

namespace {
std::vector<std::string>& Atoms() {
  static std::vector<std::string> atoms;
  return atoms;
}
}  // namespace

int omu_Atom::CreateAtom(const cow_String& name) {
  int found = FindAtom(name);
  if (found >= 0) return found;
  Atoms().push_back(name.Std());
  return static_cast<int>(Atoms().size()) - 1;
}

int omu_Atom::FindAtom(const cow_String& name) {
  const std::vector<std::string>& atoms = Atoms();
  for (std::size_t i = 0; i < atoms.size(); ++i)
    if (atoms[i] == name.View()) return static_cast<int>(i);
  return -1;
}

cow_String omu_Atom::AtomName(int atom) {
  if (atom < 0 || static_cast<std::size_t>(atom) >= Atoms().size()) return cow_String::Null();
  return cow_String(Atoms()[static_cast<std::size_t>(atom)]);
}
