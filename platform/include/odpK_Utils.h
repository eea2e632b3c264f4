#pragma once
// Texts of the results library shared by the modules that read complex output.
#include "cow_String.h"
#include "res_Enumerations.h"

class odpK_Utils {
 public:
  // The suffix naming how a complex value became one number: " (Real)", " (Imaginary)",
  // " (Magnitude)", " (Phase)", or for a form at an angle " (Real at " + the angle in degrees as
  // %g prints it + " deg)". `angleDegrees` is already reduced to the range of one turn.
  static cow_String ComplexXYLabel(int numericForm, double angleDegrees);
};
