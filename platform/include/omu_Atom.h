#pragma once
// Interned names: one id per distinct text, stable for the life of the process.
#include "cow_String.h"

class omu_Atom {
 public:
  // The atom of `name`, created at the first call with that name.
  static int CreateAtom(const cow_String& name);
  // -1 when no atom has that name.
  static int FindAtom(const cow_String& name);
  static cow_String AtomName(int atom);
};
