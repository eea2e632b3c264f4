#pragma once
// A value that crosses the scripting boundary: arguments arrive as primitives and every command
// returns a new one, which the scripting layer owns afterwards.
#include <memory>

#include "cow_String.h"

enum class omu_PrimKind { None, Bool, Number, String, Enum, Tuple, List, Dictionary, Type, Array };

class omu_Primitive {
 public:
  virtual ~omu_Primitive() = default;
  virtual omu_PrimKind Kind() const = 0;
  virtual std::unique_ptr<omu_Primitive> Clone() const = 0;
  // The value as a script would write it ("'a'", "(1, 2.5)", "True").
  virtual cow_String Repr() const = 0;

  // The name of a kind as a script user knows it, for error messages.
  static const char* KindName(omu_PrimKind kind);
  // The kind name of this value; for objects, their scripting type name.
  virtual cow_String DescribeKind() const { return KindName(Kind()); }
};

using omu_Result = std::unique_ptr<omu_Primitive>;
