#include "uti_ResourceManager.h"

#include "thr_ThreadSingleton.h"
#include "uti_LabelMap.h"

cow_String uti_ResourceManager::GetStringResource(const cow_String& resourceName,
                                                  const cow_String& defaultText) const {
  auto it = texts_.find(resourceName.Std());
  return it == texts_.end() ? defaultText : cow_String(it->second);
}

void uti_ResourceManager::SetStringResource(const cow_String& resourceName,
                                            const cow_String& text) {
  texts_[resourceName.Std()] = text.Std();
}

void uti_ResourceManager::RemoveStringResource(const cow_String& resourceName) {
  texts_.erase(resourceName.Std());
}

const char* uti_ResourceManager::Find(const char* resourceName) const {
  auto it = texts_.find(resourceName);
  return it == texts_.end() ? nullptr : it->second.c_str();
}

namespace {
const char* LookUp(const char* resourceName, const char*) {
  return thr_ThreadSingleton<uti_ResourceManager>::Instance().Find(resourceName);
}
}  // namespace

void uti_ResourceManager::InstallLabelLookup() {
  uti_LabelMapResourceLookup() = &LookUp;
}
