// Changing the settings file in memory: takes a file, a section, and keys with values, and
// returns the file with each value set as WritePrivateProfileStringA sets it.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "profile.h"
#include "profile_lines.h"

namespace {

constexpr const char* line_break = "\r\n";  // the Windows writer ends every line so
constexpr size_t out_chunk = 256;

// The bytes of a new file as they are put together; |failed| once memory ran out.
struct ByteOut {
    char* data;
    size_t size;
    size_t room;
    bool failed;
};

void put_bytes(ByteOut* out, const void* bytes, size_t count) {
    if (out->failed || count == 0) return;
    if (out->size + count > out->room) {
        const size_t room = out->size + count + out_chunk;
        char* larger = static_cast<char*>(std::realloc(out->data, room));
        if (!larger) {
            out->failed = true;
            return;
        }
        out->data = larger;
        out->room = room;
    }
    std::memcpy(out->data + out->size, bytes, count);
    out->size += count;
}

// Code page 1252 from 0x80 to 0x9F; the rest of the page is Latin-1. The Windows writer
// takes its text in the ANSI code page, which is this one where the program runs.
constexpr uint16_t cp1252_high[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

uint32_t ansi_to_unicode(unsigned char c) { return c >= 0x80 && c < 0xA0 ? cp1252_high[c - 0x80] : c; }

void put_unicode(ByteOut* out, ProfileEncoding encoding, uint32_t c) {
    unsigned char b[3];
    if (encoding == profile_utf16le || encoding == profile_utf16be) {
        const bool little = encoding == profile_utf16le;
        b[little ? 0 : 1] = static_cast<unsigned char>(c & 0xFF);
        b[little ? 1 : 0] = static_cast<unsigned char>(c >> 8);
        put_bytes(out, b, 2);
    } else if (c < 0x80) {
        b[0] = static_cast<unsigned char>(c);
        put_bytes(out, b, 1);
    } else if (c < 0x800) {
        b[0] = static_cast<unsigned char>(0xC0 | (c >> 6));
        b[1] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        put_bytes(out, b, 2);
    } else {  // code page 1252 lies wholly in the Basic Multilingual Plane
        b[0] = static_cast<unsigned char>(0xE0 | (c >> 12));
        b[1] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
        b[2] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        put_bytes(out, b, 3);
    }
}

// ANSI text in the file's own encoding.
void put_text(ByteOut* out, ProfileEncoding encoding, const char* text, size_t length) {
    if (encoding == profile_ansi) {
        put_bytes(out, text, length);
        return;
    }
    for (size_t i = 0; i < length; ++i)
        put_unicode(out, encoding, ansi_to_unicode(static_cast<unsigned char>(text[i])));
}

void put_string(ByteOut* out, ProfileEncoding encoding, const char* text) {
    put_text(out, encoding, text, std::strlen(text));
}

size_t byte_at(const ProfileFile& file, size_t unit) { return file.text_start + unit * file.unit_size; }

// The old file's bytes from |from| up to |to|.
void put_old(ByteOut* out, const ProfileFile& file, size_t from, size_t to) {
    put_bytes(out, file.bytes + from, to - from);
}

// A line added after the unit at |at|: when that is the last of a line without a line
// break (the file's last line), the break comes first.
void put_break_before(ByteOut* out, const ProfileFile& file, size_t at) {
    if (at > 0 && !is_line_break(profile_unit(file, at - 1))) put_string(out, file.encoding, line_break);
}

struct Text {
    const char* text;
    size_t length;
};

Text trimmed_text(const char* text) {
    Text t = {text, std::strlen(text)};
    trim_profile_text(&t.text, &t.length);
    return t;
}

void put_key_line(ByteOut* out, ProfileEncoding encoding, Text key, Text value) {
    put_text(out, encoding, key.text, key.length);
    put_string(out, encoding, "=");
    put_text(out, encoding, value.text, value.length);
    put_string(out, encoding, line_break);
}

// True when the key already holds |value|: the Windows writer then leaves the file alone.
bool holds_value(const ProfileFile& file, const ProfileLine& line, Text value) {
    if (!line.has_value) return false;
    ByteOut wanted = {};
    put_text(&wanted, file.encoding, value.text, value.length);
    const ProfileSpan held = cut_at_nul(file, line.value);
    const size_t from = byte_at(file, held.begin);
    const size_t count = byte_at(file, held.end) - from;
    const bool same = !wanted.failed && wanted.size == count &&
                      (count == 0 || std::memcmp(wanted.data, file.bytes + from, count) == 0);
    std::free(wanted.data);
    return same;
}

// The new file for a key that is there: its line becomes "name=value", the name spelt as
// the file spells it.
void replace_key(ByteOut* out, const ProfileFile& file, const ProfileLine& line, Text value) {
    put_old(out, file, 0, byte_at(file, line.begin));
    put_old(out, file, byte_at(file, line.name.begin), byte_at(file, line.name.end));
    put_string(out, file.encoding, "=");
    put_text(out, file.encoding, value.text, value.length);
    put_string(out, file.encoding, line_break);
    put_old(out, file, byte_at(file, line.end), file.size);
}

// The new file for a key its section lacks: added after the section's last line that is not
// blank, so blank lines before the next section stay where they were.
void add_key(ByteOut* out, const ProfileFile& file, const ProfileSection& section, Text key, Text value) {
    const size_t at = byte_at(file, section.content_end);
    put_old(out, file, 0, at);
    put_break_before(out, file, section.content_end);
    put_key_line(out, file.encoding, key, value);
    put_old(out, file, at, file.size);
}

// The new file for a missing section: added at the end of the text (before an odd last byte
// of a UTF-16 file, which no reader counts).
void add_section(ByteOut* out, const ProfileFile& file, Text section, Text key, Text value) {
    const size_t at = byte_at(file, file.units);
    put_old(out, file, 0, at);
    put_break_before(out, file, file.units);
    put_string(out, file.encoding, "[");
    put_text(out, file.encoding, section.text, section.length);
    put_string(out, file.encoding, "]");
    put_string(out, file.encoding, line_break);
    put_key_line(out, file.encoding, key, value);
    put_old(out, file, at, file.size);
}

}  // namespace

bool profile_set_string(const ProfileFile& file, const char* section, const char* key,
                        const char* value, ProfileFile* result) {
    *result = {nullptr, 0, profile_ansi, 0, 1, 0};
    // The Windows writer trims the names and the value it is given.
    const Text section_name = trimmed_text(section);
    const Text key_name = trimmed_text(key);
    const Text new_value = trimmed_text(value);
    ProfileSection found;
    ProfileLine line;
    ByteOut out = {};
    if (!find_profile_section(file, section_name.text, section_name.length, &found)) {
        add_section(&out, file, section_name, key_name, new_value);
    } else if (!find_profile_key(file, found, key_name.text, key_name.length, &line)) {
        add_key(&out, file, found, key_name, new_value);
    } else if (holds_value(file, line, new_value)) {
        put_old(&out, file, 0, file.size);
    } else {
        replace_key(&out, file, line, new_value);
    }
    const bool made = !out.failed && profile_from_bytes(out.data, out.size, result);
    std::free(out.data);
    return made;
}

bool profile_set_strings(const ProfileFile& file, const char* section, const ProfileEntry* entries,
                         size_t count, ProfileFile* result) {
    if (!profile_from_bytes(file.bytes, file.size, result)) return false;
    for (size_t i = 0; i < count; ++i) {
        ProfileFile next;
        const bool made = profile_set_string(*result, section, entries[i].key, entries[i].value, &next);
        profile_release(result);
        if (!made) return false;
        *result = next;
    }
    return true;
}
