#include "sesK_SessionIntObj.h"

#include "modC_MethodFactory.h"
#include "modC_ModeManager.h"
#include "omu_Arguments.h"
#include "omu_PrimNone.h"
#include "omu_PrimString.h"
#include "omu_PrimTuple.h"
#include "omu_PrimType.h"
#include "omu_RuntimeErrorException.h"
#include "sesK_ViewAnnOptionsIntObj.h"
#include "sesK_ViewportDictIntObj.h"

namespace {
constexpr omu_Parameter kLeaveModeParameters[] = {{nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kLeaveMode{"Leaves the running mode (such as probing).", kLeaveModeParameters,
                               nullptr, omu_Signature::Form::Keywords};
constexpr omu_Parameter kSendFormCommandParameters[] = {
    {"form", "str", nullptr, "the form's name, such as 'ProbeValues'"},
    {"values", "sequence", nullptr, "the command and its values"},
    {nullptr, nullptr, nullptr, nullptr}};
const omu_Signature kSendFormCommand{
    "Sends a command to the form of the running mode, as its dialog's buttons do.",
    kSendFormCommandParameters, "the form's answer", omu_Signature::Form::Keywords};
}  // namespace

const omu_MethodRow sesK_SessionIntObj::methods_[] = {
    {"leaveMode", omu_Method<&sesK_SessionIntObj::LeaveMode>, &kLeaveMode},
    {"sendFormCommand", omu_Method<&sesK_SessionIntObj::SendFormCommand>, &kSendFormCommand},
    {"", nullptr}};

const omu_MemberRow sesK_SessionIntObj::members_[] = {
    {"currentMode", omu_Getter<&sesK_SessionIntObj::GetCurrentMode>, nullptr, "str or None",
     "the running mode"},
    {"viewports", omu_Getter<&sesK_SessionIntObj::GetViewports>, nullptr,
     "mapping of name to Viewport", "the viewports"},
    {"defaultViewportAnnotationOptions",
     omu_Getter<&sesK_SessionIntObj::GetDefaultViewportAnnotationOptions>, nullptr,
     "ViewportAnnotationOptions", "the options new viewports copy"},
    {"", nullptr, nullptr}};

sesK_SessionIntObj::sesK_SessionIntObj() {
  DescribeType(TypeName(), methods_, members_);
}

std::unique_ptr<omu_InterfaceObj> sesK_SessionIntObj::Copy() const {
  return std::make_unique<sesK_SessionIntObj>();
}

std::vector<omu_InterfaceObj*> sesK_SessionIntObj::Extensions() const {
  return omu_Fragment<sesK_SessionIntObj>::Attached();
}

omu_Result sesK_SessionIntObj::GetDefaultViewportAnnotationOptions() {
  return std::make_unique<omu_PrimType>(std::make_shared<sesK_ViewAnnOptionsIntObj>());
}

omu_Result sesK_SessionIntObj::GetViewports() {
  return std::make_unique<omu_PrimType>(std::make_shared<sesK_ViewportDictIntObj>());
}

omu_Result sesK_SessionIntObj::GetCurrentMode() {
  const modC_Procedure* running =
      modC_ModeManager::Exists() ? modC_ModeManager::Instance().Running() : nullptr;
  if (!running) return std::make_unique<omu_PrimNone>();
  return std::make_unique<omu_PrimString>(running->Name());
}

omu_Result sesK_SessionIntObj::LeaveMode(omu_Arguments& args) {
  args.Begin();
  args.End();
  modC_ModeManager::Instance().Leave();
  return std::make_unique<omu_PrimNone>();
}

omu_Result sesK_SessionIntObj::SendFormCommand(omu_Arguments& args) {
  cow_String form;
  const omu_PrimSequence* values = nullptr;
  args.Begin();
  args.Get(form, "form");
  args.Get(values, "values");
  args.End();
  modC_FormMethod* method = modC_MethodFactory::Instance().ActiveFormMethod(form);
  if (!method) NEX_THROW(omu_RuntimeErrorException("no mode listens to the form " + form));
  omu_PrimTuple command;
  for (std::size_t i = 0; i < values->Size(); ++i) command.Append(values->Item(i).Clone());
  method->Send(command);
  return std::make_unique<omu_PrimNone>();
}
