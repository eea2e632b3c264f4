#pragma once
// A plain dictionary value: (key, value) pairs in insertion order.
#include <utility>
#include <vector>

#include "omu_Primitive.h"

class omu_PrimDictionary : public omu_Primitive {
 public:
  omu_PrimDictionary() = default;
  omu_PrimDictionary(const omu_PrimDictionary& other);
  omu_PrimDictionary& operator=(const omu_PrimDictionary&) = delete;

  void Put(std::unique_ptr<omu_Primitive> key, std::unique_ptr<omu_Primitive> value);
  std::size_t Size() const { return entries_.size(); }
  const omu_Primitive& Key(std::size_t i) const { return *entries_[i].first; }
  const omu_Primitive& Value(std::size_t i) const { return *entries_[i].second; }

  omu_PrimKind Kind() const override { return omu_PrimKind::Dictionary; }
  std::unique_ptr<omu_Primitive> Clone() const override {
    return std::make_unique<omu_PrimDictionary>(*this);
  }
  cow_String Repr() const override;

 private:
  std::vector<std::pair<std::unique_ptr<omu_Primitive>, std::unique_ptr<omu_Primitive>>> entries_;
};
