// uti_LabelMap<K, Id>: maps keys (usually an enumeration) to user-visible labels through a table
// of (default text, resource name, key) rows. Each user defines the table of its own
// instantiation, ended by a row whose text is nullptr (and key 0), e.g. in a header:
//
//   template <> inline const uti_LabelMap<Color, 1>::Row uti_LabelMap<Color, 1>::table[] = {
//       {"Red", "ColorRed", Color::kRed}, {"Green", "ColorGreen", Color::kGreen},
//       {nullptr, nullptr, Color(0)}};
//
// (or a declaration in a header and the definition in one source file). The label of a row is
// the text the resource lookup hook returns for its resource name, or the default text when
// there is no hook, no resource name, or the hook knows nothing better (returns nullptr).
#pragma once

#include <cstring>
#include <vector>

#include "cow_String.h"
#include "omi_Assert.h"

// Installed by the platform's resource manager; nullptr means "use the default texts".
using uti_ResourceLookupFn = const char* (*)(const char* resourceName, const char* defaultText);

inline uti_ResourceLookupFn& uti_LabelMapResourceLookup() {
  static uti_ResourceLookupFn fn = nullptr;
  return fn;
}

template <class K, int Id>
struct uti_LabelMapRow {
  const char* text;
  const char* resource;
  K key;
};

template <class K, int Id>
class uti_LabelMap {
 public:
  using Row = uti_LabelMapRow<K, Id>;
  static const Row table[];

  // The label for key; the null string when no row has the key.
  static cow_String LabelString(K key) {
    const Row* row = RowByKey(key);
    return row ? Label(*row) : cow_String::Null();
  }
  // The label of the row with this resource name; the null string when there is none.
  static cow_String LabelString(const cow_String& resourceName) {
    const Row* row = RowByResource(resourceName);
    return row ? Label(*row) : cow_String::Null();
  }
  static const char* DefaultLabelString(K key) {
    const Row* row = RowByKey(key);
    return row ? row->text : nullptr;
  }
  static const char* ResourceName(K key) {
    const Row* row = RowByKey(key);
    return row ? row->resource : nullptr;
  }

  // The key whose (possibly translated) label is label. A miss is a programming error.
  static K LabelKey(const cow_String& label) {
    for (const Row* row = table; row->text != nullptr; ++row)
      if (Label(*row) == label) return row->key;
    omi_AssertFail("Unable to find key given label string", __FILE__, __LINE__);
  }
  static K DefaultLabelKey(const cow_String& text) {
    for (const Row* row = table; row->text != nullptr; ++row)
      if (text == row->text) return row->key;
    omi_AssertFail("Unable to find key given label string", __FILE__, __LINE__);
  }
  static K ResourceKey(const cow_String& name) {
    const Row* row = RowByResource(name);
    if (row == nullptr)
      omi_AssertFail("Unable to find key given resource string", __FILE__, __LINE__);
    return row->key;
  }

  // Columns of the table, in table order. A row without a resource name gives a null string.
  static std::vector<cow_String> LabelStrings() {
    std::vector<cow_String> out;
    for (const Row* row = table; row->text != nullptr; ++row) out.push_back(Label(*row));
    return out;
  }
  static std::vector<cow_String> DefaultLabelStrings() {
    std::vector<cow_String> out;
    for (const Row* row = table; row->text != nullptr; ++row) out.emplace_back(row->text);
    return out;
  }
  static std::vector<cow_String> ResourceNames() {
    std::vector<cow_String> out;
    for (const Row* row = table; row->text != nullptr; ++row) out.emplace_back(row->resource);
    return out;
  }

 private:
  static cow_String Label(const Row& row) {
    const uti_ResourceLookupFn lookup = uti_LabelMapResourceLookup();
    if (lookup != nullptr && row.resource != nullptr) {
      if (const char* text = lookup(row.resource, row.text)) return cow_String(text);
    }
    return cow_String(row.text);
  }
  static const Row* RowByKey(K key) {
    for (const Row* row = table; row->text != nullptr; ++row)
      if (row->key == key) return row;
    return nullptr;
  }
  static const Row* RowByResource(const cow_String& name) {
    if (name.IsNull()) return nullptr;
    for (const Row* row = table; row->text != nullptr; ++row)
      if (row->resource != nullptr && name == row->resource) return row;
    return nullptr;
  }
};
