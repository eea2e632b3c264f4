#pragma once
// The drawing attributes of lines and markers that option records choose from, by number, with
// their symbolic constant names.
#include "omu_PrimEnumBase.h"

enum g3d_LineStyleEnum : int { g3d_SOLID = 0, g3d_DASHED = 1, g3d_DOTTED = 2, g3d_DOT_DASH = 3 };
enum g3d_LineThicknessEnum : int { g3d_VERY_THIN = 0, g3d_THIN = 1, g3d_MEDIUM = 2, g3d_THICK = 3 };
enum g3d_MarkerEnum : int {
  g3d_FILLED_CIRCLE = 0,
  g3d_FILLED_SQUARE = 1,
  g3d_FILLED_DIAMOND = 2,
  g3d_FILLED_TRI = 3,
  g3d_HOLLOW_CIRCLE = 4,
  g3d_HOLLOW_SQUARE = 5,
  g3d_HOLLOW_DIAMOND = 6,
  g3d_HOLLOW_TRI = 7,
  g3d_CROSS = 8,
  g3d_XMARKER = 9,
  g3d_POINT = 10,
  g3d_STAR = 11,
  g3d_PLUS = 12,
  g3d_DEFAULT_MARKER = 13
};
enum g3d_MarkerSizeEnum : int { g3d_SMALL = 1, g3d_MEDIUM_SIZE = 2, g3d_LARGE = 3 };

template <>
struct omu_EnumTraits<g3d_LineStyleEnum> {
  static constexpr const char* name = "g3d_LineStyleEnum";
  static constexpr omu_EnumValue values[] = {
      {0, "SOLID"}, {1, "DASHED"}, {2, "DOTTED"}, {3, "DOT_DASH"}};
};
template <>
struct omu_EnumTraits<g3d_LineThicknessEnum> {
  static constexpr const char* name = "g3d_LineThicknessEnum";
  static constexpr omu_EnumValue values[] = {
      {0, "VERY_THIN"}, {1, "THIN"}, {2, "MEDIUM"}, {3, "THICK"}};
};
template <>
struct omu_EnumTraits<g3d_MarkerEnum> {
  static constexpr const char* name = "g3d_MarkerEnum";
  static constexpr omu_EnumValue values[] = {
      {0, "FILLED_CIRCLE"}, {1, "FILLED_SQUARE"},  {2, "FILLED_DIAMOND"}, {3, "FILLED_TRI"},
      {4, "HOLLOW_CIRCLE"}, {5, "HOLLOW_SQUARE"},  {6, "HOLLOW_DIAMOND"}, {7, "HOLLOW_TRI"},
      {8, "CROSS"},         {9, "XMARKER"},        {10, "POINT"},         {11, "STAR"},
      {12, "PLUS"},         {13, "DEFAULT_MARKER"}};
};
template <>
struct omu_EnumTraits<g3d_MarkerSizeEnum> {
  static constexpr const char* name = "g3d_MarkerSizeEnum";
  static constexpr omu_EnumValue values[] = {{1, "SMALL"}, {2, "MEDIUM_SIZE"}, {3, "LARGE"}};
};
