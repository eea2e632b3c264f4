#pragma once
// The enumerations of the probe option records, by number, with their symbolic constant names.
#include "omu_PrimEnumBase.h"

enum prbC_ProbeEntityEnm : int { prbC_NODES = 0, prbC_ELEMENTS = 1 };
enum prbC_SortEnm : int { prbC_ASCENDING = 0, prbC_DESCENDING = 1 };
enum prbC_PageWidthEnm : int { prbC_NO_LIMIT = 0, prbC_SPECIFY = 1 };
enum prbC_FormatEnm : int {
  prbC_AUTOMATIC = 0,
  prbC_DECIMAL = 1,
  prbC_POWER = 2,
  prbC_ENGINEERING = 3,
  prbC_SCIENTIFIC = 4
};
enum prbC_ClearRowsEnm : int { prbC_ALL_ROWS = 0, prbC_SELECTED_ROWS = 1 };

template <>
struct omu_EnumTraits<prbC_ProbeEntityEnm> {
  static constexpr const char* name = "prbC_ProbeEntityEnm";
  static constexpr omu_EnumValue values[] = {{0, "NODES"}, {1, "ELEMENTS"}};
};
template <>
struct omu_EnumTraits<prbC_SortEnm> {
  static constexpr const char* name = "prbC_SortEnm";
  static constexpr omu_EnumValue values[] = {{0, "ASCENDING"}, {1, "DESCENDING"}};
};
template <>
struct omu_EnumTraits<prbC_PageWidthEnm> {
  static constexpr const char* name = "prbC_PageWidthEnm";
  static constexpr omu_EnumValue values[] = {{0, "NO_LIMIT"}, {1, "SPECIFY"}};
};
template <>
struct omu_EnumTraits<prbC_FormatEnm> {
  static constexpr const char* name = "prbC_FormatEnm";
  static constexpr omu_EnumValue values[] = {
      {0, "AUTOMATIC"}, {1, "DECIMAL"}, {2, "POWER"}, {3, "ENGINEERING"}, {4, "SCIENTIFIC"}};
};
template <>
struct omu_EnumTraits<prbC_ClearRowsEnm> {
  static constexpr const char* name = "prbC_ClearRowsEnm";
  static constexpr omu_EnumValue values[] = {{0, "ALL_ROWS"}, {1, "SELECTED_ROWS"}};
};
