#include "omu_Arguments.h"

#include <stdexcept>

#include "omu_KeywordErrorException.h"
#include "omu_PrimSequence.h"
#include "omu_TypeErrorException.h"

omu_Arguments::omu_Arguments(cow_String command) : command_(std::move(command)) {}

void omu_Arguments::AddPositional(std::unique_ptr<omu_Primitive> value) {
  positional_.push_back(Slot{"", std::move(value), false});
}

void omu_Arguments::AddKeyword(const cow_String& keyword, std::unique_ptr<omu_Primitive> value) {
  for (Slot& slot : keywords_) {
    if (slot.keyword == keyword) {
      slot.value = std::move(value);
      return;
    }
  }
  keywords_.push_back(Slot{keyword, std::move(value), false});
}

void omu_Arguments::Begin() {
  cursor_ = 0;
  optional_ = false;
  lastTook_ = true;
  pending_ = "";
  pendingKeyword_ = "";
  formError_ = "";
  formKeyword_ = "";
  for (Slot& slot : positional_) slot.consumed = false;
  for (Slot& slot : keywords_) slot.consumed = false;
}

omu_Arguments::Slot* omu_Arguments::FindKeyword(const char* keyword) {
  if (signature_ && !signature_->Find(keyword)) {
    std::string text = command_.Std();
    text.append("() reads the keyword '").append(keyword).append("', which it does not declare");
    throw std::logic_error(text);
  }
  return FindAnyKeyword(keyword);
}

omu_Arguments::Slot* omu_Arguments::FindAnyKeyword(const char* keyword) {
  for (Slot& slot : keywords_)
    if (!slot.consumed && slot.keyword == keyword) return &slot;
  return nullptr;
}

omu_PrimSequence* omu_Arguments::TakePacked(const char* keyword) {
  Slot* slot = FindKeyword(keyword);
  if (!slot ||
      (slot->value->Kind() != omu_PrimKind::Tuple && slot->value->Kind() != omu_PrimKind::List))
    return nullptr;
  auto& sequence = static_cast<omu_PrimSequence&>(*slot->value);
  if (!sequence.IsPairArray()) return nullptr;
  slot->consumed = true;
  return &sequence;
}

bool omu_Arguments::TakePairValues(const char* keyword, std::vector<double>& values) {
  omu_PrimSequence* sequence = TakePacked(keyword);
  if (sequence) values = sequence->TakePairValues();
  return sequence != nullptr;
}

bool omu_Arguments::TakePairValuesAsFloats(const char* keyword, std::vector<float>& values) {
  omu_PrimSequence* sequence = TakePacked(keyword);
  if (sequence) values = sequence->PairValuesAsFloats();
  return sequence != nullptr;
}

omu_Arguments::Slot* omu_Arguments::NextPositional() {
  while (cursor_ < positional_.size() && positional_[cursor_].consumed) ++cursor_;
  if (cursor_ >= positional_.size()) return nullptr;
  return &positional_[cursor_++];
}

void omu_Arguments::Fail(cow_String message) {
  if (pending_.IsEmpty()) pending_ = std::move(message);
}

cow_String omu_Arguments::Describe(const cow_String& what) const {
  if (command_.IsEmpty()) return what;
  return command_ + "(): " + what;
}

bool omu_Arguments::Alternative() {
  if (lastTook_) return false;
  formError_ = pending_;
  formKeyword_ = pendingKeyword_;
  pending_ = "";
  pendingKeyword_ = "";
  lastTook_ = true;
  return true;
}

void omu_Arguments::RaisePending() const {
  throw omu_KeywordErrorException(pending_, pendingKeyword_);
}

void omu_Arguments::RaiseFormError() const {
  throw omu_KeywordErrorException(
      formError_.IsEmpty() ? Describe("no usable form of the call") : formError_, formKeyword_);
}

void omu_Arguments::Optional() {
  if (!pending_.IsEmpty()) RaisePending();
  optional_ = true;
}

void omu_Arguments::End(const char*) {
  if (!pending_.IsEmpty()) RaisePending();
  for (const Slot& slot : keywords_)
    if (!slot.consumed)
      throw omu_KeywordErrorException(
          Describe("got an unexpected keyword argument '" + slot.keyword + "'"), slot.keyword);
  std::size_t used = 0;
  for (const Slot& slot : positional_) used += slot.consumed ? 1 : 0;
  if (used < positional_.size())
    throw omu_TypeErrorException(
        Describe("takes " + cow_String::FromInt(static_cast<long long>(used)) +
                 " positional arguments but " +
                 cow_String::FromInt(static_cast<long long>(positional_.size())) + " were given"));
}

namespace {
// A value as a script would write it, with long sequences written as their size: a call's text
// stays short however much data the call carries.
cow_String BoundedRepr(const omu_Primitive& value) {
  constexpr std::size_t kPairsShown = 4;
  constexpr std::size_t kItemsShown = 16;
  if (value.Kind() != omu_PrimKind::Tuple && value.Kind() != omu_PrimKind::List)
    return value.Repr();
  const auto& sequence = static_cast<const omu_PrimSequence&>(value);
  const std::size_t n = sequence.Size();
  if (sequence.IsPairArray() ? n > kPairsShown : n > kItemsShown)
    return "<" + cow_String::FromInt(static_cast<long long>(n)) +
           (sequence.IsPairArray() ? " pairs>" : " items>");
  if (sequence.IsPairArray()) return value.Repr();
  const bool isList = value.Kind() == omu_PrimKind::List;
  cow_String out(isList ? "[" : "(");
  for (std::size_t i = 0; i < n; ++i) {
    if (i) out += ", ";
    out += BoundedRepr(sequence.Item(i));
  }
  if (!isList && n == 1) out += ",";
  out += isList ? "]" : ")";
  return out;
}
}  // namespace

cow_String omu_Arguments::AsRepr() const {
  cow_String out("(");
  bool first = true;
  for (const Slot& slot : positional_) {
    if (!first) out += ", ";
    out += BoundedRepr(*slot.value);
    first = false;
  }
  for (const Slot& slot : keywords_) {
    if (!first) out += ", ";
    out += slot.keyword + "=" + BoundedRepr(*slot.value);
    first = false;
  }
  return out + ")";
}
