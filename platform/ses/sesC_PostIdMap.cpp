#include "sesC_PostIdMap.h"

#include "omi_Singleton.h"

sesC_PostIdMap& sesC_PostIdMap::Instance() {
  return omi_Singleton<sesC_PostIdMap>::Instance();
}

void sesC_PostIdMap::Finalize() {
  omi_SingletonBase<sesC_PostIdMap>::Finalize();
}

sesC_PostIdMap::sesC_PostIdMap() {
  Register(1);
}

cow_String sesC_PostIdMap::GetPostName(int id) {
  const auto& names = Instance().names_;
  auto it = names.find(id);
  return it == names.end() ? cow_String() : it->second;
}

int sesC_PostIdMap::GetPostId(const cow_String& name) {
  for (const auto& [id, n] : Instance().names_)
    if (n == name) return id;
  return -1;
}

std::vector<cow_String> sesC_PostIdMap::Names() {
  std::vector<cow_String> names;
  for (const auto& [id, name] : Instance().names_) names.push_back(name);
  return names;
}

std::vector<int> sesC_PostIdMap::Ids() {
  std::vector<int> ids;
  for (const auto& [id, name] : Instance().names_) ids.push_back(id);
  return ids;
}

void sesC_PostIdMap::Register(int id) {
  names_[id] = "Viewport: " + cow_String::FromInt(id);
}

void sesC_PostIdMap::Unregister(int id) {
  names_.erase(id);
}
