#pragma once
// The enumerations of the XY option records, by number, with their symbolic constant names.
#include "omu_PrimEnumBase.h"

enum xypC_ScaleEnum : int { xypC_LINEAR = 0, xypC_LOG = 1 };
enum xypC_TickTypeEnum : int { xypC_AUTOCOMPUTE = 0, xypC_INCREMENT = 1, xypC_TOTAL_NUMBER = 2 };
enum xypC_FormatEnum : int {
  xypC_AUTOMATIC = 0,
  xypC_DECIMAL = 1,
  xypC_POWER = 2,
  xypC_ENGINEERING = 3,
  xypC_SCIENTIFIC = 4
};
enum xypC_ColumnLayoutEnum : int { xypC_SINGLE_TABLE = 0, xypC_SEPARATE_TABLES = 1 };
enum xypC_PageWidthEnum : int { xypC_NO_LIMIT = 0, xypC_SPECIFY = 1 };
enum xypC_TitleStyleEnum : int { xypC_USER_DEFINED = 0, xypC_SYSTEM_DEFINED = 1 };

template <>
struct omu_EnumTraits<xypC_ScaleEnum> {
  static constexpr const char* name = "xypC_ScaleEnum";
  static constexpr omu_EnumValue values[] = {{0, "LINEAR"}, {1, "LOG"}};
};
template <>
struct omu_EnumTraits<xypC_TickTypeEnum> {
  static constexpr const char* name = "xypC_TickTypeEnum";
  static constexpr omu_EnumValue values[] = {
      {0, "AUTOCOMPUTE"}, {1, "INCREMENT"}, {2, "TOTAL_NUMBER"}};
};
template <>
struct omu_EnumTraits<xypC_FormatEnum> {
  static constexpr const char* name = "xypC_FormatEnum";
  static constexpr omu_EnumValue values[] = {
      {0, "AUTOMATIC"}, {1, "DECIMAL"}, {2, "POWER"}, {3, "ENGINEERING"}, {4, "SCIENTIFIC"}};
};
template <>
struct omu_EnumTraits<xypC_ColumnLayoutEnum> {
  static constexpr const char* name = "xypC_ColumnLayoutEnum";
  static constexpr omu_EnumValue values[] = {{0, "SINGLE_TABLE"}, {1, "SEPARATE_TABLES"}};
};
template <>
struct omu_EnumTraits<xypC_PageWidthEnum> {
  static constexpr const char* name = "xypC_PageWidthEnum";
  static constexpr omu_EnumValue values[] = {{0, "NO_LIMIT"}, {1, "SPECIFY"}};
};
template <>
struct omu_EnumTraits<xypC_TitleStyleEnum> {
  static constexpr const char* name = "xypC_TitleStyleEnum";
  static constexpr omu_EnumValue values[] = {{0, "USER_DEFINED"}, {1, "SYSTEM_DEFINED"}};
};
