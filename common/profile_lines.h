// The lines of a settings file, shared by its reader and its writer: takes a ProfileFile
// and returns its lines one by one, the sections they make and the keys in a section.
#pragma once

#include <cstddef>
#include <cstdint>

#include "profile.h"

// A stretch of code units, |begin| up to (not including) |end|.
struct ProfileSpan {
    size_t begin;
    size_t end;
};

enum ProfileLineKind : int32_t { line_blank = 0, line_section = 1, line_key = 2 };

// One line. A line ends at a CR, an LF or a CR LF; a NUL does not end it.
struct ProfileLine {
    ProfileLineKind kind;
    size_t begin;       // its first unit
    size_t text_end;    // where its line break starts (or the text ends)
    size_t end;         // after its line break
    ProfileSpan name;   // the section's or the key's name, blanks trimmed
    ProfileSpan value;  // after the first '=', blanks trimmed; empty without one
    bool has_value;     // false for a key line without '=', which reads as no value
};

// The first section of a name. The lines before the first header form a section of their
// own whose name is empty, as they do for the Windows functions.
struct ProfileSection {
    size_t body;         // the first unit after its header line
    size_t end;          // where the next header line starts, or the text ends
    size_t content_end;  // after its last line that is not blank (after the header if none)
};

// Code unit |index| of the text: a byte, or a UTF-16 unit in the file's byte order.
uint32_t profile_unit(const ProfileFile& file, size_t index);
// Blanks around names and values: space, tab, vertical tab, form feed and the old DOS
// end-of-file mark (Ctrl-Z). Other control characters and non-ASCII spaces are kept.
bool is_profile_blank(uint32_t unit);
bool is_line_break(uint32_t unit);
// Splits off the line that starts at |*position| and moves |*position| past it. False at
// the end of the text.
bool next_profile_line(const ProfileFile& file, size_t* position, ProfileLine* line);
// |*text| and |*length| without blanks at either end: the trimming the Windows functions
// give the names and values they are passed.
void trim_profile_text(const char** text, size_t* length);
// Finds the first section named |name| (|length| characters, already trimmed).
bool find_profile_section(const ProfileFile& file, const char* name, size_t length,
                          ProfileSection* section);
// Finds the first key named |name| (|length| characters, already trimmed) in |section|.
bool find_profile_key(const ProfileFile& file, const ProfileSection& section, const char* name,
                      size_t length, ProfileLine* line);
// A name or value as the Windows functions hold it: up to its first NUL.
ProfileSpan cut_at_nul(const ProfileFile& file, ProfileSpan span);
