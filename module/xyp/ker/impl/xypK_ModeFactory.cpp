#include "xypK_ModeFactory.h"

xypK_ModeFactory::xypK_ModeFactory() {
  RegisterFactory(kName, this);
}

xypK_ModeFactory::~xypK_ModeFactory() {
  UnregisterFactory(kName, this);
}

std::unique_ptr<mmgK_Procedure> xypK_ModeFactory::MakeProcedure(const cow_String&) {
  return nullptr;
}
