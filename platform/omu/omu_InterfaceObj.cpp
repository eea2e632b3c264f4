#include "omu_InterfaceObj.h"

#include <cstring>

#include "omu_Arguments.h"
#include "omu_TypeErrorException.h"

omu_InterfaceObj::~omu_InterfaceObj() = default;

void omu_InterfaceObj::DescribeType(const char* typeName, const omu_MethodRow* methods,
                                    const omu_MemberRow* members,
                                    const omu_DeprecatedMethodRow* deprecatedMethods,
                                    const omu_DeprecatedMemberRow* deprecatedMembers) {
  // A copy constructor inherits its source's descriptions; describing again must not repeat one.
  for (const omu_TypeDescription& d : descriptions_)
    if (std::strcmp(d.typeName, typeName) == 0) return;
  descriptions_.push_back({typeName, methods, members, deprecatedMethods, deprecatedMembers});
}

const char* omu_InterfaceObj::ObjectTypeName() const {
  return descriptions_.empty() ? "object" : descriptions_.back().typeName;
}

bool omu_InterfaceObj::IsOfType(const char* typeName) const {
  for (const omu_TypeDescription& d : descriptions_)
    if (std::strcmp(d.typeName, typeName) == 0) return true;
  return false;
}

cow_String omu_InterfaceObj::Repr() const {
  return cow_String("<") + ObjectTypeName() + " object>";
}

cow_String omu_InterfaceObj::CommandPath(const cow_String& parentPath, const cow_String&,
                                         const omu_Arguments&) const {
  return parentPath;
}

omu_Result omu_InterfaceObj::SequenceItem(long) const {
  throw omu_TypeErrorException(cow_String("'") + ObjectTypeName() + "' object is not a sequence");
}

omu_InterfaceObj::Entry omu_InterfaceObj::LookupOwn(const cow_String& name) {
  Entry e;
  for (auto d = descriptions_.rbegin(); d != descriptions_.rend(); ++d) {
    for (const omu_MethodRow* m = d->methods; m && m->name && *m->name; ++m)
      if (name == m->name)
        return Entry{EntryKind::Method, this, m->method, nullptr, nullptr, nullptr, m->signature};
    for (const omu_MemberRow* m = d->members; m && m->name && *m->name; ++m)
      if (name == m->name)
        return Entry{EntryKind::Member, this,    nullptr, m->getter, nullptr,
                     nullptr,           nullptr, m->kind, m->doc};
    for (const omu_DeprecatedMethodRow* m = d->deprecatedMethods; m && m->name && *m->name; ++m)
      if (name == m->name)
        return Entry{EntryKind::Method, this,           m->method,   nullptr,
                     m->version,        m->replacement, m->signature};
    for (const omu_DeprecatedMemberRow* m = d->deprecatedMembers; m && m->name && *m->name; ++m)
      if (name == m->name)
        return Entry{EntryKind::Member, this, nullptr, m->getter, m->version, m->replacement};
  }
  return e;
}

omu_InterfaceObj::Entry omu_InterfaceObj::Lookup(const cow_String& name) {
  Entry e = LookupOwn(name);
  if (e.kind != EntryKind::None) return e;
  for (omu_InterfaceObj* extension : Extensions()) {
    e = extension->LookupOwn(name);
    if (e.kind != EntryKind::None) return e;
  }
  return e;
}

std::vector<cow_String> omu_InterfaceObj::MemberNames() const {
  std::vector<cow_String> names;
  auto add = [&names](const char* name) {
    for (const cow_String& n : names)
      if (n == name) return;
    names.emplace_back(name);
  };
  auto addOwn = [&add](const omu_InterfaceObj& o) {
    for (auto d = o.descriptions_.rbegin(); d != o.descriptions_.rend(); ++d) {
      for (const omu_MethodRow* m = d->methods; m && m->name && *m->name; ++m) add(m->name);
      for (const omu_MemberRow* m = d->members; m && m->name && *m->name; ++m) add(m->name);
      for (const omu_DeprecatedMethodRow* m = d->deprecatedMethods; m && m->name && *m->name; ++m)
        add(m->name);
      for (const omu_DeprecatedMemberRow* m = d->deprecatedMembers; m && m->name && *m->name; ++m)
        add(m->name);
    }
  };
  addOwn(*this);
  for (const omu_InterfaceObj* extension : Extensions()) addOwn(*extension);
  return names;
}

omu_Result omu_InterfaceObj::Arithmetic(char, const omu_Primitive*, bool) {
  return nullptr;
}

const float* omu_InterfaceObj::LendPairs(std::size_t& pairs, std::shared_ptr<const void>&) const {
  pairs = 0;
  return nullptr;
}
