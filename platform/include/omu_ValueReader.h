#pragma once
// Conversion of an argument primitive into the C++ value a command reads. `Read` tells whether
// the primitive is of the wanted kind; `Expected` names that kind for error messages.
#include <memory>
#include <type_traits>
#include <vector>

#include "cow_String.h"
#include "omu_InterfaceObj.h"
#include "omu_PrimEnumBase.h"
#include "omu_PrimType.h"
#include "omu_Primitive.h"

class omu_PrimSequence;
class omu_PrimNone;

class omu_ValueReader {
 public:
  static bool Read(const omu_Primitive& p, bool& value);
  static bool Read(const omu_Primitive& p, int& value);
  static bool Read(const omu_Primitive& p, long long& value);
  static bool Read(const omu_Primitive& p, float& value);
  static bool Read(const omu_Primitive& p, double& value);
  static bool Read(const omu_Primitive& p, cow_String& value);
  // A tuple or a list, unread: the caller walks its items.
  static bool Read(const omu_Primitive& p, const omu_PrimSequence*& value);
  // Any value at all (commands that look at the kind themselves).
  static bool Read(const omu_Primitive& p, const omu_Primitive*& value);
  // A symbolic constant whose name is permissible for the target's enumeration.
  static bool Read(const omu_Primitive& p, omu_PrimEnumBase& value);
  template <class T>
  static bool Read(const omu_Primitive& p, std::vector<T>& value);
  // An object of a scripting type (or of a type derived from it).
  template <class T>
  static bool Read(const omu_Primitive& p, std::shared_ptr<T>& value);

  static cow_String Expected(const bool&) { return "bool"; }
  static cow_String Expected(const int&) { return "an int from -2147483648 to 2147483647"; }
  static cow_String Expected(const long long&) { return "int"; }
  static cow_String Expected(const float&) { return "float"; }
  static cow_String Expected(const double&) { return "float"; }
  static cow_String Expected(const cow_String&) { return "str"; }
  static cow_String Expected(const omu_PrimSequence* const&) { return "a sequence"; }
  static cow_String Expected(const omu_Primitive* const&) { return "a value"; }
  static cow_String Expected(const omu_PrimEnumBase& target);
  template <class T>
  static cow_String Expected(const std::vector<T>&) {
    return cow_String("a sequence of ") + Expected(T());
  }
  template <class T>
  static cow_String Expected(const std::shared_ptr<T>&) {
    return cow_String("an object of type ") + T::TypeName();
  }

  // Reads or raises a TypeError that names `what` (a keyword or an item), the kind expected and
  // the kind given.
  template <class T>
  static void Require(const omu_Primitive& p, T& value, const cow_String& what) {
    if (!Read(p, value)) RaiseWrongKind(what, Expected(value), p);
  }
  [[noreturn]] static void RaiseWrongKind(const cow_String& what, const cow_String& expected,
                                          const omu_Primitive& given);
  static cow_String WrongKindText(const cow_String& what, const cow_String& expected,
                                  const omu_Primitive& given);

 private:
  static const omu_PrimSequence* AsSequence(const omu_Primitive& p);
  static std::size_t SequenceSize(const omu_PrimSequence& s);
  static const omu_Primitive& SequenceItem(const omu_PrimSequence& s, std::size_t i);
};

template <class T>
bool omu_ValueReader::Read(const omu_Primitive& p, std::vector<T>& value) {
  const omu_PrimSequence* s = AsSequence(p);
  if (!s) return false;
  std::vector<T> items(SequenceSize(*s));
  for (std::size_t i = 0; i < items.size(); ++i) {
    T item{};
    if (!Read(SequenceItem(*s, i), item)) return false;
    items[i] = std::move(item);
  }
  value = std::move(items);
  return true;
}

template <class T>
bool omu_ValueReader::Read(const omu_Primitive& p, std::shared_ptr<T>& value) {
  if (p.Kind() != omu_PrimKind::Type) return false;
  std::shared_ptr<T> object =
      std::dynamic_pointer_cast<T>(static_cast<const omu_PrimType&>(p).Object());
  if (!object) return false;
  value = std::move(object);
  return true;
}
