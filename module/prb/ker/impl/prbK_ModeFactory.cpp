#include "prbK_ModeFactory.h"

#include "prbK_ProbeProc.h"

prbK_ModeFactory::prbK_ModeFactory() {
  RegisterFactory(kName, this);
}

prbK_ModeFactory::~prbK_ModeFactory() {
  UnregisterFactory(kName, this);
}

std::unique_ptr<mmgK_Procedure> prbK_ModeFactory::MakeProcedure(const cow_String& name) {
  if (name != kProbeProc) return nullptr;
  auto procedure = std::make_unique<prbK_ProbeProc>();
  procedure->SetName(name);
  return procedure;
}
