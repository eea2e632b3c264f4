#include "modC_Procedure.h"

#include "modC_MethodFactory.h"
#include "modC_ModeManager.h"
#include "modC_Step.h"

void modC_Procedure::Terminate() {
  modC_ModeManager::Instance().Ended(*this);
}

void modC_Procedure::ExecuteStep(modC_Step& step, bool) {
  step.Execute(modC_MethodFactory::Instance(), *this);
}
