#pragma once
// What another module of the application hears from the XY toolset: a viewport started showing
// an XY plot, or a file is being cleaned up.
#include "cow_String.h"

class odiK_Model;

class xypK_XYToolsetClient {
 public:
  virtual ~xypK_XYToolsetClient() = default;
  virtual odiK_Model* GetModel(int /*viewport*/) { return nullptr; }
  virtual void ActivateXYPlot(int /*viewport*/) {}
  virtual void CleanupFromFile(const cow_String& /*fileName*/) {}
};
