#pragma once
// A reference to an object of an open results database that survives the database: the
// database's real path and opening generation, and the object's index in it (an instance's
// index; unused for the model). Get() resolves it through the open databases (ddr_Root), so a
// shortcut into a database that was closed, or opened again since, resolves to null instead of
// dangling.
#include <cstdint>
#include <utility>

#include "cow_String.h"

template <class T>
class ddr_Shortcut {
 public:
  ddr_Shortcut() = default;
  ddr_Shortcut(cow_String realPath, std::uint64_t generation, int index = -1)
      : path_(std::move(realPath)), generation_(generation), index_(index) {}

  bool IsEmpty() const { return path_.IsEmpty(); }
  const cow_String& Path() const { return path_; }
  std::uint64_t Generation() const { return generation_; }
  int Index() const { return index_; }
  // The object, null when the shortcut is empty, its database is no longer open as it was, or
  // the index is out of range.
  const T* Get() const;

  bool operator==(const ddr_Shortcut& other) const {
    return path_ == other.path_ && generation_ == other.generation_ && index_ == other.index_;
  }

 private:
  cow_String path_;
  std::uint64_t generation_ = 0;
  int index_ = -1;
};

class odiK_Model;
class odiK_BaseInstance;
template <>
const odiK_Model* ddr_Shortcut<odiK_Model>::Get() const;
template <>
const odiK_BaseInstance* ddr_Shortcut<odiK_BaseInstance>::Get() const;
