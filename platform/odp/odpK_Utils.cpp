#include "odpK_Utils.h"

#include <cstdio>

cow_String odpK_Utils::ComplexXYLabel(int numericForm, double angleDegrees) {
  switch (numericForm) {
    case res_IMAGINARY:
      return " (Imaginary)";
    case res_MAGNITUDE:
      return " (Magnitude)";
    case res_PHASE:
      return " (Phase)";
    case res_AT_ANGLE: {
      char angle[32];
      std::snprintf(angle, sizeof angle, "%g", angleDegrees);
      return cow_String(" (Real at ") + angle + " deg)";
    }
    default:
      return " (Real)";
  }
}
