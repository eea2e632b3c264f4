#pragma once
// Base of the fragments that modules add to viewport layer objects.
#include "omu_Fragment.h"
#include "sesK_LayerIntObj.h"

class omu_Arguments;
class omu_Primitive;

class sesK_LayerFragment : public omu_Fragment<sesK_LayerIntObj> {
 public:
  // The layer the fragment is reached through: set by the layer object before each use.
  void AttachTo(int viewport, const cow_String& layerName) {
    viewport_ = viewport;
    layerName_ = layerName;
  }
  int Viewport() const { return viewport_; }
  const cow_String& LayerName() const { return layerName_; }

  // The layer's "setValues" reads "displayedObject" once and hands it to the fragment that can
  // show it; None goes to every fragment (null here: show nothing).
  virtual bool CanDisplay(const omu_Primitive& object) const = 0;
  // What the fragment shows, for the error when no fragment can show a value.
  virtual cow_String DisplayedKind() const = 0;
  virtual void SetObjectToDisplay(const omu_Primitive* object) = 0;
  // The fragment's own keywords of the layer's "setValues", read before anything changes.
  virtual void ReadKeywords(omu_Arguments&) {}
  // Once every keyword is read and the object to show is known: checks the fragment's keywords
  // against what the call leaves shown (`showing`: the call has "displayedObject"; `shown`: that
  // object, null for None), raising before anything changes.
  virtual void CheckKeywords(bool /*showing*/, const omu_Primitive* /*shown*/) {}
  // After the call changed what the viewport shows and its size: applies the checked keywords.
  virtual void ApplyKeywords() {}

 protected:
  sesK_LayerFragment() = default;
  sesK_LayerFragment(const sesK_LayerFragment&) = default;

 private:
  int viewport_ = -1;
  cow_String layerName_;
};
