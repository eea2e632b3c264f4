// cow_1DArrayList<T>: a growable 0-based array, shared between copies until one of them is
// written to. It is a cow_1DArray that can also grow and shrink at any position.
#pragma once

#include <cstddef>
#include <iterator>

#include "cow_1DArray.h"
#include "omi_Assert.h"

template <class T>
class cow_1DArrayList : public cow_1DArray<T> {
  using Base = cow_1DArray<T>;

 public:
  explicit cow_1DArrayList(size_t n = 0, const T& fill = T()) : Base(n, fill) {}
  // See cow_1DArray::ForOverwrite.
  static cow_1DArrayList ForOverwrite(size_t n) {
    cow_1DArrayList a;
    a.SetForOverwrite(n);
    return a;
  }

  // Amortised O(1) while the array is not shared.
  void Append(const T& v) { this->Mutable(1).push_back(v); }
  // Inserts v so that it ends up at position pos (pos == Size() appends).
  void Insert(size_t pos, const T& v) {
    OMI_ASSERT(pos <= this->Size());
    auto& vec = this->Mutable(1);
    vec.insert(vec.begin() + static_cast<std::ptrdiff_t>(pos), v);
  }
  void RemoveAt(size_t pos) {
    OMI_ASSERT(pos < this->Size());
    auto& vec = this->Mutable();
    vec.erase(vec.begin() + static_cast<std::ptrdiff_t>(pos));
  }
  void RemoveLast() {
    OMI_ASSERT(!this->IsEmpty());
    this->Mutable().pop_back();
  }
  // An unshared array keeps its storage for reuse.
  void Clear() {
    if (this->IsShared())
      this->rep_.reset();
    else if (this->rep_)
      this->rep_->clear();
  }
  // A shared array is detached with the requested room, ready for the appends that follow.
  void Reserve(size_t n) {
    if (this->IsShared() || n > Capacity())
      this->Mutable(n > this->Size() ? n - this->Size() : 0).reserve(n);
  }
  size_t Capacity() const { return this->rep_ ? this->rep_->capacity() : 0; }
};
