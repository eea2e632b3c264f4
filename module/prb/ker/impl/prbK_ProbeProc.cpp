#include "prbK_ProbeProc.h"

#include "ddb_DdbToolset.h"
#include "prbK_MessageTypes.h"
#include "prbK_ProbeStep.h"
#include "prbK_ProbeToolset.h"
#include "sesK_SessionState.h"
#include "smg_SceneManagerRole.h"
#include "thr_ThreadSingleton.h"
#include "utl_Translate.h"

prbK_ProbeProc::prbK_ProbeProc() = default;
prbK_ProbeProc::~prbK_ProbeProc() = default;

void prbK_ProbeProc::InstallHook(const omu_Primitive*) {
  const int viewport = smg_SceneManagerRole::Instance().CurrentViewport();
  displayType_ = sesK_SessionState::Instance().GetType(viewport);
  prbK_ProbeToolset& toolset = prbK_ProbeToolset::Instance();
  if ((displayType_ != prbK_ProbeToolset::kXyPlot && displayType_ != prbK_ProbeToolset::kOdb) ||
      !toolset.SetClient(displayType_))
    prbK_MessageTypes::ErrorNoObjectToProbe();
  if (displayType_ == prbK_ProbeToolset::kOdb) {
    const ddr_Shortcut<odiK_Model> model = toolset.GetModel();
    if (!thr_ThreadSingleton<ddb_DdbToolset>::Instance().ConstGetModel(model))
      prbK_MessageTypes::ErrorNoObjectToProbe();
    toolset.EnableProbe();
    toolset.UpdateScene();
    toolset.UpdateDMagSettings();
    step_ = std::make_unique<prbK_ProbeStep>(model);
  } else {
    toolset.EnableProbe();
    toolset.UpdateScene();
    step_ = std::make_unique<prbK_ProbeStep>();
  }
  step_->SetPrompt(
      utl_tr("Move the cursor in the current viewport or click MB1 to report values in the Probe "
             "Values dialog"));
  ExecuteStep(*step_, true);
}

void prbK_ProbeProc::StepTerminatedHook(const modC_Step&) {
  Terminate();
}

void prbK_ProbeProc::Suspend() {
  if (step_) step_->Suspend();
}

void prbK_ProbeProc::Resume() {
  if (step_) step_->Resume();
}
