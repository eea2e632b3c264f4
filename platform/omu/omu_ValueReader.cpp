#include "omu_ValueReader.h"

#include <limits>

#include "omu_PrimBool.h"
#include "omu_PrimNumber.h"
#include "omu_PrimSequence.h"
#include "omu_PrimString.h"
#include "omu_TypeErrorException.h"

namespace {
const omu_PrimNumber* AsNumber(const omu_Primitive& p) {
  return p.Kind() == omu_PrimKind::Number ? static_cast<const omu_PrimNumber*>(&p) : nullptr;
}
}  // namespace

bool omu_ValueReader::Read(const omu_Primitive& p, bool& value) {
  if (p.Kind() != omu_PrimKind::Bool) return false;
  value = static_cast<const omu_PrimBool&>(p).Value();
  return true;
}

bool omu_ValueReader::Read(const omu_Primitive& p, long long& value) {
  const omu_PrimNumber* n = AsNumber(p);
  if (!n || !n->IsInteger()) return false;
  value = n->AsInteger();
  return true;
}

bool omu_ValueReader::Read(const omu_Primitive& p, int& value) {
  long long wide = 0;
  if (!Read(p, wide) || wide < std::numeric_limits<int>::min() ||
      wide > std::numeric_limits<int>::max())
    return false;
  value = static_cast<int>(wide);
  return true;
}

bool omu_ValueReader::Read(const omu_Primitive& p, double& value) {
  const omu_PrimNumber* n = AsNumber(p);
  if (!n) return false;
  value = n->IsInteger() ? static_cast<double>(n->AsInteger()) : n->AsDouble();
  return true;
}

bool omu_ValueReader::Read(const omu_Primitive& p, float& value) {
  double wide = 0;
  if (!Read(p, wide)) return false;
  value = static_cast<float>(wide);
  return true;
}

bool omu_ValueReader::Read(const omu_Primitive& p, cow_String& value) {
  if (p.Kind() != omu_PrimKind::String) return false;
  value = static_cast<const omu_PrimString&>(p).Value();
  return true;
}

bool omu_ValueReader::Read(const omu_Primitive& p, const omu_PrimSequence*& value) {
  const omu_PrimSequence* s = AsSequence(p);
  if (!s) return false;
  value = s;
  return true;
}

bool omu_ValueReader::Read(const omu_Primitive& p, const omu_Primitive*& value) {
  value = &p;
  return true;
}

bool omu_ValueReader::Read(const omu_Primitive& p, omu_PrimEnumBase& value) {
  if (p.Kind() != omu_PrimKind::Enum) return false;
  return value.SetValue(static_cast<const omu_PrimEnumBase&>(p).Text());
}

cow_String omu_ValueReader::Expected(const omu_PrimEnumBase& target) {
  cow_String text = cow_String("a SymbolicConstant of ") + target.EnumName() + " (";
  bool first = true;
  for (const cow_String& name : target.PermissibleValues()) {
    if (!first) text += ", ";
    text += name;
    first = false;
  }
  return text + ")";
}

const omu_PrimSequence* omu_ValueReader::AsSequence(const omu_Primitive& p) {
  if (p.Kind() != omu_PrimKind::Tuple && p.Kind() != omu_PrimKind::List) return nullptr;
  return static_cast<const omu_PrimSequence*>(&p);
}

std::size_t omu_ValueReader::SequenceSize(const omu_PrimSequence& s) {
  return s.Size();
}

const omu_Primitive& omu_ValueReader::SequenceItem(const omu_PrimSequence& s, std::size_t i) {
  return s.Item(i);
}

cow_String omu_ValueReader::WrongKindText(const cow_String& what, const cow_String& expected,
                                          const omu_Primitive& given) {
  return what + " expects " + expected + ", got " + given.DescribeKind();
}

void omu_ValueReader::RaiseWrongKind(const cow_String& what, const cow_String& expected,
                                     const omu_Primitive& given) {
  throw omu_TypeErrorException(WrongKindText(what, expected, given));
}
