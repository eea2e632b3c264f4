#include "udd_UserXYData.h"

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

// Fills the record's own array in place (it keeps the room the constructor reserved) unless a
// copy shares it.
void udd_UserXYData::SetPairValues(const double* values, std::size_t pairCount) {
  pairs_.Clear();
  pairs_.Reserve(pairCount);
  for (std::size_t i = 0; i < pairCount; ++i)
    pairs_.Append(udd_PairEntry{udd_PairEntry::Narrow(values[2 * i]),
                                udd_PairEntry::Narrow(values[2 * i + 1])});
}

cow_String udd_UserXYData::Description() const {
  cow_String text = sourceDescription_;
  if (!contentDescription_.IsEmpty()) text += ": " + contentDescription_;
  if (!positionDescription_.IsEmpty()) text += " " + positionDescription_;
  return text;
}
