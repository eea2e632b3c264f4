#pragma once
// The application's translation of a user-visible text: a text registered with the resource
// manager under the text itself replaces it; otherwise the text is returned as given. A
// translation keeps the original's placeholders ("%s"). A text may end in "\@context" to tell
// apart words that translate differently ("Maximum\@probe"); untranslated, the suffix goes.
#include "cow_String.h"

cow_String utl_tr(const cow_String& text);
