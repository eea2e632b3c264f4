#pragma once
// The id maps of the application, by map id: a scene that supports picking draws into one and
// asks it what lies under a point. Map ids start at 1; 0 names no map.
#include "xmd_IdMap.h"

class xmd_VisMaps {
 public:
  // A new, empty map of the size.
  static int Create(int width, int height);
  // The map, or null when the id names none.
  static xmd_IdMap* Get(int mapId);
  // xmd_IdMap::Query on the map; 0 when the id names none.
  static int Query(int mapId, float x, float y, float tolerance);
  // Frees the map; an id that names none is ignored.
  static void Release(int mapId);
  static int Count();
};
