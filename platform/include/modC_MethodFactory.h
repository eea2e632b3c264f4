#pragma once
// Makes the methods of modes and keeps the live ones, so that input reaches the active method:
// the cursor method of a viewport, or the form method of a dialog form.
#include <memory>
#include <vector>

#include "cow_String.h"
#include "modC_CursorMethod.h"
#include "modC_FormMethod.h"

class modC_MethodFactory {
 public:
  static modC_MethodFactory& Instance();
  static void Finalize();

  std::unique_ptr<modC_CursorMethod> MakeCursorMethod(modC_MethodReceiver& receiver, int viewport);
  std::unique_ptr<modC_FormMethod> MakeFormMethod(const cow_String& form,
                                                  const omu_PrimTuple& initial,
                                                  modC_MethodReceiver& receiver);
  // The active method, or null.
  modC_CursorMethod* ActiveCursorMethod(int viewport) const;
  modC_FormMethod* ActiveFormMethod(const cow_String& form) const;

  // Called by the methods themselves.
  void Add(modC_Method* method) { live_.push_back(method); }
  void Remove(const modC_Method* method);

 private:
  std::vector<modC_Method*> live_;
};
