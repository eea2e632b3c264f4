#pragma once
// The application's resource manager: localised texts by resource name. Texts can be registered
// at run time (translations, tests); an unregistered name yields the caller's default text.
#include <map>
#include <string>

#include "cow_String.h"

class uti_ResourceManager {
 public:
  cow_String GetStringResource(const cow_String& resourceName, const cow_String& defaultText) const;
  void SetStringResource(const cow_String& resourceName, const cow_String& text);
  void RemoveStringResource(const cow_String& resourceName);
  // The registered text, or null.
  const char* Find(const char* resourceName) const;
  // Connects the label maps to this manager.
  static void InstallLabelLookup();

 private:
  std::map<std::string, std::string> texts_;
};
