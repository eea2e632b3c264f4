#pragma once
// A viewport's layer object: what the viewport shows. Modules attach layer fragments to it.
#include "omu_Fragment.h"

class sesK_LayerIntObj : public omu_InterfaceObj {
 public:
  explicit sesK_LayerIntObj(cow_String viewportName);
  static const char* TypeName() { return "Layer"; }
  const cow_String& ViewportName() const { return viewportName_; }
  std::unique_ptr<omu_InterfaceObj> Copy() const override;
  cow_String Repr() const override;
  std::vector<omu_InterfaceObj*> Extensions() const override;

 private:
  cow_String viewportName_;
};
