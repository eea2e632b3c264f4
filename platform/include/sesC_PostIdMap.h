#pragma once
// Viewport ids and the names scripts know them by ("Viewport: 1").
#include <map>
#include <vector>

#include "cow_String.h"

class sesC_PostIdMap {
 public:
  static sesC_PostIdMap& Instance();
  static void Finalize();

  // The name of viewport `id`; empty for an id no viewport has (-1: not bound to a viewport).
  static cow_String GetPostName(int id);
  // The id of the viewport called `name`, or -1.
  static int GetPostId(const cow_String& name);

  // The session starts with viewport 1.
  sesC_PostIdMap();

  // The viewports' names in id order.
  static std::vector<cow_String> Names();
  static std::vector<int> Ids();

  // Viewport `id` is called "Viewport: " + id.
  void Register(int id);
  void Unregister(int id);

 private:
  std::map<int, cow_String> names_;
};
