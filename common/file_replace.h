// Replacing a file whole: takes a path and the bytes it is to hold, and returns the file
// replaced in one step by a new one written beside it, or the reason it was not.
#pragma once

#include <cstddef>

// Writes |bytes| to a new file beside |path| (the same folder, a name no other file has),
// flushes it to the disk and renames it over |path|, so that the file is the old one or the
// new one whole; a symbolic link at |path| is itself replaced, its target left alone. The
// new file gets the permissions |mode| when it is 0 or more, else those of a new file.
// Returns 0, or the errno value of the step that failed, the new file then removed.
int replace_file(const char* path, const char* bytes, size_t size, int mode);
