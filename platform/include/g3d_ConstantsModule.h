#pragma once
// The scripting module "graphicsConstants": the symbolic constants of the drawing attributes
// (line styles and thicknesses, markers and their sizes, legend backgrounds and placement),
// which option records of every module take. Brought up and taken down with the graphics
// library.
#include "pyo_Module.h"

class g3d_ConstantsModule : public pyo_Module {
 public:
  static constexpr const char* kName = "graphicsConstants";
  g3d_ConstantsModule();

  static void Create();
  static void Destroy();
};
