#pragma once
// A point of the viewport's frame or of world space; probe points are in viewport units
// (device units from the bottom-left, y up), z unused.
struct g3d_Point {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
};
