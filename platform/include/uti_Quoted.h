#pragma once
// A user's value as it goes into a one-line message: in single quotes, with quotes, backslashes
// and control bytes escaped, and text longer than `shown` bytes cut short with "...".
#include <cstddef>
#include <string_view>

#include "cow_String.h"

cow_String uti_Quoted(std::string_view text, std::size_t shown);
