#include "mmgK_ModeFactory.h"

std::map<cow_String, mmgK_ModeFactory*>& mmgK_ModeFactory::Registry() {
  // Never destroyed: factories held by singletons may unregister at exit.
  static auto* registry = new std::map<cow_String, mmgK_ModeFactory*>();
  return *registry;
}

void mmgK_ModeFactory::RegisterFactory(const cow_String& name, mmgK_ModeFactory* factory) {
  Registry()[name] = factory;
}

void mmgK_ModeFactory::UnregisterFactory(const cow_String& name, const mmgK_ModeFactory* factory) {
  auto it = Registry().find(name);
  if (it != Registry().end() && it->second == factory) Registry().erase(it);
}

mmgK_ModeFactory* mmgK_ModeFactory::Find(const cow_String& name) {
  auto it = Registry().find(name);
  return it == Registry().end() ? nullptr : it->second;
}
