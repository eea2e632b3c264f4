// omi_Btree<K, V, MinDegree>: an ordered map kept in a B-tree. Every node but the root holds
// between MinDegree-1 and 2*MinDegree-1 entries, so the height stays logarithmic; insertion
// splits full nodes and removal refills thin ones on the way down, in a single pass. Keys are
// ordered by operator<. Not copy-on-write.
#pragma once

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

#include "omi_Assert.h"

template <class K, class V, int MinDegree = 16>
class omi_Btree {
  static_assert(MinDegree >= 2, "a B-tree needs a minimum degree of at least 2");
  static constexpr size_t kMinKeys = MinDegree - 1;
  static constexpr size_t kMaxKeys = 2 * MinDegree - 1;

 public:
  using Entry = std::pair<K, V>;

 private:
  struct Node {
    std::vector<Entry> entries;                   // sorted by key
    std::vector<std::unique_ptr<Node>> children;  // empty for a leaf, else entries.size() + 1
    bool IsLeaf() const { return children.empty(); }
    // Index of the first entry whose key is not less than key.
    size_t LowerBound(const K& key) const {
      return static_cast<size_t>(
          std::lower_bound(entries.begin(), entries.end(), key,
                           [](const Entry& e, const K& k) { return e.first < k; }) -
          entries.begin());
    }
    bool HitAt(size_t i, const K& key) const {
      return i < entries.size() && !(key < entries[i].first);
    }
  };

 public:
  // In-order (ascending) iteration. Invalidated by any change to the tree.
  class ConstIterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = Entry;
    using difference_type = std::ptrdiff_t;
    using pointer = const Entry*;
    using reference = const Entry&;

    ConstIterator() = default;
    explicit ConstIterator(const omi_Btree& t) : root_(t.root_.get()) { First(); }

    void First() {
      path_.clear();
      if (root_ != nullptr && !root_->entries.empty()) Descend(root_);
    }
    bool IsDone() const { return path_.empty(); }
    void Next() {
      OMI_ASSERT(!IsDone());
      auto& [node, i] = path_.back();
      if (!node->IsLeaf()) {
        const Node* child = node->children[i + 1].get();
        ++i;
        Descend(child);
        return;
      }
      ++i;
      // Climb past ancestors whose entries are all visited.
      while (!path_.empty() && path_.back().second >= path_.back().first->entries.size())
        path_.pop_back();
    }
    const K& Key() const { return (**this).first; }
    const V& Value() const { return (**this).second; }

    const Entry& operator*() const {
      OMI_ASSERT(!IsDone());
      return path_.back().first->entries[path_.back().second];
    }
    const Entry* operator->() const { return &**this; }
    ConstIterator& operator++() {
      Next();
      return *this;
    }
    ConstIterator operator++(int) {
      ConstIterator r = *this;
      Next();
      return r;
    }
    friend bool operator==(const ConstIterator& a, const ConstIterator& b) {
      if (a.IsDone() || b.IsDone()) return a.IsDone() == b.IsDone();
      return a.path_.back() == b.path_.back();
    }

   private:
    // Pushes the path to the smallest entry of n's subtree.
    void Descend(const Node* n) {
      for (;;) {
        path_.emplace_back(n, 0);
        if (n->IsLeaf()) return;
        n = n->children[0].get();
      }
    }

    const Node* root_ = nullptr;
    // The node being visited and, above it, its ancestors; each with the index of its next
    // entry (for an ancestor, the entry after the child being visited).
    std::vector<std::pair<const Node*, size_t>> path_;
  };
  using const_iterator = ConstIterator;

  omi_Btree() = default;
  omi_Btree(const omi_Btree& o) : size_(o.size_) {
    if (o.root_) root_ = Clone(*o.root_);
  }
  omi_Btree& operator=(const omi_Btree& o) {
    if (this != &o) {
      omi_Btree copy(o);
      swap(copy);
    }
    return *this;
  }
  omi_Btree(omi_Btree&& o) noexcept : root_(std::move(o.root_)), size_(std::exchange(o.size_, 0)) {}
  omi_Btree& operator=(omi_Btree&& o) noexcept {
    root_ = std::move(o.root_);
    size_ = std::exchange(o.size_, 0);
    return *this;
  }
  void swap(omi_Btree& o) noexcept {
    std::swap(root_, o.root_);
    std::swap(size_, o.size_);
  }

  size_t Size() const { return size_; }
  bool IsEmpty() const { return size_ == 0; }
  void Clear() {
    root_.reset();
    size_ = 0;
  }

  const V* Find(const K& key) const {
    for (const Node* n = root_.get(); n != nullptr;) {
      const size_t i = n->LowerBound(key);
      if (n->HitAt(i, key)) return &n->entries[i].second;
      n = n->IsLeaf() ? nullptr : n->children[i].get();
    }
    return nullptr;
  }
  V* Find(const K& key) { return const_cast<V*>(static_cast<const omi_Btree*>(this)->Find(key)); }
  bool IsMember(const K& key) const { return Find(key) != nullptr; }

  // Adds the entry, or replaces the value when the key is present.
  void Insert(const K& key, const V& value) {
    if (V* existing = Find(key)) {
      *existing = value;
      return;
    }
    // Copied before the tree changes: key and value may refer to entries that splits move.
    Entry fresh(key, value);
    if (!root_) root_ = std::make_unique<Node>();
    if (root_->entries.size() == kMaxKeys) {
      auto top = std::make_unique<Node>();
      top->children.push_back(std::move(root_));
      root_ = std::move(top);
      SplitChild(*root_, 0);
    }
    // Split every full node before entering it, so a split never has to climb back up.
    Node* n = root_.get();
    while (!n->IsLeaf()) {
      size_t i = n->LowerBound(fresh.first);
      if (n->children[i]->entries.size() == kMaxKeys) {
        SplitChild(*n, i);
        if (n->entries[i].first < fresh.first) ++i;
      }
      n = n->children[i].get();
    }
    const size_t i = n->LowerBound(fresh.first);
    n->entries.insert(n->entries.begin() + static_cast<std::ptrdiff_t>(i), std::move(fresh));
    ++size_;
  }

  // Removes the key's entry; false when it is absent (the tree is then left untouched).
  bool Remove(const K& key) {
    if (!IsMember(key)) return false;
    const K target = key;  // key may refer to an entry that the merges below move
    // The entry to delete is tracked by position rather than by key: when it sits in an inner
    // node it swaps places with its in-order neighbour in a leaf and is deleted from there.
    // Every node entered on the way down has at least MinDegree entries (the root excepted),
    // so removing one never leaves a node too thin.
    Node* n = root_.get();
    bool toMax = false, toMin = false;  // after a swap: the entry is the subtree's last/first
    for (;;) {
      size_t i = toMax ? n->entries.size() : toMin ? 0 : n->LowerBound(target);
      const bool here = (toMax || toMin) ? n->IsLeaf() : n->HitAt(i, target);
      if (toMax && here) i = n->entries.size() - 1;
      if (here && n->IsLeaf()) {
        n->entries.erase(n->entries.begin() + static_cast<std::ptrdiff_t>(i));
        break;
      }
      if (here) {
        Node* left = n->children[i].get();
        Node* right = n->children[i + 1].get();
        if (left->entries.size() > kMinKeys) {
          // Swap with the predecessor: our entry becomes the left subtree's largest.
          std::swap(n->entries[i], MaxLeaf(left)->entries.back());
          n = left;
          toMax = true;
        } else if (right->entries.size() > kMinKeys) {
          std::swap(n->entries[i], MinLeaf(right)->entries.front());
          n = right;
          toMin = true;
        } else {
          // Both neighbours are thin: merge them around the entry and go on in the result.
          Merge(*n, i);
          n = left;
        }
        continue;
      }
      // Not in this node: make sure the child we enter can lose an entry.
      if (n->children[i]->entries.size() == kMinKeys) i = Fill(*n, i);
      n = n->children[i].get();
    }
    --size_;
    if (root_->entries.empty()) {
      if (root_->IsLeaf())
        root_.reset();
      else
        root_ = std::move(root_->children[0]);
    }
    return true;
  }

  ConstIterator begin() const { return ConstIterator(*this); }
  ConstIterator end() const { return ConstIterator(); }

  // The height of the tree (0 when empty); for tests of the balancing.
  size_t Height() const {
    size_t h = 0;
    for (const Node* n = root_.get(); n != nullptr;
         n = n->IsLeaf() ? nullptr : n->children[0].get())
      ++h;
    return h;
  }

 private:
  static std::unique_ptr<Node> Clone(const Node& n) {
    auto c = std::make_unique<Node>();
    c->entries = n.entries;
    c->children.reserve(n.children.size());
    for (const auto& child : n.children) c->children.push_back(Clone(*child));
    return c;
  }

  static Node* MaxLeaf(Node* n) {
    while (!n->IsLeaf()) n = n->children.back().get();
    return n;
  }
  static Node* MinLeaf(Node* n) {
    while (!n->IsLeaf()) n = n->children.front().get();
    return n;
  }

  // Splits the full child i of parent around its middle entry, which moves up into parent.
  static void SplitChild(Node& parent, size_t i) {
    Node& full = *parent.children[i];
    auto right = std::make_unique<Node>();
    const auto mid = static_cast<std::ptrdiff_t>(kMinKeys);
    right->entries.assign(std::make_move_iterator(full.entries.begin() + mid + 1),
                          std::make_move_iterator(full.entries.end()));
    if (!full.IsLeaf()) {
      right->children.assign(std::make_move_iterator(full.children.begin() + mid + 1),
                             std::make_move_iterator(full.children.end()));
      full.children.resize(static_cast<size_t>(mid) + 1);
    }
    parent.entries.insert(parent.entries.begin() + static_cast<std::ptrdiff_t>(i),
                          std::move(full.entries[static_cast<size_t>(mid)]));
    full.entries.resize(static_cast<size_t>(mid));
    parent.children.insert(parent.children.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                           std::move(right));
  }

  // Merges child i+1 and the entry between them into child i.
  static void Merge(Node& parent, size_t i) {
    Node& left = *parent.children[i];
    std::unique_ptr<Node> right = std::move(parent.children[i + 1]);
    left.entries.push_back(std::move(parent.entries[i]));
    for (auto& e : right->entries) left.entries.push_back(std::move(e));
    for (auto& c : right->children) left.children.push_back(std::move(c));
    parent.entries.erase(parent.entries.begin() + static_cast<std::ptrdiff_t>(i));
    parent.children.erase(parent.children.begin() + static_cast<std::ptrdiff_t>(i) + 1);
  }

  // Gives the thin child i an extra entry, borrowed through the parent from a sibling with one
  // to spare, or else by merging it with a sibling. Returns the index of the child that now
  // holds child i's range.
  static size_t Fill(Node& parent, size_t i) {
    if (i > 0 && parent.children[i - 1]->entries.size() > kMinKeys) {
      Node& child = *parent.children[i];
      Node& sib = *parent.children[i - 1];
      child.entries.insert(child.entries.begin(), std::move(parent.entries[i - 1]));
      parent.entries[i - 1] = std::move(sib.entries.back());
      sib.entries.pop_back();
      if (!sib.IsLeaf()) {
        child.children.insert(child.children.begin(), std::move(sib.children.back()));
        sib.children.pop_back();
      }
      return i;
    }
    if (i + 1 < parent.children.size() && parent.children[i + 1]->entries.size() > kMinKeys) {
      Node& child = *parent.children[i];
      Node& sib = *parent.children[i + 1];
      child.entries.push_back(std::move(parent.entries[i]));
      parent.entries[i] = std::move(sib.entries.front());
      sib.entries.erase(sib.entries.begin());
      if (!sib.IsLeaf()) {
        child.children.push_back(std::move(sib.children.front()));
        sib.children.erase(sib.children.begin());
      }
      return i;
    }
    if (i + 1 < parent.children.size()) {
      Merge(parent, i);
      return i;
    }
    Merge(parent, i - 1);
    return i - 1;
  }

  std::unique_ptr<Node> root_;
  size_t size_ = 0;
};
