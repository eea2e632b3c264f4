#include "omu_PrimDictionary.h"

omu_PrimDictionary::omu_PrimDictionary(const omu_PrimDictionary& other) : omu_Primitive(other) {
  for (const auto& [k, v] : other.entries_) entries_.emplace_back(k->Clone(), v->Clone());
}

void omu_PrimDictionary::Put(std::unique_ptr<omu_Primitive> key,
                             std::unique_ptr<omu_Primitive> value) {
  entries_.emplace_back(std::move(key), std::move(value));
}

cow_String omu_PrimDictionary::Repr() const {
  cow_String out("{");
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (i) out += ", ";
    out += entries_[i].first->Repr() + ": " + entries_[i].second->Repr();
  }
  out += "}";
  return out;
}
