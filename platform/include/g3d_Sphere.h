#pragma once
// A sphere in scene coordinates: the extent a scene object occupies.
struct g3d_Sphere {
  float center[3] = {0.0f, 0.0f, 0.0f};
  float radius = 0.0f;

  g3d_Sphere() = default;
  g3d_Sphere(float x, float y, float z, float r) : center{x, y, z}, radius(r) {}
};
