#pragma once
// A dialog form bound to a mode: each command the dialog sends (a tuple, its first item the
// command's name) becomes the method's value and is reported to the receiver.
#include <memory>

#include "cow_String.h"
#include "modC_Method.h"
#include "omu_PrimTuple.h"

class modC_FormMethod : public modC_Method {
 public:
  modC_FormMethod(modC_MethodReceiver& receiver, const cow_String& form,
                  const omu_PrimTuple& initial)
      : modC_Method(receiver), form_(form), value_(std::make_unique<omu_PrimTuple>(initial)) {}

  const cow_String& Form() const { return form_; }
  const omu_PrimTuple& Value() const { return *value_; }
  void Send(const omu_PrimTuple& value);

 private:
  cow_String form_;
  std::unique_ptr<omu_PrimTuple> value_;
};
