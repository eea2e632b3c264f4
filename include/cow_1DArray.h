// cow_1DArray<T>: a 0-based array of a size fixed at construction (changed only by Resize), shared
// between copies until one of them is written to.
//
// A reference returned by a non-const accessor stays valid until the array is next copied or
// resized; writing through it after a copy would also change the copy.
//
// Distinct copies may be used from different threads; one object must not be written from
// two threads at once.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

#include "omi_Assert.h"

// The allocator of the arrays' storage: std::allocator, except that an element made without a
// value (only ForOverwrite does that) is left unwritten when its type is trivially copyable, so
// that an array filled in bulk right after is written once, not twice.
template <class T>
struct cow_StorageAllocator : std::allocator<T> {
  template <class U>
  struct rebind {
    using other = cow_StorageAllocator<U>;
  };
  cow_StorageAllocator() = default;
  template <class U>
  cow_StorageAllocator(const cow_StorageAllocator<U>&) noexcept {}
  template <class U>
  void construct(U* p) {
    if constexpr (!std::is_trivially_copyable_v<U>) ::new (static_cast<void*>(p)) U();
  }
  template <class U, class A, class... More>
  void construct(U* p, A&& a, More&&... more) {
    ::new (static_cast<void*>(p)) U(std::forward<A>(a), std::forward<More>(more)...);
  }
};

template <class T>
class cow_1DArray {
 public:
  using const_iterator = const T*;

  using Storage = std::vector<T, cow_StorageAllocator<T>>;

  explicit cow_1DArray(size_t n = 0, const T& fill = T()) {
    if (n > 0) rep_ = std::make_shared<Storage>(n, fill);
  }
  // An array of n elements whose values are all about to be written (through MutableData):
  // trivially copyable elements are not set first.
  static cow_1DArray ForOverwrite(size_t n) {
    cow_1DArray a;
    a.SetForOverwrite(n);
    return a;
  }

  size_t Size() const { return rep_ ? rep_->size() : 0; }
  bool IsEmpty() const { return Size() == 0; }

  const T& operator[](size_t i) const { return Get(i); }
  T& operator[](size_t i) {
    OMI_ASSERT(i < Size());
    return Mutable()[i];
  }
  const T& Get(size_t i) const {
    OMI_ASSERT(i < Size());
    return (*rep_)[i];
  }
  void Set(size_t i, const T& v) {
    OMI_ASSERT(i < Size());
    // v may be one of our own elements; after a detach it still lives in the old buffer.
    Mutable()[i] = v;
  }

  // Keeps the first min(n, Size()) elements; new ones are copies of fill.
  void Resize(size_t n, const T& fill = T()) {
    if (n == Size()) return;
    if (n == 0) {
      rep_.reset();
      return;
    }
    if (rep_ && rep_.use_count() > 1) {
      // Copy only the part that survives rather than the whole array.
      auto copy = std::make_shared<Storage>();
      copy->reserve(n);
      copy->assign(rep_->begin(), rep_->begin() + static_cast<std::ptrdiff_t>(std::min(n, Size())));
      copy->resize(n, fill);
      rep_ = std::move(copy);
      return;
    }
    Mutable().resize(n, fill);
  }

  // The width of the rows callers store in this array; recorded only, default 1.
  void SetBlockSize(int n) { blockSize_ = n; }
  int BlockSize() const { return blockSize_; }

  const T* Data() const { return rep_ ? rep_->data() : nullptr; }
  // The elements for writing in bulk (the array is unshared first, as by any write).
  T* MutableData() { return rep_ ? Mutable().data() : nullptr; }
  const_iterator begin() const { return Data(); }
  const_iterator end() const { return Data() + Size(); }

  friend bool operator==(const cow_1DArray& a, const cow_1DArray& b) {
    return a.rep_ == b.rep_ || (a.Size() == b.Size() && std::equal(a.begin(), a.end(), b.begin()));
  }

  long UseCount() const { return rep_.use_count(); }
  bool IsShared() const { return rep_.use_count() > 1; }

 protected:
  // Our own unshared elements, with room for `extra` more when they have to be copied. The
  // fence orders the other owners' last reads before our writes.
  Storage& Mutable(size_t extra = 0) {
    if (!rep_) {
      rep_ = std::make_shared<Storage>();
      rep_->reserve(extra);
    } else if (rep_.use_count() > 1) {
      auto copy = std::make_shared<Storage>();
      copy->reserve(rep_->size() + extra);
      copy->assign(rep_->begin(), rep_->end());
      rep_ = std::move(copy);
    } else {
      std::atomic_thread_fence(std::memory_order_acquire);
    }
    return *rep_;
  }

  void SetForOverwrite(size_t n) {
    if (n == 0) return;
    rep_ = std::make_shared<Storage>();
    rep_->resize(n);  // no value: see cow_StorageAllocator
  }

  std::shared_ptr<Storage> rep_;  // null while empty
  int blockSize_ = 1;
};
