#pragma once
// Members and keywords of scripting objects that view a record: a member reads one field
// (omu_RecordMember<Obj, &Record::field>, where Obj::ConstGetOptions() gives the record) and
// builds the primitive of the field's kind; omu_ReadEnum reads an optional enumeration keyword.
#include <memory>
#include <type_traits>

#include "cow_String.h"
#include "omu_Arguments.h"
#include "omu_PrimBool.h"
#include "omu_PrimEnumBase.h"
#include "omu_PrimNumber.h"
#include "omu_PrimString.h"

inline omu_Result omu_ToPrimitive(float v) {
  return omu_PrimNumber::FromSingle(v);
}
inline omu_Result omu_ToPrimitive(int v) {
  return std::make_unique<omu_PrimNumber>(v);
}
inline omu_Result omu_ToPrimitive(bool v) {
  return std::make_unique<omu_PrimBool>(v);
}
inline omu_Result omu_ToPrimitive(const cow_String& v) {
  return std::make_unique<omu_PrimString>(v);
}
template <class E>
requires std::is_enum_v<E> omu_Result omu_ToPrimitive(E v) {
  return std::make_unique<omu_PrimEnum<E>>(v);
}

template <class Obj, auto Field>
omu_Result omu_RecordMember(omu_InterfaceObj& self) {
  return omu_ToPrimitive(static_cast<Obj&>(self).ConstGetOptions().*Field);
}

// An absent keyword keeps the field.
template <class E>
void omu_ReadEnum(omu_Arguments& args, const char* keyword, E& field) {
  omu_PrimEnum<E> value(field);
  if (args.Get(value, keyword)) field = value.Get();
}
