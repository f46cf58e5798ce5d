// Writing the settings file: takes a file, a section, a key and a value, and returns the
// file with the value set as WritePrivateProfileStringA sets it, or writes that file whole.
#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#include <process.h>
#else
#include <unistd.h>
#endif

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "profile.h"
#include "profile_lines.h"

#ifndef O_BINARY
#define O_BINARY 0
#endif

namespace {

constexpr const char* line_break = "\r\n";  // the Windows writer ends every line so
constexpr int temp_attempts = 100;
constexpr size_t temp_name_room = 32;  // ".<pid>-<attempt>.tmp" and the terminator
constexpr size_t out_chunk = 256;
constexpr size_t write_chunk = size_t{1} << 20;

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

// The file can be opened for writing: false for a read-only file, or one another program
// holds open without sharing it, which is when the Windows writer fails.
bool writable(const char* path) {
    FILE* stream = std::fopen(path, "r+b");
    if (!stream) return false;
    std::fclose(stream);
    return true;
}

bool write_all(int descriptor, const char* bytes, size_t size) {
    while (size > 0) {
        const size_t chunk = size < write_chunk ? size : write_chunk;
        const auto wrote = write(descriptor, bytes, static_cast<unsigned>(chunk));
        if (wrote <= 0) return false;
        bytes += wrote;
        size -= static_cast<size_t>(wrote);
    }
#ifdef _WIN32
    return _commit(descriptor) == 0;
#else
    return fsync(descriptor) == 0;
#endif
}

// A new file beside |path| whose name no other file has, made with the permissions a new
// file gets; its name is left in |temp|. -1 when the directory refuses it.
int open_temp(const char* path, char* temp, size_t room) {
    for (int attempt = 0; attempt < temp_attempts; ++attempt) {
        std::snprintf(temp, room, "%s.%ld-%d.tmp", path, static_cast<long>(getpid()), attempt);
        const int descriptor = open(temp, O_WRONLY | O_CREAT | O_EXCL | O_BINARY, 0666);
        if (descriptor >= 0 || errno != EEXIST) return descriptor;
    }
    return -1;
}

// Puts |temp| in the place of |path|.
bool rename_over(const char* temp, const char* path, bool existed) {
#ifdef _WIN32
    // The Windows C library's rename never replaces a file: the old file steps aside under a
    // name of its own and comes back when the new one cannot take its place.
    if (existed) {
        const size_t room = std::strlen(temp) + 5;
        char* aside = static_cast<char*>(std::malloc(room));
        if (!aside) return false;
        std::snprintf(aside, room, "%s.old", temp);
        bool moved = std::rename(path, aside) == 0;
        if (moved && std::rename(temp, path) != 0) {
            std::rename(aside, path);
            moved = false;
        }
        if (moved) std::remove(aside);
        std::free(aside);
        return moved;
    }
#else
    (void)existed;
#endif
    return std::rename(temp, path) == 0;
}

// Writes |file| whole beside |path| and renames it over |path|: a failure at any step
// leaves |path| as it was. The new file keeps the old one's permissions.
bool replace_file(const char* path, const ProfileFile& file, bool existed) {
    const size_t room = std::strlen(path) + temp_name_room;
    char* temp = static_cast<char*>(std::malloc(room));
    if (!temp) return false;
    const int descriptor = open_temp(path, temp, room);
    if (descriptor < 0) {
        std::free(temp);
        return false;
    }
    bool done = write_all(descriptor, file.bytes, file.size);
#ifndef _WIN32
    struct stat old_state;
    if (done && existed && stat(path, &old_state) == 0)
        done = fchmod(descriptor, old_state.st_mode & 07777) == 0;
#endif
    done = close(descriptor) == 0 && done;
    done = done && rename_over(temp, path, existed);
    if (!done) std::remove(temp);
    std::free(temp);
    return done;
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

bool profile_write_string(const char* path, const char* section, const char* key, const char* value) {
    if (!path || !section || !key || !value) return false;
    ProfileFile old;
    const ProfileLoad load = profile_load(path, &old);
    if (load == profile_unreadable) return false;
    const bool existed = load == profile_loaded;
    ProfileFile changed;
    bool done = (!existed || writable(path)) && profile_set_string(old, section, key, value, &changed);
    if (done) {
        const bool same = existed && changed.size == old.size &&
                          (old.size == 0 || std::memcmp(changed.bytes, old.bytes, old.size) == 0);
        if (!same) done = replace_file(path, changed, existed);
        profile_release(&changed);
    }
    profile_release(&old);
    return done;
}
