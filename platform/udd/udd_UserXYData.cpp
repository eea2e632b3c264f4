#include "udd_UserXYData.h"

#include <cmath>
#include <cstring>
#include <limits>

udd_UserXYData::udd_UserXYData(std::size_t capacity) {
  pairs_.Reserve(capacity);
}

std::vector<std::array<float, 2>> udd_UserXYData::ListListData() const {
  std::vector<std::array<float, 2>> out;
  out.reserve(pairs_.Size());
  for (std::size_t i = 0; i < pairs_.Size(); ++i) out.push_back({pairs_[i].x, pairs_[i].y});
  return out;
}

void udd_UserXYData::SetListListData(const std::vector<std::array<double, 2>>& pairs) {
  cow_1DArrayList<udd_PairEntry> fresh;
  fresh.Reserve(pairs.size());
  for (const auto& p : pairs)
    fresh.Append(udd_PairEntry{udd_PairEntry::Narrow(p[0]), udd_PairEntry::Narrow(p[1])});
  pairs_ = fresh;
}

namespace {
// udd_PairEntry::Narrow in a form the compiler turns into vector code: the hardware conversion
// already rounds to nearest and overflows to infinity; only a NaN becomes the one quiet NaN.
inline float NarrowValue(double v) {
  return std::isnan(v) ? std::numeric_limits<float>::quiet_NaN() : static_cast<float>(v);
}
}  // namespace

void udd_UserXYData::SetPairValues(const double* values, std::size_t pairCount) {
  auto fresh = cow_1DArrayList<udd_PairEntry>::ForOverwrite(pairCount);
  udd_PairEntry* out = fresh.MutableData();
  for (std::size_t i = 0; i < pairCount; ++i) {
    out[i].x = NarrowValue(values[2 * i]);
    out[i].y = NarrowValue(values[2 * i + 1]);
  }
  pairs_ = std::move(fresh);
}

void udd_UserXYData::SetPairValues(const float* values, std::size_t pairCount) {
  auto fresh = cow_1DArrayList<udd_PairEntry>::ForOverwrite(pairCount);
  // Two packed floats per pair (see oda_XYDataCommonIntObj::LendPairs).
  if (pairCount > 0)
    std::memcpy(static_cast<void*>(fresh.MutableData()), values, pairCount * sizeof(udd_PairEntry));
  pairs_ = std::move(fresh);
}

cow_String udd_UserXYData::Description() const {
  cow_String text = sourceDescription_;
  if (!contentDescription_.IsEmpty()) text += ": " + contentDescription_;
  if (!positionDescription_.IsEmpty()) text += " " + positionDescription_;
  return text;
}
