// cow_2DArray<T>: a rows x cols array stored row by row, shared between copies until one of them
// is written to.
//
// A reference returned by the non-const operator() stays valid until the array is next copied
// or resized; writing through it after a copy would also change the copy.
//
// Distinct copies may be used from different threads; one object must not be written from
// two threads at once.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "omi_Assert.h"

template <class T>
class cow_2DArray {
 public:
  explicit cow_2DArray(size_t rows = 0, size_t cols = 0, const T& fill = T())
      : rows_(rows), cols_(cols) {
    OMI_ASSERT(cols == 0 || rows <= SIZE_MAX / cols);
    if (rows * cols > 0) rep_ = std::make_shared<std::vector<T>>(rows * cols, fill);
  }

  size_t Rows() const { return rows_; }
  size_t Cols() const { return cols_; }

  const T& Get(size_t r, size_t c) const { return (*rep_)[Index(r, c)]; }
  void Set(size_t r, size_t c, const T& v) {
    const size_t i = Index(r, c);
    Mutable()[i] = v;  // v may be our own element: a detach leaves it alive in the old buffer
  }
  const T& operator()(size_t r, size_t c) const { return Get(r, c); }
  T& operator()(size_t r, size_t c) {
    const size_t i = Index(r, c);
    return Mutable()[i];
  }

  // Keeps the cells that lie inside both the old and the new shape; new cells are copies of fill.
  void Resize(size_t rows, size_t cols, const T& fill = T()) {
    if (rows == rows_ && cols == cols_) return;
    OMI_ASSERT(cols == 0 || rows <= SIZE_MAX / cols);
    if (cols == cols_ && rep_ && !IsShared() && rows * cols > 0) {
      // Same row width: the rows that stay are already in place.
      Mutable().resize(rows * cols, fill);
      rows_ = rows;
      return;
    }
    std::shared_ptr<std::vector<T>> next;
    if (rows * cols > 0) {
      next = std::make_shared<std::vector<T>>(rows * cols, fill);
      const size_t keepRows = std::min(rows, rows_), keepCols = std::min(cols, cols_);
      for (size_t r = 0; r < keepRows; ++r)
        for (size_t c = 0; c < keepCols; ++c) (*next)[r * cols + c] = (*rep_)[r * cols_ + c];
    }
    rep_ = std::move(next);
    rows_ = rows;
    cols_ = cols;
  }

  friend bool operator==(const cow_2DArray& a, const cow_2DArray& b) {
    if (a.rows_ != b.rows_ || a.cols_ != b.cols_) return false;
    return a.rep_ == b.rep_ || *a.rep_ == *b.rep_;
  }

  long UseCount() const { return rep_.use_count(); }
  bool IsShared() const { return rep_.use_count() > 1; }

 private:
  size_t Index(size_t r, size_t c) const {
    OMI_ASSERT(r < rows_);
    OMI_ASSERT(c < cols_);
    return r * cols_ + c;
  }

  // Our own unshared cells; the fence orders other owners' last reads before our writes.
  std::vector<T>& Mutable() {
    if (rep_.use_count() > 1)
      rep_ = std::make_shared<std::vector<T>>(*rep_);
    else
      std::atomic_thread_fence(std::memory_order_acquire);
    return *rep_;
  }

  std::shared_ptr<std::vector<T>> rep_;  // null while there are no cells
  size_t rows_ = 0;
  size_t cols_ = 0;
};
