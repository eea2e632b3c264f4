#pragma once
// Who a method of a mode reports to: cursor moves (direct manipulation), values the method took
// (a click, a dialog's command) and its end.
class modC_Method;

class modC_MethodReceiver {
 public:
  enum DirectManipReason { kPress = 1, kCursorMove = 2, kRelease = 3 };
  virtual ~modC_MethodReceiver() = default;
  virtual void DirectManipulation(DirectManipReason reason, modC_Method& method) = 0;
  virtual void ValueChanged(modC_Method& method) = 0;
  virtual void Done(modC_Method& method) = 0;
};
