#include "sesK_SessionState.h"

#include "omi_Singleton.h"

sesK_SessionState& sesK_SessionState::Instance() {
  return omi_Singleton<sesK_SessionState>::Instance();
}

void sesK_SessionState::Finalize() {
  omi_SingletonBase<sesK_SessionState>::Finalize();
}

void sesK_SessionState::SetPrimaryObjectPath(int viewport, const cow_String& path) {
  primaryPaths_[viewport] = path;
}

cow_String sesK_SessionState::GetPrimaryObjectPath(int viewport) const {
  auto it = primaryPaths_.find(viewport);
  return it == primaryPaths_.end() ? cow_String() : it->second;
}

void sesK_SessionState::SetType(int viewport, omu_ObjectToDisplayTypeEnm type) {
  types_[viewport] = type;
}

omu_ObjectToDisplayTypeEnm sesK_SessionState::GetType(int viewport) const {
  auto it = types_.find(viewport);
  return it == types_.end() ? omu_DISPLAY_NONE : it->second;
}
