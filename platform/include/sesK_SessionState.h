#pragma once
// What the session shows where: per viewport the path of its primary object and the kind of
// object it displays, and the name of the current XY plot.
#include <map>

#include "cow_String.h"

// The kinds of object a viewport can display.
enum omu_ObjectToDisplayTypeEnm : int {
  omu_DISPLAY_NONE = 0,
  omu_DISPLAY_ODB = 4,
  omu_DISPLAY_XYPLOT = 5,
};

class sesK_SessionState {
 public:
  static sesK_SessionState& Instance();
  static void Finalize();

  // "session.xyPlots['name']" for a viewport showing a plot; empty when it shows nothing.
  void SetPrimaryObjectPath(int viewport, const cow_String& path);
  cow_String GetPrimaryObjectPath(int viewport) const;

  void SetType(int viewport, omu_ObjectToDisplayTypeEnm type);
  omu_ObjectToDisplayTypeEnm GetType(int viewport) const;

  const cow_String& GetXYPlotName() const { return xyPlotName_; }
  void SetXYPlotName(const cow_String& name) { xyPlotName_ = name; }

 private:
  std::map<int, cow_String> primaryPaths_;
  std::map<int, omu_ObjectToDisplayTypeEnm> types_;
  cow_String xyPlotName_;
};
