#pragma once
// Named queries: whoever shows an object (a dialog, a script's callback) listens, and code that
// changed the object behind their back fires the object's command path.
#include <functional>
#include <vector>

#include "cow_String.h"

class qryK_QueryRegistrarRole {
 public:
  using Listener = std::function<void(const cow_String& query)>;

  static qryK_QueryRegistrarRole& Instance();
  static void Finalize();
  static bool Exists();

  // Calls every listener in the order they were added, over a snapshot: a listener may add or
  // remove listeners (itself included); one removed during the pass is not called after that.
  void FireQuery(const cow_String& query);

  // Returns a key for RemoveListener.
  int AddListener(Listener listener);
  void RemoveListener(int key);

 private:
  struct Entry {
    int key;
    std::shared_ptr<Listener> listener;
  };
  std::vector<Entry> listeners_;
  int nextKey_ = 1;
};
