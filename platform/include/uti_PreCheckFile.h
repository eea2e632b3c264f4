#pragma once
// Checks a path before a command reads or writes it, so that a file that cannot be used is
// refused before anything is read or written. Returns the path to open (a leading "~" expanded);
// raises uti_FileException otherwise.
#include <string>

#include "cow_String.h"

enum uti_FileAccessEnm { uti_READ_ACCESS = 0, uti_WRITE_ACCESS = 1 };

// `context` names the file's role in the message ("XY data file", "report file").
//
// Refused, with nothing touched:
// - a name holding a NUL byte (omu_ValueErrorException "embedded null byte", as Python's open()
//   says): the system would see only the part before it, another file;
// - reading: a path that does not name a readable regular file (links followed);
// - writing: an existing path (links followed) that is a folder (EISDIR) or any other kind of
//   file that is not a regular one (EINVAL: a FIFO, a device, a socket would be written into,
//   or replaced by a regular file), or a regular file that cannot be written; a path that does
//   not exist yet when the folder it would be created in (a dangling link's target's folder)
//   does not exist or cannot be written.
cow_String uti_PreCheckFile(const cow_String& name, int mode, const cow_String& context);
// The path with a leading "~" or "~user" expanded; unchanged otherwise.
cow_String uti_ExpandHome(const cow_String& name);
// The file a path names once the symbolic links of its last component are followed: the last
// link's target (which need not exist), or the path itself when it is no link. Writers replace
// that file, so that a link stays a link. uti_FileException (ELOOP, naming `path`) for a chain
// of more than 40 links.
cow_String uti_FollowLinks(const cow_String& path);
// A name for a temporary file beside `target`, in its folder so that a rename over the target
// stays on one file system: ".xyp<pid>-<n>.tmp", n counting up in the process. It does not grow
// with the target's name, so any name the folder takes still has room beside it. Callers create
// it exclusively and ask again when it exists.
std::string uti_TemporaryNameBeside(const std::string& target);
