// cow_List<T>: a singly linked list with a size and a tail pointer, shared between copies until
// one of them is modified. Positions are 0-based. Every walk over the nodes (copy, destruction,
// search) is a loop, so lists of any length are safe on the stack.
//
// A reference returned by a non-const accessor stays valid until the list is next copied or
// structurally changed; writing through it after a copy would also change the copy.
//
// Distinct copies may be used from different threads; one object must not be written from
// two threads at once.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

#include "omi_Assert.h"

template <class T>
class cow_List {
  struct Node {
    T value;
    Node* next = nullptr;
  };

  struct Rep {
    Node* head = nullptr;
    Node* tail = nullptr;
    size_t size = 0;

    Rep() = default;
    Rep(const Rep& o) {
      try {
        for (const Node* n = o.head; n != nullptr; n = n->next) PushBack(new Node{n->value});
      } catch (...) {
        Free();
        throw;
      }
    }
    Rep& operator=(const Rep&) = delete;
    ~Rep() { Free(); }

    void Free() {
      for (Node* n = head; n != nullptr;) {
        Node* next = n->next;
        delete n;
        n = next;
      }
      head = tail = nullptr;
      size = 0;
    }
    void PushBack(Node* n) {
      (tail ? tail->next : head) = n;
      tail = n;
      ++size;
    }
    Node* At(size_t pos) const {
      OMI_ASSERT(pos < size);
      Node* n = head;
      while (pos-- > 0) n = n->next;
      return n;
    }
  };

 public:
  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = T;
    using difference_type = std::ptrdiff_t;
    using pointer = const T*;
    using reference = const T&;

    const_iterator() = default;
    const T& operator*() const { return node_->value; }
    const T* operator->() const { return &node_->value; }
    const_iterator& operator++() {
      node_ = node_->next;
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator r = *this;
      node_ = node_->next;
      return r;
    }
    friend bool operator==(const const_iterator&, const const_iterator&) = default;

   private:
    friend class cow_List;
    explicit const_iterator(const Node* n) : node_(n) {}
    const Node* node_ = nullptr;
  };
  using iterator = const_iterator;

  cow_List() = default;
  cow_List(std::initializer_list<T> init) {
    for (const T& v : init) Append(v);
  }

  size_t Size() const { return rep_ ? rep_->size : 0; }
  bool IsEmpty() const { return Size() == 0; }

  void Append(const T& v) {
    // The node is built before detaching: v may live in this list's shared nodes.
    std::unique_ptr<Node> n(new Node{v});
    Mutable().PushBack(n.release());
  }
  void Prepend(const T& v) {
    std::unique_ptr<Node> n(new Node{v});
    Rep& r = Mutable();
    n->next = r.head;
    if (r.tail == nullptr) r.tail = n.get();
    r.head = n.release();
    ++r.size;
  }
  // Inserts v so that it ends up at position pos + 1.
  void InsertAfter(size_t pos, const T& v) {
    OMI_ASSERT(pos < Size());
    std::unique_ptr<Node> n(new Node{v});
    Rep& r = Mutable();
    Node* prev = r.At(pos);
    n->next = prev->next;
    if (r.tail == prev) r.tail = n.get();
    prev->next = n.release();
    ++r.size;
  }
  void RemoveAt(size_t pos) {
    OMI_ASSERT(pos < Size());
    Rep& r = Mutable();
    Node* victim;
    if (pos == 0) {
      victim = r.head;
      r.head = victim->next;
      if (r.tail == victim) r.tail = nullptr;
    } else {
      Node* prev = r.At(pos - 1);
      victim = prev->next;
      prev->next = victim->next;
      if (r.tail == victim) r.tail = prev;
    }
    --r.size;
    delete victim;
  }
  // Removes the first element equal to v; false (and no copy made) when there is none.
  bool Remove(const T& v) {
    const long pos = Position(v);
    if (pos < 0) return false;
    RemoveAt(static_cast<size_t>(pos));
    return true;
  }

  long Position(const T& v) const {
    long i = 0;
    for (const T& e : *this) {
      if (e == v) return i;
      ++i;
    }
    return -1;
  }
  bool IsMember(const T& v) const { return Position(v) >= 0; }
  bool AppendUnlessMember(const T& v) {
    if (IsMember(v)) return false;
    Append(v);
    return true;
  }

  bool IsEqual(const cow_List& o) const {
    if (rep_ == o.rep_) return true;
    if (Size() != o.Size()) return false;
    return std::equal(begin(), end(), o.begin());
  }
  friend bool operator==(const cow_List& a, const cow_List& b) { return a.IsEqual(b); }

  // The elements of a that are not in b, in a's order (duplicates in a are all kept).
  friend cow_List operator-(const cow_List& a, const cow_List& b) {
    cow_List r;
    for (const T& e : a)
      if (!b.IsMember(e)) r.Append(e);
    return r;
  }

  // Ascending by operator<, stable. Nodes are relinked, not copied.
  void Sort() {
    if (Size() < 2) return;
    Rep& r = Mutable();
    std::vector<Node*> nodes;
    nodes.reserve(r.size);
    for (Node* n = r.head; n != nullptr; n = n->next) nodes.push_back(n);
    std::stable_sort(nodes.begin(), nodes.end(),
                     [](const Node* a, const Node* b) { return a->value < b->value; });
    for (size_t i = 0; i + 1 < nodes.size(); ++i) nodes[i]->next = nodes[i + 1];
    nodes.back()->next = nullptr;
    r.head = nodes.front();
    r.tail = nodes.back();
  }

  const T& Get(size_t pos) const {
    OMI_ASSERT(pos < Size());
    return rep_->At(pos)->value;
  }
  T& Get(size_t pos) {
    OMI_ASSERT(pos < Size());
    return Mutable().At(pos)->value;
  }
  const T& operator[](size_t pos) const { return Get(pos); }
  const T& First() const {
    OMI_ASSERT(!IsEmpty());
    return rep_->head->value;
  }
  const T& Last() const {
    OMI_ASSERT(!IsEmpty());
    return rep_->tail->value;
  }

  void Clear() { rep_.reset(); }

  const_iterator begin() const { return const_iterator(rep_ ? rep_->head : nullptr); }
  const_iterator end() const { return const_iterator(); }

  long UseCount() const { return rep_.use_count(); }
  bool IsShared() const { return rep_.use_count() > 1; }

 private:
  // Our own unshared nodes; the fence orders other owners' last reads before our writes.
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
