#include "xmd_VisMaps.h"

#include <map>
#include <memory>

namespace {
struct Maps {
  std::map<int, std::unique_ptr<xmd_IdMap>> byId;
  int next = 1;
};
Maps& All() {
  static Maps maps;
  return maps;
}
}  // namespace

int xmd_VisMaps::Create(int width, int height) {
  Maps& maps = All();
  const int id = maps.next++;
  maps.byId[id] = std::make_unique<xmd_IdMap>(width, height);
  return id;
}

xmd_IdMap* xmd_VisMaps::Get(int mapId) {
  auto it = All().byId.find(mapId);
  return it == All().byId.end() ? nullptr : it->second.get();
}

int xmd_VisMaps::Query(int mapId, float x, float y, float tolerance) {
  const xmd_IdMap* map = Get(mapId);
  return map ? map->Query(x, y, tolerance) : 0;
}

void xmd_VisMaps::Release(int mapId) {
  All().byId.erase(mapId);
}

int xmd_VisMaps::Count() {
  return static_cast<int>(All().byId.size());
}
