#pragma once
// One XY data set drawn in one XY plot. A curve of repository data holds only the entry's name
// and looks the pairs up each time, so a change to the entry reaches it without a copy; a curve
// of data that is not in the repository keeps a private copy.
#include <limits>

#include "cow_String.h"
#include "udd_UserXYData.h"
#include "xypC_CurveOptions.h"

class xypK_Curve {
 public:
  static constexpr float kResetMin = std::numeric_limits<float>::max();
  static constexpr float kResetMax = -std::numeric_limits<float>::max();

  explicit xypK_Curve(const cow_String& name = cow_String());
  xypK_Curve(const xypK_Curve&) = default;
  xypK_Curve& operator=(const xypK_Curve&) = default;

  // The repository entry of xyDataName when there is one, else the private copy.
  const udd_UserXYData& ConstGetCurveXYData() const;

  // The extent of the pairs. Pairs with a non-finite coordinate (a value beyond the float range
  // narrows to infinity) cannot be placed on an axis and are left out.
  void CalculateMinMax();

  // The y extent of the pairs with x1 <= x <= x2, and the mirror; non-finite pairs left out.
  void GetYMaxMinInXInterval(float x1, float x2, float& yMin, float& yMax, bool skipFirst) const;
  void GetXMaxMinInYInterval(float& xMin, float& xMax, float y1, float y2, bool skipFirst) const;

  cow_String name;
  udd_UserXYData xyData;
  cow_String xyDataName;
  xypC_CurveOptions options;
  float xMin = kResetMin;
  float xMax = kResetMax;
  float yMin = kResetMin;
  float yMax = kResetMax;
  bool skipFirstPoint = false;
};
