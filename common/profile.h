// The settings file in the Windows profile-file format: takes a file (its path or its
// bytes) with a section and a key, and returns the key's number or the file with a new value.
//
// Both shells read "tuvo.ini" the same way: the Windows program through the system's
// profile functions, the others through these, which follow those functions rule for rule
// as Wine runs them (the table of awkward files in tests/common holds the evidence). Plain
// records and free functions over the C library's file calls; nothing here throws.
#pragma once

#include <cstddef>
#include <cstdint>

// How the file's text is stored, told by its first bytes (a byte-order mark) as the
// Windows profile functions tell it; a file without a mark is read in the ANSI code page.
enum ProfileEncoding : int32_t {
    profile_ansi = 0,
    profile_utf8 = 1,
    profile_utf16le = 2,
    profile_utf16be = 3,
};

// A settings file held whole, byte for byte. Its text is a row of code units: bytes in
// an ANSI or UTF-8 file, 16-bit units in a UTF-16 one.
struct ProfileFile {
    char* bytes;  // owned; null when the file is empty
    size_t size;
    ProfileEncoding encoding;
    size_t text_start;  // the first byte after the byte-order mark
    size_t unit_size;   // 1, or 2 in UTF-16
    size_t units;       // code units of text; an odd last byte of a UTF-16 file is none
};

enum ProfileLoad : int32_t { profile_loaded = 0, profile_missing = 1, profile_unreadable = 2 };

// The largest settings file read. A larger one is unreadable: it reads as no file, and no
// save replaces it. Its first part is not read instead: a cut could fall inside a value
// and turn it into another number, and a save would drop the rest of the file.
constexpr size_t profile_largest_file = size_t{1} << 20;
// Why a settings file could not be read or saved: an errno value, or this one for a path
// that holds something other than a regular file (a pipe, a device).
constexpr int profile_not_regular = -1;
// The reason in words: the system's text for an errno value.
const char* profile_error_text(int error);

// Reads the file at |path| (taken as it is: unlike the Windows functions, a bare name is not
// looked for in the Windows folder). |file| is empty unless the result is profile_loaded.
// Only a regular file of at most profile_largest_file bytes is read; anything else is
// unreadable, and opening it never waits (a pipe with no writer).
ProfileLoad profile_load(const char* path, ProfileFile* file);
// The same from the file open at |descriptor|, read from its start; |*error| tells why
// when the result is profile_unreadable.
ProfileLoad profile_load_open(int descriptor, ProfileFile* file, int* error);
// |file| becomes a copy of |size| bytes. False, and |file| empty, when memory ran out.
bool profile_from_bytes(const char* bytes, size_t size, ProfileFile* file);
// Frees the bytes; the record is left empty and may be used again.
void profile_release(ProfileFile* file);

// The number |key| of |section| holds as GetPrivateProfileIntA reads it, cast to int32_t
// as the Windows program casts it: |fallback| when the section, the key or its value is
// missing. Section and key names are compared without regard to ASCII case; the program's
// names are ASCII (one with other characters is compared unit for unit with its bytes,
// which is right in an ANSI file only).
int32_t profile_int(const ProfileFile& file, const char* section, const char* key, int32_t fallback);
// The same straight from the file at |path|: |fallback| when it cannot be read.
int32_t profile_read_int(const char* path, const char* section, const char* key, int32_t fallback);

// |file| with |key| of |section| set to |value| (ANSI text, code page 1252) into |result|,
// a file of its own. In the first section of the name, the first key of the name gets the
// line "key=value" CRLF (the key spelt as the file spells it); a missing key is added after
// the section's last line that is not blank, a missing section at the end of the file. A key
// that already holds the value leaves the file as it was. Every other byte stays, and the
// text keeps the file's encoding. False, and |result| empty, when memory ran out.
bool profile_set_string(const ProfileFile& file, const char* section, const char* key,
                        const char* value, ProfileFile* result);

// One key of a section and the value it is to hold.
struct ProfileEntry {
    const char* key;
    const char* value;
};
// |file| with each entry set in turn, in their order, as profile_set_string sets one.
bool profile_set_strings(const ProfileFile& file, const char* section, const ProfileEntry* entries,
                         size_t count, ProfileFile* result);

// Sets |count| keys of |section| in the file at |path| in one save, creating the file when
// it is missing: the file is read, changed in memory as profile_set_strings changes it and
// written once, whole, to a new file beside it that is flushed to the disk and renamed over
// it, so that it is the old file or the new one whole. Returns 0, or why the file could not
// be read or written (it is then as it was, and nothing is left beside it). Like the Windows
// writer, it refuses a file it cannot open for writing, and leaves a file that already
// holds every value untouched.
//
// Elsewhere than on Windows, where the program saves through the system's functions and this
// serves the tests: saves in one folder are taken one at a time (a lock on the folder, the
// file read again inside it), so that two programs saving at once never mix their keys; a
// symbolic link at |path| is followed, and its target saved and replaced; and a writable file
// in a folder that takes no new file is rewritten in place.
int profile_save(const char* path, const char* section, const ProfileEntry* entries, size_t count);
// One key saved as WritePrivateProfileStringA sets it: profile_save of one entry. False when
// the file cannot be read or written. One way from Wine's writer: it rebuilds the whole file
// from what it read (blanks, blank lines and LF line breaks go), where this one keeps every
// other line.
bool profile_write_string(const char* path, const char* section, const char* key, const char* value);
