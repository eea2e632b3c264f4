#pragma once
// Base of every scripting object type. A type describes itself with tables of methods and
// read-only members (and deprecated ones, with the version and the replacement); the binding
// serves every object from those tables. A derived type describes itself after its base, and
// lookups search the most derived description first.
#include <memory>
#include <type_traits>
#include <vector>

#include "cow_String.h"
#include "omu_Primitive.h"
#include "omu_Signature.h"

class omu_Arguments;
class omu_InterfaceObj;

using omu_MethodFn = omu_Result (*)(omu_InterfaceObj&, omu_Arguments&);
using omu_GetterFn = omu_Result (*)(omu_InterfaceObj&);
using omu_SetterFn = void (*)(omu_InterfaceObj&, const omu_Primitive&);

struct omu_MethodRow {
  const char* name;
  omu_MethodFn method;
  const omu_Signature* signature = nullptr;  // what it reads; its help and Python signature
};
struct omu_MemberRow {
  const char* name;
  omu_GetterFn getter;
  omu_SetterFn setter;
  const char* kind = nullptr;  // of its value, as in a signature
  const char* doc = nullptr;   // a line on what it holds
};
struct omu_DeprecatedMethodRow {
  const char* name;
  omu_MethodFn method;
  const char* version;
  const char* replacement;
  const omu_Signature* signature = nullptr;
};
struct omu_DeprecatedMemberRow {
  const char* name;
  omu_GetterFn getter;
  omu_SetterFn setter;
  const char* version;
  const char* replacement;
};

struct omu_TypeDescription {
  const char* typeName;
  const omu_MethodRow* methods;
  const omu_MemberRow* members;
  const omu_DeprecatedMethodRow* deprecatedMethods;
  const omu_DeprecatedMemberRow* deprecatedMembers;
};

// Adapters from member functions to table entries: omu_Method<&T::Fn>, omu_Getter<&T::Fn>.
template <class M>
struct omu_MemberClass;
template <class C, class R, class... A>
struct omu_MemberClass<R (C::*)(A...)> {
  using type = C;
};
template <class C, class R, class... A>
struct omu_MemberClass<R (C::*)(A...) const> {
  using type = C;
};

template <auto Fn>
omu_Result omu_Method(omu_InterfaceObj& self, omu_Arguments& args) {
  using C = typename omu_MemberClass<decltype(Fn)>::type;
  return (static_cast<C&>(self).*Fn)(args);
}
template <auto Fn>
omu_Result omu_Getter(omu_InterfaceObj& self) {
  using C = typename omu_MemberClass<decltype(Fn)>::type;
  return (static_cast<C&>(self).*Fn)();
}

class omu_InterfaceObj {
 public:
  // The keyword under which commands take an object to copy.
  static constexpr const char* objectToCopyCmd = "objectToCopy";

  virtual ~omu_InterfaceObj();

  virtual std::unique_ptr<omu_InterfaceObj> Copy() const = 0;
  virtual cow_String Repr() const;
  virtual cow_String FullRepr() const { return Repr(); }
  // Where the object a command creates is kept, given the path of the object it was called on.
  virtual cow_String CommandPath(const cow_String& parentPath, const cow_String& command,
                                 const omu_Arguments& args) const;

  // The most derived type name, and whether `typeName` is this type or one of its bases.
  const char* ObjectTypeName() const;
  bool IsOfType(const char* typeName) const;

  // Objects whose methods and members appear on this one (fragments of a session or layer).
  virtual std::vector<omu_InterfaceObj*> Extensions() const { return {}; }

  // Sequence protocol (len(obj), obj[i], iteration); a length below 0 means not a sequence.
  virtual long SequenceLength() const { return -1; }
  virtual omu_Result SequenceItem(long index) const;

  // Arithmetic of scripts: `op` is '+', '-', '*', '/' or 'p' (power) with `other` the other
  // operand (this object is the right one when `reflected`), or 'n' (negation) and 'a' (absolute
  // value) with `other` null. Null when the type has no such operation for that operand.
  virtual omu_Result Arithmetic(char op, const omu_Primitive* other, bool reflected);
  // Numbers the object lends out in place (x0, y0, x1, y1, ... as float), for the buffer
  // protocol: the first one and the count of pairs, or null when it has none to lend. `keeper`
  // receives what keeps that storage alive while it is lent, whatever happens to the object.
  virtual const float* LendPairs(std::size_t& pairs, std::shared_ptr<const void>& keeper) const;

  // Name lookup over the own descriptions, then the extensions.
  enum class EntryKind { None, Method, Member };
  struct Entry {
    EntryKind kind = EntryKind::None;
    omu_InterfaceObj* target = nullptr;
    omu_MethodFn method = nullptr;
    omu_GetterFn getter = nullptr;
    const char* deprecatedVersion = nullptr;  // set for deprecated entries
    const char* replacement = nullptr;
    const omu_Signature* signature = nullptr;  // of a method
    const char* valueKind = nullptr;           // of a member
    const char* doc = nullptr;                 // of a member
  };
  Entry Lookup(const cow_String& name);
  // Method and member names, deprecated ones included, without repeats.
  std::vector<cow_String> MemberNames() const;

 protected:
  omu_InterfaceObj() = default;
  omu_InterfaceObj(const omu_InterfaceObj&) = default;
  omu_InterfaceObj& operator=(const omu_InterfaceObj&) = default;

  // Called by each constructor of the type chain; any table may be null.
  void DescribeType(const char* typeName, const omu_MethodRow* methods,
                    const omu_MemberRow* members,
                    const omu_DeprecatedMethodRow* deprecatedMethods = nullptr,
                    const omu_DeprecatedMemberRow* deprecatedMembers = nullptr);

 private:
  Entry LookupOwn(const cow_String& name);
  std::vector<omu_TypeDescription> descriptions_;  // base first, most derived last
};
