#include "omu_PrimSequence.h"

#include "omi_Assert.h"
#include "omu_PrimNumber.h"
#include "omu_PrimTuple.h"
#include "omu_TypeErrorException.h"

omu_PrimSequence::omu_PrimSequence(std::size_t size) : items_(size) {}

omu_PrimSequence::omu_PrimSequence(const omu_PrimSequence& other)
    : omu_Primitive(other), isPairArray_(other.isPairArray_), pairs_(other.PairValues()) {
  if (!isPairArray_) {
    items_.reserve(other.items_.size());
    for (const auto& item : other.items_) items_.push_back(item ? item->Clone() : nullptr);
  }
}

void omu_PrimSequence::SetPairs(std::vector<double> values) {
  OMI_ASSERT(values.size() % 2 == 0);
  pairs_ = std::move(values);
  view_ = nullptr;
  keeper_.reset();
  items_.clear();
  isPairArray_ = true;
}

void omu_PrimSequence::SetBorrowedPairs(const void* numbers, bool areFloats, std::size_t count,
                                        std::shared_ptr<const void> keeper) {
  OMI_ASSERT(count % 2 == 0);
  pairs_.clear();
  items_.clear();
  view_ = count ? numbers : nullptr;
  viewFloats_ = areFloats;
  viewCount_ = count;
  keeper_ = std::move(keeper);
  isPairArray_ = true;
}

const std::vector<double>& omu_PrimSequence::PairValues() const {
  if (view_ && pairs_.empty()) {
    if (viewFloats_) {
      const float* f = static_cast<const float*>(view_);
      pairs_.assign(f, f + viewCount_);
    } else {
      const double* d = static_cast<const double*>(view_);
      pairs_.assign(d, d + viewCount_);
    }
  }
  return pairs_;
}

std::size_t omu_PrimSequence::PackedNumbers(const double*& doubles, const float*& floats) const {
  doubles = nullptr;
  floats = nullptr;
  if (view_ && pairs_.empty()) {
    if (viewFloats_)
      floats = static_cast<const float*>(view_);
    else
      doubles = static_cast<const double*>(view_);
    return viewCount_;
  }
  doubles = pairs_.data();
  return pairs_.size();
}

std::vector<float> omu_PrimSequence::PairValuesAsFloats() const {
  if (view_ && viewFloats_) {
    const float* f = static_cast<const float*>(view_);
    return std::vector<float>(f, f + viewCount_);
  }
  const double* d = view_ && pairs_.empty() ? static_cast<const double*>(view_) : pairs_.data();
  const std::size_t n = view_ && pairs_.empty() ? viewCount_ : pairs_.size();
  std::vector<float> out(n);
  for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<float>(d[i]);
  return out;
}

// Turns the packed pairs into item tuples, for callers that walk items one by one.
void omu_PrimSequence::Materialize() const {
  if (!isPairArray_ || !items_.empty() || Size() == 0) return;
  const std::vector<double>& pairs = PairValues();
  items_.reserve(pairs.size() / 2);
  for (std::size_t i = 0; i < pairs.size(); i += 2) {
    auto pair = std::make_unique<omu_PrimTuple>(2);
    pair->Put(0, std::make_unique<omu_PrimNumber>(pairs[i]));
    pair->Put(1, std::make_unique<omu_PrimNumber>(pairs[i + 1]));
    items_.push_back(std::move(pair));
  }
}

const omu_Primitive& omu_PrimSequence::Item(std::size_t i) const {
  OMI_ASSERT(i < Size());
  Materialize();
  OMI_ASSERT(items_[i] != nullptr);
  return *items_[i];
}

void omu_PrimSequence::Put(std::size_t i, std::unique_ptr<omu_Primitive> item) {
  OMI_ASSERT(!isPairArray_ && i < items_.size());
  items_[i] = std::move(item);
}

void omu_PrimSequence::Append(std::unique_ptr<omu_Primitive> item) {
  OMI_ASSERT(!isPairArray_);
  items_.push_back(std::move(item));
}

void omu_PrimSequence::Begin() {
  cursor_ = 0;
  optional_ = false;
}

const omu_Primitive* omu_PrimSequence::NextForRead() {
  if (cursor_ >= Size()) {
    if (!optional_)
      throw omu_TypeErrorException(
          "a sequence of at least " + cow_String::FromInt(static_cast<long long>(cursor_ + 1)) +
          " items is required, got " + cow_String::FromInt(static_cast<long long>(Size())));
    return nullptr;
  }
  return &Item(cursor_++);
}

void omu_PrimSequence::End() {
  if (cursor_ < Size())
    throw omu_TypeErrorException(
        "a sequence of at most " + cow_String::FromInt(static_cast<long long>(cursor_)) +
        " items is required, got " + cow_String::FromInt(static_cast<long long>(Size())));
}

cow_String omu_PrimSequence::ItemsRepr(const char* open, const char* close) const {
  cow_String out(open);
  for (std::size_t i = 0; i < Size(); ++i) {
    if (i) out += ", ";
    out += Item(i).Repr();
  }
  out += close;
  return out;
}

cow_String omu_PrimTuple::Repr() const {
  if (Size() == 1) return "(" + Item(0).Repr() + ",)";
  return ItemsRepr("(", ")");
}

std::vector<double> omu_PrimSequence::TakePairValues() {
  PairValues();
  std::vector<double> values = std::move(pairs_);
  pairs_.clear();
  view_ = nullptr;
  viewCount_ = 0;
  keeper_.reset();
  return values;
}
