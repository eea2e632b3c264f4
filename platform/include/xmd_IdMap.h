#pragma once
// An integer picture of a viewport for picking: every device pixel holds the id of what was
// drawn there last (0: nothing). Pixels are addressed like device coordinates, column x from
// the left and row y from the bottom; pixel (x, y) covers [x, x + 1) x [y, y + 1).
#include <cstdint>
#include <vector>

class xmd_IdMap {
 public:
  // Width and height are clamped to at least 1 pixel.
  xmd_IdMap(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  void Clear();
  // The id of pixel (x, y); 0 outside the map.
  int At(int x, int y) const;
  // Pixels x0 .. x1 (inclusive) of row y take the id; parts outside the map are ignored.
  void FillSpan(int y, int x0, int x1, int id);
  // The id of the pixel holding the point (device units); when that is 0, the id of the
  // nearest pixel whose square lies within `tolerance` of the point, the later-drawn (larger)
  // id on a tie; 0 when there is none.
  int Query(double x, double y, double tolerance) const;

 private:
  int width_;
  int height_;
  std::vector<std::int32_t> ids_;  // row-major, row 0 at the bottom
};
