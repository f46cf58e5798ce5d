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

// Reads the file at |path| (taken as it is: unlike the Windows functions, a bare name is not
// looked for in the Windows folder). |file| is empty unless the result is profile_loaded.
ProfileLoad profile_load(const char* path, ProfileFile* file);
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
// Sets the key in the file at |path| as WritePrivateProfileStringA does, creating the file
// when it is missing. The new contents are written beside it and renamed over it, so the file
// is either the old one or the new one whole. False when the file cannot be read or written,
// or its directory is missing or refuses a new file; the file is then as it was. Two ways
// from Wine's writer: it rebuilds the whole file from what it read (blanks, blank lines and
// LF line breaks go), where this one keeps every other line; and it rewrites a writable file
// in a read-only directory in place, which this one refuses rather than risk the file.
bool profile_write_string(const char* path, const char* section, const char* key, const char* value);
