#pragma once
// The XY data record: named, described (x, y) pairs in single precision.
#include <array>
#include <cstdint>
#include <vector>

#include "cls_Uid.h"
#include "cow_1DArrayList.h"
#include "cow_String.h"
#include "udd_PairEntry.h"

class udd_UserXYData {
 public:
  // Type codes that readers set: typed by the user, read from history output, and the value a
  // record starts with (kept by data read from files).
  static constexpr std::int32_t kTypedData = 2;
  static constexpr std::int32_t kHistoryData = 0;
  static constexpr std::int32_t kInitialType = 1;

  // A record with room for `capacity` pairs (it holds none until they are set).
  explicit udd_UserXYData(std::size_t capacity = 0);

  const cow_String& Name() const { return name_; }
  void SetName(const cow_String& v) { name_ = v; }
  std::int32_t TypeCode() const { return typeCode_; }
  void SetTypeCode(std::int32_t v) { typeCode_ = v; }
  const cow_String& FileName() const { return fileName_; }
  void SetFileName(const cow_String& v) { fileName_ = v; }
  const cow_String& SourceDescription() const { return sourceDescription_; }
  void SetSourceDescription(const cow_String& v) { sourceDescription_ = v; }
  const cow_String& ContentDescription() const { return contentDescription_; }
  void SetContentDescription(const cow_String& v) { contentDescription_ = v; }
  const cow_String& PositionDescription() const { return positionDescription_; }
  void SetPositionDescription(const cow_String& v) { positionDescription_ = v; }
  const cow_String& XAxisLabel() const { return xAxisLabel_; }
  void SetXAxisLabel(const cow_String& v) { xAxisLabel_ = v; }
  const cow_String& YAxisLabel() const { return yAxisLabel_; }
  void SetYAxisLabel(const cow_String& v) { yAxisLabel_ = v; }
  const cow_String& LegendLabel() const { return legendLabel_; }
  void SetLegendLabel(const cow_String& v) { legendLabel_ = v; }
  bool Flag() const { return flag_; }
  std::int32_t Value() const { return value_; }
  bool SecondFlag() const { return secondFlag_; }
  const cls_Uid& Uid() const { return uid_; }

  std::size_t Size() const { return pairs_.Size(); }
  const udd_PairEntry& Pair(std::size_t i) const { return pairs_[i]; }
  const cow_1DArrayList<udd_PairEntry>& Pairs() const { return pairs_; }
  void AppendPair(float x, float y) { pairs_.Append(udd_PairEntry{x, y}); }
  void ReservePairs(std::size_t count) { pairs_.Reserve(count); }
  std::size_t PairCapacity() const { return pairs_.Capacity(); }
  void SetPairs(const cow_1DArrayList<udd_PairEntry>& pairs) { pairs_ = pairs; }
  // The pairs as two-element sequences, and replacing them from such sequences (narrowed).
  std::vector<std::array<float, 2>> ListListData() const;
  void SetListListData(const std::vector<std::array<double, 2>>& pairs);
  // Replacing the pairs from x0, y0, x1, y1, ... (narrowed to the nearest float), written once
  // into a fresh array of the record's own.
  void SetPairValues(const std::vector<double>& values) {
    SetPairValues(values.data(), values.size() / 2);
  }
  void SetPairValues(const double* values, std::size_t pairCount);
  void SetPairValues(const std::vector<float>& values) {
    SetPairValues(values.data(), values.size() / 2);
  }
  void SetPairValues(const float* values, std::size_t pairCount);

  // "source: content position", leaving out the empty parts.
  cow_String Description() const;

 private:
  cow_String name_;
  std::int32_t typeCode_ = kInitialType;
  cow_String fileName_;
  cow_String sourceDescription_;
  cow_String contentDescription_;
  cow_String positionDescription_;
  cow_String xAxisLabel_;
  cow_String yAxisLabel_;
  cow_String legendLabel_;
  bool flag_ = false;
  std::int32_t value_ = 0;
  cow_1DArrayList<udd_PairEntry> pairs_;
  cls_Uid pairsUid_;
  bool secondFlag_ = false;
  cls_Uid uid_;
};
