// Id maps for picking: what a stroke or marker writes, what a query at a point finds, and the
// registry of maps by id.
#include <gtest/gtest.h>

#include <cmath>

#include "gdr_IdMapRenderer.h"
#include "xmd_IdMap.h"
#include "xmd_VisMaps.h"

TEST(IdMap, QueryFindsThePixelOrTheNearestWithinTheTolerance) {
  xmd_IdMap map(20, 10);
  map.FillSpan(4, 5, 7, 3);  // row 4, columns 5..7
  map.FillSpan(4, 12, 12, 9);
  EXPECT_EQ(map.At(6, 4), 3);
  EXPECT_EQ(map.Query(6.5, 4.5, 1.0), 3);  // on the pixel
  EXPECT_EQ(map.Query(6.5, 5.8, 1.0), 3);  // 0.8 above its square
  EXPECT_EQ(map.Query(6.5, 6.2, 1.0), 0);  // 1.2 above: out of reach
  EXPECT_EQ(map.Query(6.5, 6.2, 2.0), 3);
  // Halfway between column 7 (id 3) and column 12 (id 9) at 2.5 units from each: the later
  // drawn (larger) id wins the tie.
  EXPECT_EQ(map.Query(10.0, 4.5, 3.0), 9);
  EXPECT_EQ(map.Query(9.0, 4.5, 3.0), 3);  // nearer to column 7
  EXPECT_EQ(map.Query(NAN, 4.5, 1.0), 0);
  EXPECT_EQ(map.Query(1e30, 4.5, 1.0), 0);
  EXPECT_EQ(map.Query(6.5, 4.5, NAN), 3);
  map.FillSpan(-1, 0, 19, 5);  // outside rows and columns are ignored
  map.FillSpan(9, -100, 100, 5);
  EXPECT_EQ(map.At(0, 9), 5);
  EXPECT_EQ(map.At(19, 9), 5);
  map.Clear();
  EXPECT_EQ(map.Query(6.5, 4.5, 1.0), 0);
}

TEST(IdMap, StrokesCoverTheirWholeLengthAndTheLastDrawnWins) {
  xmd_IdMap map(100, 60);
  gdr_IdMapRenderer renderer(map);
  renderer.SetLineWidth(0.75);  // thin lines are widened to stay pickable
  renderer.SetPickId(4);
  renderer.DrawLine(10.0, 10.0, 90.0, 50.0);
  // Every column along the line holds the id within a pixel of the line, and nothing 4 pixels
  // away does.
  for (int x = 10; x < 90; ++x) {
    const double y = 10.0 + (x + 0.5 - 10.0) * 0.5;
    EXPECT_EQ(map.At(x, static_cast<int>(std::floor(y))), 4) << x;
    EXPECT_EQ(map.At(x, static_cast<int>(std::floor(y)) + 4), 0) << x;
    EXPECT_EQ(map.At(x, static_cast<int>(std::floor(y)) - 4), 0) << x;
  }
  EXPECT_EQ(map.At(95, 52), 0);  // beyond the end
  // A steep line across it: drawn later, it owns the crossing.
  renderer.SetPickId(7);
  renderer.DrawLine(50.5, 0.0, 50.5, 59.0);
  EXPECT_EQ(map.At(50, 30), 7);
  EXPECT_EQ(map.At(50, 5), 7);
  // Markers fill their disc; pick id 0 writes nothing.
  renderer.SetPickId(2);
  renderer.DrawMarker(20.0, 45.0, g3d_FILLED_SQUARE, 10.0);
  EXPECT_EQ(map.At(20, 45), 2);
  EXPECT_EQ(map.At(23, 47), 2);
  EXPECT_EQ(map.At(26, 45), 0);
  renderer.SetPickId(0);
  renderer.DrawLine(0.0, 55.5, 99.0, 55.5);
  EXPECT_EQ(map.At(50, 55), 7);
  EXPECT_EQ(map.At(10, 55), 0);
  // Coordinates far beyond the map are clipped before they are rasterised.
  renderer.SetPickId(8);
  renderer.DrawLine(-1e30, 1.5, 1e30, 1.5);
  EXPECT_EQ(map.At(0, 1), 8);
  EXPECT_EQ(map.At(99, 1), 8);
}

TEST(IdMap, MapsAreKeptByIdUntilReleased) {
  const int before = xmd_VisMaps::Count();
  const int a = xmd_VisMaps::Create(10, 10), b = xmd_VisMaps::Create(4, 3);
  EXPECT_NE(a, 0);
  EXPECT_NE(a, b);
  ASSERT_NE(xmd_VisMaps::Get(b), nullptr);
  EXPECT_EQ(xmd_VisMaps::Get(b)->Width(), 4);
  xmd_VisMaps::Get(a)->FillSpan(2, 2, 2, 6);
  EXPECT_EQ(xmd_VisMaps::Query(a, 2.5f, 2.5f, 1.0f), 6);
  EXPECT_EQ(xmd_VisMaps::Query(b, 2.5f, 2.5f, 1.0f), 0);
  xmd_VisMaps::Release(a);
  EXPECT_EQ(xmd_VisMaps::Get(a), nullptr);
  EXPECT_EQ(xmd_VisMaps::Query(a, 2.5f, 2.5f, 1.0f), 0);
  xmd_VisMaps::Release(a);  // twice: ignored
  xmd_VisMaps::Release(0);
  xmd_VisMaps::Release(b);
  EXPECT_EQ(xmd_VisMaps::Count(), before);
}
