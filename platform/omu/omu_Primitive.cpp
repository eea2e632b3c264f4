#include "omu_Primitive.h"

const char* omu_Primitive::KindName(omu_PrimKind kind) {
  switch (kind) {
    case omu_PrimKind::None:
      return "None";
    case omu_PrimKind::Bool:
      return "bool";
    case omu_PrimKind::Number:
      return "number";
    case omu_PrimKind::String:
      return "str";
    case omu_PrimKind::Enum:
      return "SymbolicConstant";
    case omu_PrimKind::Tuple:
      return "tuple";
    case omu_PrimKind::List:
      return "list";
    case omu_PrimKind::Array:
      return "array";
    case omu_PrimKind::Dictionary:
      return "dict";
    case omu_PrimKind::Type:
      return "object";
  }
  return "value";
}
