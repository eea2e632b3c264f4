#pragma once
// The application's session object, the root of every script path ("session"). Its commands and
// members come from the session fragments that modules attach.
#include "omu_Fragment.h"

class sesK_SessionIntObj : public omu_InterfaceObj {
 public:
  sesK_SessionIntObj();
  static const char* TypeName() { return "Session"; }
  std::unique_ptr<omu_InterfaceObj> Copy() const override;
  cow_String Repr() const override { return "session"; }
  std::vector<omu_InterfaceObj*> Extensions() const override;

  // "viewports": the viewports by name.
  omu_Result GetViewports();
  // "defaultViewportAnnotationOptions": the annotation settings new viewports copy.
  omu_Result GetDefaultViewportAnnotationOptions();

 private:
  static const omu_MemberRow members_[];
};
