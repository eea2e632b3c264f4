#pragma once
// A symbolic constant: a name and a value, with the enumeration it belongs to when known.
// Constants compare by name: one name may belong to several enumerations.
#include <span>
#include <vector>

#include "omu_Primitive.h"

struct omu_EnumValue {
  int value;
  const char* name;
};

class omu_PrimEnumBase : public omu_Primitive {
 public:
  // A value of a known enumeration; `value` must be one of its values.
  omu_PrimEnumBase(const char* enumName, std::span<const omu_EnumValue> values, int value);
  // A constant as a script passes it: name and value, enumeration unknown.
  omu_PrimEnumBase(cow_String text, int value);

  const char* EnumName() const { return enumName_; }
  int Value() const { return value_; }
  const cow_String& Text() const { return text_; }
  std::span<const omu_EnumValue> Values() const { return values_; }

  // Both return false and change nothing when the value or name is not permissible.
  bool SetValue(int value);
  bool SetValue(const cow_String& text);
  bool IsPermissible(const cow_String& text) const;
  std::vector<cow_String> PermissibleValues() const;

  omu_PrimKind Kind() const override { return omu_PrimKind::Enum; }
  std::unique_ptr<omu_Primitive> Clone() const override;
  cow_String Repr() const override { return text_; }
  cow_String DescribeKind() const override;

 private:
  const char* enumName_;
  std::span<const omu_EnumValue> values_;
  int value_;
  cow_String text_;
};

// Each published enumeration supplies its name and its values in value order.
template <class E>
struct omu_EnumTraits;

template <class E, int Id = 0>
class omu_PrimEnum : public omu_PrimEnumBase {
 public:
  explicit omu_PrimEnum(E value = static_cast<E>(omu_EnumTraits<E>::values[0].value))
      : omu_PrimEnumBase(omu_EnumTraits<E>::name, omu_EnumTraits<E>::values,
                         static_cast<int>(value)) {}
  E Get() const { return static_cast<E>(Value()); }
  std::unique_ptr<omu_Primitive> Clone() const override {
    return std::make_unique<omu_PrimEnum>(*this);
  }
};
