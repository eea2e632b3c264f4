#pragma once
// Errors of the results library's XY data objects; scripts see them as xyp.XyPlotError.
class oda_MessageTypes {
 public:
  static constexpr int kXYDataNameNotGivenCode = 201;
  static constexpr int kOldNameEqualToNewNameCode = 202;
  [[noreturn]] static void ErrorXYDataNameNotGiven();
  [[noreturn]] static void ErrorOldNameEqualToNewName();
};
