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
  // "currentMode": the running mode's procedure name, or None.
  omu_Result GetCurrentMode();
  // Ends the running mode (none running: nothing).
  omu_Result LeaveMode(omu_Arguments& args);
  // Sends a dialog's command (a tuple) to the form method of `form`; RuntimeError when no mode
  // listens to that form.
  omu_Result SendFormCommand(omu_Arguments& args);

 private:
  static const omu_MethodRow methods_[];
  static const omu_MemberRow members_[];
};
