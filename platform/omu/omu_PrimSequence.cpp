#include "omu_PrimSequence.h"

#include "omi_Assert.h"
#include "omu_PrimNumber.h"
#include "omu_PrimTuple.h"
#include "omu_TypeErrorException.h"

omu_PrimSequence::omu_PrimSequence(std::size_t size) : items_(size) {}

omu_PrimSequence::omu_PrimSequence(const omu_PrimSequence& other)
    : omu_Primitive(other), isPairArray_(other.isPairArray_), pairs_(other.pairs_) {
  if (!isPairArray_) {
    items_.reserve(other.items_.size());
    for (const auto& item : other.items_) items_.push_back(item ? item->Clone() : nullptr);
  }
}

void omu_PrimSequence::SetPairs(std::vector<double> values) {
  OMI_ASSERT(values.size() % 2 == 0);
  pairs_ = std::move(values);
  items_.clear();
  isPairArray_ = true;
}

// Turns the packed pairs into item tuples, for callers that walk items one by one.
void omu_PrimSequence::Materialize() const {
  if (!isPairArray_ || !items_.empty() || pairs_.empty()) return;
  items_.reserve(pairs_.size() / 2);
  for (std::size_t i = 0; i < pairs_.size(); i += 2) {
    auto pair = std::make_unique<omu_PrimTuple>(2);
    pair->Put(0, std::make_unique<omu_PrimNumber>(pairs_[i]));
    pair->Put(1, std::make_unique<omu_PrimNumber>(pairs_[i + 1]));
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
  std::vector<double> values = std::move(pairs_);
  pairs_.clear();
  return values;
}
