#pragma once
// Errors of the results library's XY data objects; scripts see them as xyp.XyPlotError.
class oda_MessageTypes {
 public:
  static constexpr int kXYDataNameNotGivenCode = 201;
  static constexpr int kOldNameEqualToNewNameCode = 202;
  [[noreturn]] static void ErrorXYDataNameNotGiven();
  [[noreturn]] static void ErrorOldNameEqualToNewName();
  // Operands of the math functions, with the texts and codes of the XY-plot catalogue (a
  // resource text under the catalogue's resource name replaces the default).
  [[noreturn]] static void ErrorTwoArgsNeeded();
  [[noreturn]] static void ErrorExpectingOskInterfaceObjects();
  [[noreturn]] static void ErrorExpectingOneOskInterfaceObject();
  [[noreturn]] static void ErrorExpectingMaxThreeOskInterfaceObjects();
  [[noreturn]] static void ErrorTwoArgsMinNeeded();
};
