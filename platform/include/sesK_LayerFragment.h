#pragma once
// Base of the fragments that modules add to viewport layer objects.
#include "omu_Fragment.h"
#include "sesK_LayerIntObj.h"

class omu_Arguments;

class sesK_LayerFragment : public omu_Fragment<sesK_LayerIntObj> {
 public:
  // The layer the fragment is reached through: set by the layer object before each use.
  void AttachTo(int viewport, const cow_String& layerName) {
    viewport_ = viewport;
    layerName_ = layerName;
  }
  int Viewport() const { return viewport_; }
  const cow_String& LayerName() const { return layerName_; }

  // The layer's "setValues": the fragment reads the keywords it knows ("displayedObject").
  virtual void SetObjectToDisplay(omu_Arguments& args) = 0;

 protected:
  sesK_LayerFragment() = default;
  sesK_LayerFragment(const sesK_LayerFragment&) = default;

 private:
  int viewport_ = -1;
  cow_String layerName_;
};
