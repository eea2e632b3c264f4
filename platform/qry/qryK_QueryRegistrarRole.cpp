#include "qryK_QueryRegistrarRole.h"

#include <algorithm>
#include <memory>

#include "omi_Singleton.h"

qryK_QueryRegistrarRole& qryK_QueryRegistrarRole::Instance() {
  return omi_Singleton<qryK_QueryRegistrarRole>::Instance();
}

void qryK_QueryRegistrarRole::Finalize() {
  omi_SingletonBase<qryK_QueryRegistrarRole>::Finalize();
}

bool qryK_QueryRegistrarRole::Exists() {
  return omi_Singleton<qryK_QueryRegistrarRole>::Exists();
}

void qryK_QueryRegistrarRole::FireQuery(const cow_String& query) {
  const std::vector<Entry> snapshot = listeners_;
  for (const Entry& entry : snapshot) {
    const bool stillListening = std::any_of(listeners_.begin(), listeners_.end(),
                                            [&](const Entry& e) { return e.key == entry.key; });
    if (stillListening) (*entry.listener)(query);
  }
}

int qryK_QueryRegistrarRole::AddListener(Listener listener) {
  const int key = nextKey_++;
  listeners_.push_back(Entry{key, std::make_shared<Listener>(std::move(listener))});
  return key;
}

void qryK_QueryRegistrarRole::RemoveListener(int key) {
  std::erase_if(listeners_, [key](const Entry& e) { return e.key == key; });
}
