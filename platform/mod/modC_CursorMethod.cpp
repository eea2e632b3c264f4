#include "modC_CursorMethod.h"

void modC_CursorMethod::Move(const g3d_Point& point) {
  if (!IsActive()) return;
  point_ = point;
  receiver_.DirectManipulation(modC_MethodReceiver::kCursorMove, *this);
}

void modC_CursorMethod::Click(const g3d_Point& point) {
  if (!IsActive()) return;
  Move(point);
  if (IsActive()) receiver_.ValueChanged(*this);
}
