#pragma once
// The enumerations of the results database, by number, with their symbolic constant names:
// how a complex value becomes one number, where an output is taken, the domain of a step, the
// kinds of sets and the shapes of elements.
#include "omu_PrimEnumBase.h"

enum res_ComplexDisplayEnm : int {
  res_REAL = 0,
  res_IMAGINARY = 1,
  res_MAGNITUDE = 2,
  res_PHASE = 3,
  res_AT_ANGLE = 4
};
enum res_OutputPositionEnm : int {
  res_UNKNOWN_POSITION = 0,
  res_NODAL = 1,
  res_INTEGRATION_POINT = 2,
  res_ELEMENT_FACE = 3,
  res_ELEMENT_NODAL = 4,
  res_CENTROID = 5,
  res_WHOLE_ELEMENT = 6,
  res_WHOLE_REGION = 7,
  res_WHOLE_PART_INSTANCE = 8,
  res_WHOLE_MODEL = 9,
  res_GENERAL_PARTICLE = 10
};
enum res_DomainEnm : int { res_TIME = 0, res_FREQUENCY = 1, res_MODAL = 2, res_ARC_LENGTH = 3 };
enum res_SetTypeEnm : int { res_NODE_SET = 0, res_ELEMENT_SET = 1, res_SURFACE_SET = 2 };
enum res_ElementShapeEnm : int {
  res_LINE = 0,
  res_TRI = 1,
  res_QUAD = 2,
  res_TET = 3,
  res_WEDGE = 4,
  res_HEX = 5
};

template <>
struct omu_EnumTraits<res_ComplexDisplayEnm> {
  static constexpr const char* name = "res_ComplexDisplayEnm";
  static constexpr omu_EnumValue values[] = {
      {0, "REAL"}, {1, "IMAGINARY"}, {2, "MAGNITUDE"}, {3, "PHASE"}, {4, "AT_ANGLE"}};
};
template <>
struct omu_EnumTraits<res_OutputPositionEnm> {
  static constexpr const char* name = "res_OutputPositionEnm";
  static constexpr omu_EnumValue values[] = {
      {0, "UNKNOWN_POSITION"}, {1, "NODAL"},          {2, "INTEGRATION_POINT"},
      {3, "ELEMENT_FACE"},     {4, "ELEMENT_NODAL"},  {5, "CENTROID"},
      {6, "WHOLE_ELEMENT"},    {7, "WHOLE_REGION"},   {8, "WHOLE_PART_INSTANCE"},
      {9, "WHOLE_MODEL"},      {10, "GENERAL_PARTICLE"}};
};
template <>
struct omu_EnumTraits<res_DomainEnm> {
  static constexpr const char* name = "res_DomainEnm";
  static constexpr omu_EnumValue values[] = {
      {0, "TIME"}, {1, "FREQUENCY"}, {2, "MODAL"}, {3, "ARC_LENGTH"}};
};
template <>
struct omu_EnumTraits<res_SetTypeEnm> {
  static constexpr const char* name = "res_SetTypeEnm";
  static constexpr omu_EnumValue values[] = {
      {0, "NODE_SET"}, {1, "ELEMENT_SET"}, {2, "SURFACE_SET"}};
};
template <>
struct omu_EnumTraits<res_ElementShapeEnm> {
  static constexpr const char* name = "res_ElementShapeEnm";
  static constexpr omu_EnumValue values[] = {{0, "LINE"}, {1, "TRI"},   {2, "QUAD"},
                                             {3, "TET"},  {4, "WEDGE"}, {5, "HEX"}};
};
