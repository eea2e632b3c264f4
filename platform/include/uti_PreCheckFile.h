#pragma once
// Checks a path before a command reads or writes it, so that a file that cannot be used is
// refused before anything is read or written. Returns the path to open (a leading "~" expanded);
// raises uti_FileException otherwise.
#include "cow_String.h"

enum uti_FileAccessEnm { uti_READ_ACCESS = 0, uti_WRITE_ACCESS = 1 };

// `context` names the file's role in the message ("XY data file", "report file").
cow_String uti_PreCheckFile(const cow_String& name, int mode, const cow_String& context);
// The path with a leading "~" or "~user" expanded; unchanged otherwise.
cow_String uti_ExpandHome(const cow_String& name);
