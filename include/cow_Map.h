// cow_Map<K, V>: a map with unique keys, shared between copies until one of them is modified.
//
// It is a binary digital search tree holding one entry per node. Going down from the root, the
// branch taken at depth d is the lowest bit of one character of the key being looked for, the
// characters being taken alternately from the front and from the back of the key:
//   even d: character d/2;   odd d: character Length-1-d/2;
// an index outside the key gives bit 0. Keys whose characters share their low bits (e.g. "a",
// "aa", "aaa", ...) therefore form chains as deep as their number, so every walk here (find,
// insert, remove, iteration, copy, destruction) is a loop with an explicit stack.
//
// Plain iteration is pre-order: a node, then its 0-branch, then its 1-branch. Callers rely on
// that order. Sorted iteration is available separately.
//
// A reference returned by a non-const accessor stays valid until the map is next copied or
// modified; writing through it after a copy would also change the copy.
//
// Distinct copies may be used from different threads; one object must not be written from
// two threads at once.
#pragma once

#include <algorithm>
#include <atomic>
#include <concepts>
#include <cstddef>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "cow_String.h"
#include "omi_Assert.h"

// Character access for the branch bits. Length() and Char(key, i) for 0 <= i < Length().
template <class K>
struct cow_MapKeyTraits;

template <>
struct cow_MapKeyTraits<cow_String> {
  static size_t Length(const cow_String& k) { return k.Length(); }
  static unsigned char Char(const cow_String& k, size_t i) {
    return static_cast<unsigned char>(k.At(i));
  }
};

template <>
struct cow_MapKeyTraits<std::string> {
  static size_t Length(const std::string& k) { return k.size(); }
  static unsigned char Char(const std::string& k, size_t i) {
    return static_cast<unsigned char>(k[i]);
  }
};

// Integral keys are their bytes, least significant first; enumerations those of their value.
template <class K>
requires std::integral<K> || std::is_enum_v<K>
struct cow_MapKeyTraits<K> {
  static size_t Length(const K&) { return sizeof(K); }
  static unsigned char Char(const K& k, size_t i) {
    if constexpr (std::is_same_v<K, bool>) {
      return k ? 1 : 0;
    } else if constexpr (std::is_enum_v<K>) {
      return cow_MapKeyTraits<std::underlying_type_t<K>>::Char(
          static_cast<std::underlying_type_t<K>>(k), i);
    } else {
      using U = std::make_unsigned_t<K>;
      return static_cast<unsigned char>(static_cast<U>(k) >> (8 * i));
    }
  }
};

template <class K, class V>
class cow_Map {
  using Traits = cow_MapKeyTraits<K>;

 public:
  // What range-for yields: `for (const auto& [key, value] : map)` or e.first / e.second.
  using Entry = std::pair<K, V>;

 private:
  struct Node {
    Entry entry;
    Node* child[2] = {nullptr, nullptr};
  };

  struct Rep {
    Node* root = nullptr;
    size_t size = 0;

    Rep() = default;
    // Copies the tree shape exactly, so the copy iterates in the same order.
    Rep(const Rep& o) {
      if (o.root == nullptr) return;
      try {
        root = new Node{o.root->entry};
        std::vector<std::pair<const Node*, Node*>> todo{{o.root, root}};
        while (!todo.empty()) {
          auto [src, dst] = todo.back();
          todo.pop_back();
          for (int b = 0; b < 2; ++b) {
            if (src->child[b] == nullptr) continue;
            dst->child[b] = new Node{src->child[b]->entry};
            todo.emplace_back(src->child[b], dst->child[b]);
          }
        }
        size = o.size;
      } catch (...) {
        Free();
        throw;
      }
    }
    Rep& operator=(const Rep&) = delete;
    ~Rep() { Free(); }

    void Free() {
      std::vector<Node*> todo;
      if (root != nullptr) todo.push_back(root);
      while (!todo.empty()) {
        Node* n = todo.back();
        todo.pop_back();
        for (Node* c : n->child)
          if (c != nullptr) todo.push_back(c);
        delete n;
      }
      root = nullptr;
      size = 0;
    }

    // The link that holds key's node, or the empty link where it would be attached.
    Node* const* Slot(const K& key) const {
      Node* const* link = &root;
      for (size_t d = 0; *link != nullptr && !((*link)->entry.first == key); ++d)
        link = &(*link)->child[Bit(key, d)];
      return link;
    }
    Node** Slot(const K& key) {
      return const_cast<Node**>(static_cast<const Rep*>(this)->Slot(key));
    }
  };

  static int Bit(const K& key, size_t d) {
    const size_t len = Traits::Length(key);
    const size_t half = d / 2;
    if (half >= len) return 0;
    const size_t idx = (d % 2 == 0) ? half : len - 1 - half;
    return Traits::Char(key, idx) & 1;
  }

  // Pre-order successor, with the pending 1-branches on an explicit stack.
  static const Node* PreorderNext(const Node* n, std::vector<const Node*>& pending) {
    if (n->child[0] != nullptr) {
      if (n->child[1] != nullptr) pending.push_back(n->child[1]);
      return n->child[0];
    }
    if (n->child[1] != nullptr) return n->child[1];
    if (pending.empty()) return nullptr;
    const Node* next = pending.back();
    pending.pop_back();
    return next;
  }

 public:
  // Range-for iterator over the pre-order. Like a standard container's iterator it is
  // invalidated by any change to the map.
  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = Entry;
    using difference_type = std::ptrdiff_t;
    using pointer = const Entry*;
    using reference = const Entry&;

    const_iterator() = default;
    const Entry& operator*() const { return node_->entry; }
    const Entry* operator->() const { return &node_->entry; }
    const_iterator& operator++() {
      node_ = PreorderNext(node_, pending_);
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator r = *this;
      ++*this;
      return r;
    }
    friend bool operator==(const const_iterator& a, const const_iterator& b) {
      return a.node_ == b.node_;
    }

   private:
    friend class cow_Map;
    explicit const_iterator(const Node* n) : node_(n) {}
    const Node* node_ = nullptr;
    std::vector<const Node*> pending_;
  };

  // Pre-order iteration over a snapshot: it keeps the map's current contents alive, so the map
  // itself may be modified (that detaches it) while the iteration goes on.
  class ConstIterator {
   public:
    explicit ConstIterator(const cow_Map& m) : rep_(m.rep_) { First(); }
    void First() {
      pending_.clear();
      node_ = rep_ ? rep_->root : nullptr;
    }
    bool IsDone() const { return node_ == nullptr; }
    void Next() {
      OMI_ASSERT(!IsDone());
      node_ = PreorderNext(node_, pending_);
    }
    const K& Key() const {
      OMI_ASSERT(!IsDone());
      return node_->entry.first;
    }
    const V& Value() const {
      OMI_ASSERT(!IsDone());
      return node_->entry.second;
    }

   private:
    std::shared_ptr<const Rep> rep_;
    const Node* node_ = nullptr;
    std::vector<const Node*> pending_;
  };

  // Key-ordered iteration over a snapshot, like ConstIterator.
  class SortedConstIterator {
   public:
    explicit SortedConstIterator(const cow_Map& m, bool ascending = true) : rep_(m.rep_) {
      nodes_ = m.Nodes();
      std::sort(nodes_.begin(), nodes_.end(),
                [](const Node* a, const Node* b) { return a->entry.first < b->entry.first; });
      if (!ascending) std::reverse(nodes_.begin(), nodes_.end());
    }
    void First() { pos_ = 0; }
    bool IsDone() const { return pos_ >= nodes_.size(); }
    void Next() {
      OMI_ASSERT(!IsDone());
      ++pos_;
    }
    const K& Key() const {
      OMI_ASSERT(!IsDone());
      return nodes_[pos_]->entry.first;
    }
    const V& Value() const {
      OMI_ASSERT(!IsDone());
      return nodes_[pos_]->entry.second;
    }

   private:
    std::shared_ptr<const Rep> rep_;
    std::vector<const Node*> nodes_;
    size_t pos_ = 0;
  };

  cow_Map() = default;

  size_t Size() const { return rep_ ? rep_->size : 0; }
  bool IsEmpty() const { return Size() == 0; }

  // Adds the entry, or replaces the value when the key is already present.
  void Insert(const K& key, const V& value) {
    // Detaching first is safe even if key/value live in this map: the old nodes stay alive
    // with the other owner.
    Rep& r = Mutable();
    Node** link = r.Slot(key);
    if (*link != nullptr) {
      (*link)->entry.second = value;
      return;
    }
    *link = new Node{Entry(key, value)};
    ++r.size;
  }

  // Removes the key's entry; false (and no copy made) when the key is absent.
  bool Remove(const K& key) {
    if (!IsMember(key)) return false;
    Rep& r = Mutable();
    Node** link = r.Slot(key);
    Node* target = *link;
    // A node with children takes over the entry of a leaf below it (the one reached by taking
    // the 0-branch wherever there is one): the leaf's key shares the path down to this node,
    // so lookups still find it here.
    Node** leafLink = link;
    while ((*leafLink)->child[0] != nullptr || (*leafLink)->child[1] != nullptr)
      leafLink = &(*leafLink)->child[(*leafLink)->child[0] != nullptr ? 0 : 1];
    Node* leaf = *leafLink;
    if (leaf != target) {
      target->entry.first = std::move(leaf->entry.first);
      target->entry.second = std::move(leaf->entry.second);
    }
    *leafLink = nullptr;
    delete leaf;
    --r.size;
    return true;
  }

  const V* Find(const K& key) const {
    if (!rep_) return nullptr;
    const Node* n = *rep_->Slot(key);
    return n ? &n->entry.second : nullptr;
  }
  bool IsMember(const K& key) const { return Find(key) != nullptr; }
  const V& ConstGet(const K& key) const {
    const V* v = Find(key);
    OMI_ASSERT(v != nullptr);
    return *v;
  }
  V& Get(const K& key) {
    OMI_ASSERT(IsMember(key));
    return (*Mutable().Slot(key))->entry.second;
  }

  void Clear() { rep_.reset(); }

  std::vector<K> SortedKeys(bool ascending = true) const {
    std::vector<K> keys;
    keys.reserve(Size());
    for (const Entry& e : *this) keys.push_back(e.first);
    std::sort(keys.begin(), keys.end());
    if (!ascending) std::reverse(keys.begin(), keys.end());
    return keys;
  }

  const_iterator begin() const { return const_iterator(rep_ ? rep_->root : nullptr); }
  const_iterator end() const { return const_iterator(); }

  long UseCount() const { return rep_.use_count(); }
  bool IsShared() const { return rep_.use_count() > 1; }

 private:
  std::vector<const Node*> Nodes() const {
    std::vector<const Node*> out;
    out.reserve(Size());
    std::vector<const Node*> pending;
    for (const Node* n = rep_ ? rep_->root : nullptr; n != nullptr; n = PreorderNext(n, pending))
      out.push_back(n);
    return out;
  }

  // Our own unshared tree; the fence orders other owners' last reads before our writes.
  Rep& Mutable() {
    if (!rep_)
      rep_ = std::make_shared<Rep>();
    else if (rep_.use_count() > 1)
      rep_ = std::make_shared<Rep>(*rep_);
    else
      std::atomic_thread_fence(std::memory_order_acquire);
    return *rep_;
  }

  std::shared_ptr<Rep> rep_;  // null while empty
};
