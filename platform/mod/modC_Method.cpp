#include "modC_Method.h"

#include "modC_MethodFactory.h"

modC_Method::modC_Method(modC_MethodReceiver& receiver) : receiver_(receiver) {
  modC_MethodFactory::Instance().Add(this);
}

modC_Method::~modC_Method() {
  modC_MethodFactory::Instance().Remove(this);
}
