#pragma once
// An identity stamped on records when they are made; copies carry their source's identity.
#include <atomic>
#include <cstdint>

class cls_Uid {
 public:
  cls_Uid() : value_(Next()) {}
  std::uint64_t Value() const { return value_; }
  bool operator==(const cls_Uid& o) const { return value_ == o.value_; }

 private:
  static std::uint64_t Next() {
    static std::atomic<std::uint64_t> counter{0};
    return ++counter;
  }
  std::uint64_t value_;
};
