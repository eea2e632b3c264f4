#include "omu_PrimEnumBase.h"

#include "omi_Assert.h"

omu_PrimEnumBase::omu_PrimEnumBase(const char* enumName, std::span<const omu_EnumValue> values,
                                   int value)
    : enumName_(enumName), values_(values), value_(value) {
  OMI_ASSERT(SetValue(value));
}

omu_PrimEnumBase::omu_PrimEnumBase(cow_String text, int value)
    : enumName_(""), value_(value), text_(std::move(text)) {}

bool omu_PrimEnumBase::SetValue(int value) {
  for (const omu_EnumValue& v : values_) {
    if (v.value == value) {
      value_ = value;
      text_ = v.name;
      return true;
    }
  }
  return false;
}

bool omu_PrimEnumBase::SetValue(const cow_String& text) {
  for (const omu_EnumValue& v : values_) {
    if (text == v.name) {
      value_ = v.value;
      text_ = v.name;
      return true;
    }
  }
  return false;
}

bool omu_PrimEnumBase::IsPermissible(const cow_String& text) const {
  for (const omu_EnumValue& v : values_)
    if (text == v.name) return true;
  return false;
}

std::vector<cow_String> omu_PrimEnumBase::PermissibleValues() const {
  std::vector<cow_String> names;
  for (const omu_EnumValue& v : values_) names.emplace_back(v.name);
  return names;
}

std::unique_ptr<omu_Primitive> omu_PrimEnumBase::Clone() const {
  return std::make_unique<omu_PrimEnumBase>(*this);
}

cow_String omu_PrimEnumBase::DescribeKind() const {
  if (*enumName_ == '\0') return "SymbolicConstant";
  return cow_String("SymbolicConstant of ") + enumName_;
}
