// omi_BlkBitVect: a growable vector of bits stored in 64-bit blocks. Setting a bit beyond the
// end grows the vector; reading or clearing one there sees an unset bit and changes nothing.
// Bits at and beyond Size() are kept zero, so counting and growing never see stale bits.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

class omi_BlkBitVect {
 public:
  explicit omi_BlkBitVect(size_t nbits = 0) : blocks_(BlocksFor(nbits), 0), size_(nbits) {}

  size_t Size() const { return size_; }

  // Keeps the first min(n, Size()) bits; new bits are unset.
  void Resize(size_t n) {
    blocks_.resize(BlocksFor(n), 0);
    size_ = n;
    if (n % kBits != 0) blocks_.back() &= (uint64_t{1} << (n % kBits)) - 1;
  }

  void Set(size_t i) {
    if (i >= size_) Resize(i + 1);
    blocks_[i / kBits] |= Mask(i);
  }
  void Clear(size_t i) {
    if (i < size_) blocks_[i / kBits] &= ~Mask(i);
  }
  void Set(size_t i, bool on) { on ? Set(i) : Clear(i); }
  bool Test(size_t i) const { return i < size_ && (blocks_[i / kBits] & Mask(i)) != 0; }

  void ClearAll() { std::fill(blocks_.begin(), blocks_.end(), 0); }
  size_t Count() const {
    size_t n = 0;
    for (uint64_t b : blocks_) n += static_cast<size_t>(std::popcount(b));
    return n;
  }

  // Index of the first set bit; Size() when none is set.
  size_t FirstSet() const { return SetFrom(0); }
  // Index of the first set bit after i; Size() when there is none.
  size_t NextSet(size_t i) const { return i >= size_ ? size_ : SetFrom(i + 1); }

  friend bool operator==(const omi_BlkBitVect&, const omi_BlkBitVect&) = default;

 private:
  static constexpr size_t kBits = 64;
  static size_t BlocksFor(size_t nbits) { return (nbits + kBits - 1) / kBits; }
  static uint64_t Mask(size_t i) { return uint64_t{1} << (i % kBits); }

  size_t SetFrom(size_t i) const {
    if (i >= size_) return size_;
    size_t blk = i / kBits;
    uint64_t bits = blocks_[blk] & (~uint64_t{0} << (i % kBits));
    while (bits == 0) {
      if (++blk == blocks_.size()) return size_;
      bits = blocks_[blk];
    }
    return blk * kBits + static_cast<size_t>(std::countr_zero(bits));
  }

  std::vector<uint64_t> blocks_;
  size_t size_ = 0;
};
