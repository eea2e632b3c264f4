#pragma once
// Makers of interactive procedures, registered by module name: the application asks the factory
// of a module for a procedure by the procedure's name.
#include <map>
#include <memory>

#include "cow_String.h"
#include "mmgK_Procedure.h"

class mmgK_ModeFactory {
 public:
  virtual ~mmgK_ModeFactory() = default;

  // Null when this factory makes no procedure of that name.
  virtual std::unique_ptr<mmgK_Procedure> MakeProcedure(const cow_String& name) = 0;

  // A later registration under the same name replaces the earlier one.
  static void RegisterFactory(const cow_String& name, mmgK_ModeFactory* factory);
  // Removes the registration only while it still names `factory`.
  static void UnregisterFactory(const cow_String& name, const mmgK_ModeFactory* factory);
  static mmgK_ModeFactory* Find(const cow_String& name);

 private:
  static std::map<cow_String, mmgK_ModeFactory*>& Registry();
};
