#pragma once
// The application's colour names: the X11 colour names (matched without regard to case, with
// X11's spaced spellings such as "dark red" beside "DarkRed", and both "gray" and "grey" where
// X11 has both), "#RRGGBB" in either case, and "Default", the system's default colour, which has
// no RGB of its own.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

#include "cow_String.h"

class omu_Arguments;
template <class T>
class omi_SingletonBase;

class sesK_ColorMap {
 public:
  static sesK_ColorMap& Instance();
  static void Finalize();

  // The colour of a known name or of "#RRGGBB"; false (rgb untouched) for unknown text and for
  // "Default".
  bool Lookup(const cow_String& name, unsigned char rgb[3]) const;
  // True for every name Lookup knows and for "Default".
  bool IsColor(const cow_String& name) const;
  // Reads the optional colour keyword of a setValues call (after args.Optional()). Absent: false,
  // `color` unchanged. A known colour: stored in `color` as written, true. Text that is no colour
  // raises omu_ValueErrorException naming keyword and value; a value that is no text raises the
  // arguments' TypeError. Either way `color` keeps its value.
  bool ProcessColorArg(omu_Arguments& args, cow_String& color, const char* keyword);

 private:
  friend class omi_SingletonBase<sesK_ColorMap>;
  sesK_ColorMap();

  // Lets the table be searched with a string_view, without building a std::string per lookup.
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const noexcept {
      return std::hash<std::string_view>()(s);
    }
  };
  using Rgb = std::array<unsigned char, 3>;

  void Add(std::string_view name, Rgb rgb);

  std::unordered_map<std::string, Rgb, Hash, std::equal_to<>> names_;  // keyed by lower case
};
