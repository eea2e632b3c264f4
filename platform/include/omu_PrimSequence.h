#pragma once
// The common body of tuples and lists: an ordered run of owned primitives. A sequence of (x, y)
// number pairs may instead be held packed as 2n doubles (the binding fills that form straight from
// a buffer, with no object per pair); its items are built only when asked for one by one.
// The binding may also lend a call's arguments a view of a caller's float32 or float64 buffer,
// so that a reader storing the numbers copies them once, in the precision it keeps.
#include <cstddef>
#include <memory>
#include <vector>

#include "omu_Primitive.h"

class omu_PrimSequence : public omu_Primitive {
 public:
  explicit omu_PrimSequence(std::size_t size = 0);
  omu_PrimSequence(const omu_PrimSequence& other);
  omu_PrimSequence& operator=(const omu_PrimSequence&) = delete;

  std::size_t Size() const {
    return isPairArray_ ? (view_ ? viewCount_ : pairs_.size()) / 2 : items_.size();
  }
  const omu_Primitive& Item(std::size_t i) const;
  void Put(std::size_t i, std::unique_ptr<omu_Primitive> item);
  void Append(std::unique_ptr<omu_Primitive> item);

  // Packed (x, y) pairs: `values` holds x0, y0, x1, y1, ...
  void SetPairs(std::vector<double> values);
  // Packed pairs that stay in the caller's buffer: `count` floats or doubles at `numbers`, valid
  // while `keeper` lives. Only a call's own arguments hold such a view; a copy owns its numbers.
  void SetBorrowedPairs(const void* numbers, bool areFloats, std::size_t count,
                        std::shared_ptr<const void> keeper);
  bool IsPairArray() const { return isPairArray_; }
  // The packed numbers as doubles (a view's read into the sequence on the first call).
  const std::vector<double>& PairValues() const;
  // The packed numbers as float32, rounded to nearest (a float32 view's copied as they are).
  std::vector<float> PairValuesAsFloats() const;
  // The packed numbers where they are (the caller's buffer for a view), without a copy: either
  // `doubles` or `floats` is set, the other null; returns how many numbers there are.
  std::size_t PackedNumbers(const double*& doubles, const float*& floats) const;
  // Moves the packed numbers out, leaving the sequence empty (a reader that keeps them).
  std::vector<double> TakePairValues();

  // Reading items in order, as arguments are read: Begin, Get per item, Optional before trailing
  // optional items, End. Get returns false for a missing optional item and raises a TypeError for
  // a missing required item or an item of the wrong kind; End raises for items left over.
  void Begin();
  template <class T>
  bool Get(T& value);
  void Optional() { optional_ = true; }
  void End();

 protected:
  cow_String ItemsRepr(const char* open, const char* close) const;

 private:
  void Materialize() const;
  const omu_Primitive* NextForRead();

  bool isPairArray_ = false;
  mutable std::vector<double> pairs_;
  const void* view_ = nullptr;
  bool viewFloats_ = false;
  std::size_t viewCount_ = 0;
  std::shared_ptr<const void> keeper_;
  mutable std::vector<std::unique_ptr<omu_Primitive>> items_;
  std::size_t cursor_ = 0;
  bool optional_ = false;
};

#include "omu_ValueReader.h"

template <class T>
bool omu_PrimSequence::Get(T& value) {
  const omu_Primitive* item = NextForRead();
  if (!item) return false;
  omu_ValueReader::Require(*item, value, cow_String("item ") + cow_String::FromInt(cursor_ - 1));
  return true;
}
