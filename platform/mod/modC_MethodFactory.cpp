#include "modC_MethodFactory.h"

#include <algorithm>

#include "omi_Singleton.h"

modC_MethodFactory& modC_MethodFactory::Instance() {
  return omi_Singleton<modC_MethodFactory>::Instance();
}

void modC_MethodFactory::Finalize() {
  omi_Singleton<modC_MethodFactory>::Finalize();
}

std::unique_ptr<modC_CursorMethod> modC_MethodFactory::MakeCursorMethod(
    modC_MethodReceiver& receiver, int viewport) {
  return std::make_unique<modC_CursorMethod>(receiver, viewport);
}

std::unique_ptr<modC_FormMethod> modC_MethodFactory::MakeFormMethod(const cow_String& form,
                                                                    const omu_PrimTuple& initial,
                                                                    modC_MethodReceiver& receiver) {
  return std::make_unique<modC_FormMethod>(receiver, form, initial);
}

modC_CursorMethod* modC_MethodFactory::ActiveCursorMethod(int viewport) const {
  for (modC_Method* m : live_)
    if (auto* cursor = dynamic_cast<modC_CursorMethod*>(m))
      if (cursor->IsActive() && cursor->Viewport() == viewport) return cursor;
  return nullptr;
}

modC_FormMethod* modC_MethodFactory::ActiveFormMethod(const cow_String& form) const {
  for (modC_Method* m : live_)
    if (auto* f = dynamic_cast<modC_FormMethod*>(m))
      if (f->IsActive() && f->Form() == form) return f;
  return nullptr;
}

void modC_MethodFactory::Remove(const modC_Method* method) {
  live_.erase(std::remove(live_.begin(), live_.end(), method), live_.end());
}
