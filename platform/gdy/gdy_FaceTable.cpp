#include "gdy_FaceTable.h"

namespace {
// Corner order per face as the solver gives it (0-based here).
constexpr gdy_FaceTable::Face kTri[] = {{3, {0, 1, 2, -1}}};
constexpr gdy_FaceTable::Face kQuad[] = {{4, {0, 1, 2, 3}}};
constexpr gdy_FaceTable::Face kTet[] = {
    {3, {0, 1, 2, -1}}, {3, {0, 3, 1, -1}}, {3, {1, 3, 2, -1}}, {3, {2, 3, 0, -1}}};
constexpr gdy_FaceTable::Face kWedge[] = {{3, {0, 1, 2, -1}},
                                          {3, {3, 5, 4, -1}},
                                          {4, {0, 3, 4, 1}},
                                          {4, {1, 4, 5, 2}},
                                          {4, {2, 5, 3, 0}}};
constexpr gdy_FaceTable::Face kHex[] = {{4, {0, 1, 2, 3}}, {4, {4, 7, 6, 5}}, {4, {0, 4, 5, 1}},
                                        {4, {1, 5, 6, 2}}, {4, {2, 6, 7, 3}}, {4, {3, 7, 4, 0}}};

template <int N>
const gdy_FaceTable::Face* Table(const gdy_FaceTable::Face (&faces)[N], int& count) {
  count = N;
  return faces;
}
}  // namespace

int gdy_FaceTable::Corners(res_ElementShapeEnm shape) {
  switch (shape) {
    case res_LINE:
      return 2;
    case res_TRI:
      return 3;
    case res_QUAD:
    case res_TET:
      return 4;
    case res_WEDGE:
      return 6;
    case res_HEX:
      return 8;
  }
  return 0;
}

const gdy_FaceTable::Face* gdy_FaceTable::SurfaceFaces(res_ElementShapeEnm shape, int& count) {
  switch (shape) {
    case res_TRI:
      return Table(kTri, count);
    case res_QUAD:
      return Table(kQuad, count);
    case res_TET:
      return Table(kTet, count);
    case res_WEDGE:
      return Table(kWedge, count);
    case res_HEX:
      return Table(kHex, count);
    case res_LINE:
      break;
  }
  count = 0;
  return nullptr;
}

bool gdy_FaceTable::IsSolid(res_ElementShapeEnm shape) {
  return shape == res_TET || shape == res_WEDGE || shape == res_HEX;
}
