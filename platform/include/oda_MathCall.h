#pragma once
// One call of an XY data math function: reads its operands (XY data objects, given one by one,
// as one sequence, or under the keyword "xyData") and options, and wraps what it computes as a
// new XY data object outside the repository, named "Temp", whose source description shows the
// operation and its operands' names, e.g. "sum((a, b))".
#include <memory>
#include <vector>

#include "cow_String.h"
#include "oda_XYDataMath.h"
#include "omu_Arguments.h"

class oda_XYDataCommonIntObj;

class oda_MathCall {
 public:
  using Pairs = oda_XYDataMath::Pairs;

  oda_MathCall(const char* function, omu_Arguments& args);
  const char* Function() const { return function_; }

  // One operand. With `numberAllowed`, a plain number may stand for it: false then, and
  // Number() holds it.
  bool ReadOne(bool numberAllowed);
  double Number() const { return number_; }
  // Operands given one by one or as one sequence; at least one. More than `maximum` raises
  // "Expecting at most three Oskavo Interface Objects" when the maximum is three.
  void ReadSeveral(std::size_t maximum = SIZE_MAX);
  // An optional number under `keyword`, or the next positional argument.
  template <class T>
  void Option(T& value, const char* keyword) {
    args_.Optional();
    if (args_.Get(value, keyword)) extra_ += cow_String(", ") + keyword + "=" + Text(value);
  }
  // A required number under `keyword` (or the next positional argument).
  void Required(double& value, const char* keyword);
  void End() { args_.End(); }

  std::size_t Count() const { return operands_.size(); }
  const std::vector<const Pairs*>& Operands() const { return pairs_; }
  const Pairs& First() const { return *pairs_.front(); }

  // The result: the first operand's labels (x and y exchanged when `swapLabels`), the
  // operation as source description and legend.
  omu_Result Result(Pairs pairs, bool swapLabels = false) const;
  // The same for a result described otherwise (the arithmetic operators: "a + b").
  static omu_Result MakeResult(Pairs pairs, const oda_XYDataCommonIntObj& first,
                               const cow_String& description, bool swapLabels = false);
  static omu_Result NumberResult(double value);
  static cow_String Text(double value);

 private:
  static cow_String Text(int value) { return cow_String::FromInt(value); }
  bool Take(const omu_Primitive& value);
  cow_String OperandText() const;

  const char* function_;
  omu_Arguments& args_;
  std::vector<std::shared_ptr<oda_XYDataCommonIntObj>> operands_;
  std::vector<const Pairs*> pairs_;
  bool asSequence_ = false;
  double number_ = 0.0;
  cow_String extra_;
};
