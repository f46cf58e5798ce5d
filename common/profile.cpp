// Reading the settings file: takes a file's bytes and a section and key, and returns the
// key's number exactly as GetPrivateProfileIntA returns it under Wine.
#include "profile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "file_calls.h"
#include "profile_lines.h"

namespace {

// The Windows reader copies a value into a buffer of 30 units, terminator included, before
// it converts it: a 30th character never counts, so a long run of digits is cut short. (That
// is Wine's buffer; nothing documents the size Windows itself uses.)
constexpr size_t value_buffer_units = 30;
constexpr size_t read_chunk = 4096;

void clear(ProfileFile* file) { *file = {nullptr, 0, profile_ansi, 0, 1, 0}; }

// The byte-order marks the Windows functions look for; nothing else makes a file Unicode.
// Without one, bytes are characters of code page 1252, the ANSI code page where the program
// is tested. On a system with a double-byte ANSI code page (936 on Chinese Windows) a byte
// above 0x7F takes the next byte with it, which can hide a '[', ']' or '=' right after a
// non-ASCII character; the program's own names and numbers are ASCII and never meet that.
void detect_encoding(ProfileFile* file) {
    const unsigned char* b = reinterpret_cast<const unsigned char*>(file->bytes);
    file->encoding = profile_ansi;
    file->text_start = 0;
    file->unit_size = 1;
    if (file->size >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
        file->encoding = profile_utf8;
        file->text_start = 3;
    } else if (file->size >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
        file->encoding = profile_utf16le;
        file->text_start = file->unit_size = 2;
    } else if (file->size >= 2 && b[0] == 0xFE && b[1] == 0xFF) {
        file->encoding = profile_utf16be;
        file->text_start = file->unit_size = 2;
    }
    file->units = (file->size - file->text_start) / file->unit_size;
}

uint32_t ascii_lower(uint32_t unit) { return unit >= 'A' && unit <= 'Z' ? unit + ('a' - 'A') : unit; }

// A stored name against a name asked for. Only ASCII letters match across case: Wine folds
// no others that could meet an ASCII name, and every name the program asks for is ASCII.
bool same_name(const ProfileFile& file, ProfileSpan stored, const char* name, size_t length) {
    const ProfileSpan cut = cut_at_nul(file, stored);
    if (cut.end - cut.begin != length) return false;
    for (size_t i = 0; i < length; ++i) {
        const uint32_t wanted = static_cast<unsigned char>(name[i]);
        if (ascii_lower(profile_unit(file, cut.begin + i)) != ascii_lower(wanted)) return false;
    }
    return true;
}

int digit_value(uint32_t unit) {
    if (unit >= '0' && unit <= '9') return static_cast<int>(unit - '0');
    if (unit >= 'a' && unit <= 'z') return static_cast<int>(unit - 'a') + 10;
    if (unit >= 'A' && unit <= 'Z') return static_cast<int>(unit - 'A') + 10;
    return -1;
}

// The system's string-to-integer conversion with base 0: control characters and spaces
// skipped, one sign, then "0b", "0o" or "0x" (lower case only) for base 2, 8 or 16, and
// digits up to the first that does not belong, added up modulo 2^32.
uint32_t units_to_number(const ProfileFile& file, size_t begin, size_t count) {
    size_t i = 0;
    while (i < count && profile_unit(file, begin + i) <= ' ') ++i;
    bool minus = false;
    if (i < count) {
        const uint32_t sign = profile_unit(file, begin + i);
        if (sign == '+' || sign == '-') {
            minus = sign == '-';
            ++i;
        }
    }
    uint32_t base = 10;
    if (count - i >= 2 && profile_unit(file, begin + i) == '0') {
        const uint32_t mark = profile_unit(file, begin + i + 1);
        base = mark == 'b' ? 2 : mark == 'o' ? 8 : mark == 'x' ? 16 : 10;
        if (base != 10) i += 2;
    }
    uint32_t total = 0;
    for (; i < count; ++i) {
        const int digit = digit_value(profile_unit(file, begin + i));
        if (digit < 0 || static_cast<uint32_t>(digit) >= base) break;
        total = total * base + static_cast<uint32_t>(digit);
    }
    return minus ? 0u - total : total;
}

// The value as the Windows reader hands it to the conversion: up to its first NUL; a value
// that starts and ends with the same quote (' or ") loses the opening one, and the closing one
// goes too when it fits the 30-unit buffer; but a value of exactly 30 units after the
// opening quote fits without its quote, so it is its last digit that is dropped (Wine's
// rule, kept here to the letter). Nothing left means the fallback. In a UTF-8 file the units
// are bytes where Wine counts UTF-16 units; the two counts differ only once a non-ASCII
// character has come, and the number always ends before such a character.
uint32_t value_number(const ProfileFile& file, ProfileSpan value, uint32_t fallback) {
    const ProfileSpan cut = cut_at_nul(file, value);
    size_t begin = cut.begin;
    size_t length = cut.end - cut.begin;
    bool quoted = false;
    if (length >= 2) {
        const uint32_t first = profile_unit(file, begin);
        quoted = (first == '"' || first == '\'') && profile_unit(file, cut.end - 1) == first;
    }
    if (quoted) {
        ++begin;
        --length;
    }
    size_t copied = length < value_buffer_units - 1 ? length : value_buffer_units - 1;
    if (quoted && length <= value_buffer_units) --copied;
    if (copied == 0) return fallback;
    return units_to_number(file, begin, copied);
}

// Reads the descriptor from where it stands to its end into |file|: 0, or why not. A file
// that grew past the largest size since it was measured stops the reading there.
int read_descriptor(int descriptor, ProfileFile* file) {
    size_t room = 0;
    for (;;) {
        if (file->size == room) {
            const size_t larger_room = room == 0 ? read_chunk : 2 * room;
            char* larger = static_cast<char*>(std::realloc(file->bytes, larger_room));
            if (!larger) return ENOMEM;
            file->bytes = larger;
            room = larger_room;
        }
        const size_t wanted = room - file->size;
        const auto got = read(descriptor, file->bytes + file->size, static_cast<unsigned>(wanted));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return errno;
        if (got == 0) return 0;
        file->size += static_cast<size_t>(got);
        if (file->size > profile_largest_file) return EFBIG;
    }
}

}  // namespace

uint32_t profile_unit(const ProfileFile& file, size_t index) {
    const unsigned char* b = reinterpret_cast<const unsigned char*>(file.bytes) + file.text_start;
    if (file.encoding == profile_utf16le) return b[2 * index] | (uint32_t{b[2 * index + 1]} << 8);
    if (file.encoding == profile_utf16be) return (uint32_t{b[2 * index]} << 8) | b[2 * index + 1];
    return b[index];
}

bool is_profile_blank(uint32_t unit) {
    return unit == ' ' || unit == '\t' || unit == '\v' || unit == '\f' || unit == 0x1A;
}

bool is_line_break(uint32_t unit) { return unit == '\r' || unit == '\n'; }

ProfileSpan cut_at_nul(const ProfileFile& file, ProfileSpan span) {
    size_t end = span.begin;
    while (end < span.end && profile_unit(file, end) != 0) ++end;
    return {span.begin, end};
}

namespace {

ProfileSpan trimmed(const ProfileFile& file, size_t begin, size_t end) {
    while (begin < end && is_profile_blank(profile_unit(file, begin))) ++begin;
    while (end > begin && is_profile_blank(profile_unit(file, end - 1))) --end;
    return {begin, end};
}

// A trimmed line that opens with '[' is a section header when a ']' follows; its name runs
// to the last ']' and anything after that is ignored. Without a ']' it is a key line.
bool read_header(const ProfileFile& file, ProfileSpan text, ProfileLine* line) {
    if (profile_unit(file, text.begin) != '[') return false;
    size_t close = text.end - 1;
    while (close > text.begin && profile_unit(file, close) != ']') --close;
    if (close == text.begin) return false;
    line->kind = line_section;
    line->name = trimmed(file, text.begin + 1, close);
    return true;
}

// A key's name runs to the first '=' and its value from there to the line's end; a line
// without '=' is all name.
void read_key(const ProfileFile& file, ProfileSpan text, ProfileLine* line) {
    line->kind = line_key;
    size_t equals = text.begin;
    while (equals < text.end && profile_unit(file, equals) != '=') ++equals;
    line->name = trimmed(file, text.begin, equals);
    if (equals == text.end) return;
    line->has_value = true;
    line->value = trimmed(file, equals + 1, text.end);
}

}  // namespace

bool next_profile_line(const ProfileFile& file, size_t* position, ProfileLine* line) {
    const size_t begin = *position;
    if (begin >= file.units) return false;
    size_t text_end = begin;
    while (text_end < file.units && !is_line_break(profile_unit(file, text_end))) ++text_end;
    size_t end = text_end;
    if (end < file.units) {
        const bool crlf = profile_unit(file, end) == '\r' && end + 1 < file.units &&
                          profile_unit(file, end + 1) == '\n';
        end += crlf ? 2 : 1;
    }
    *line = {line_blank, begin, text_end, end, {begin, begin}, {text_end, text_end}, false};
    *position = end;
    const ProfileSpan text = trimmed(file, begin, text_end);
    if (text.begin == text.end) return true;
    if (!read_header(file, text, line)) read_key(file, text, line);
    return true;
}

void trim_profile_text(const char** text, size_t* length) {
    const auto blank = [](char c) { return is_profile_blank(static_cast<unsigned char>(c)); };
    while (*length > 0 && blank(**text)) {
        ++*text;
        --*length;
    }
    while (*length > 0 && blank((*text)[*length - 1])) --*length;
}

bool find_profile_section(const ProfileFile& file, const char* name, size_t length,
                          ProfileSection* section) {
    bool found = length == 0;  // the nameless lines before the first header
    *section = {0, file.units, 0};
    size_t position = 0;
    ProfileLine line;
    while (next_profile_line(file, &position, &line)) {
        if (line.kind == line_section) {
            if (found) {
                section->end = line.begin;
                return true;
            }
            found = same_name(file, line.name, name, length);
            if (found) *section = {line.end, file.units, line.end};
        } else if (line.kind == line_key && found) {
            section->content_end = line.end;
        }
    }
    return found;
}

bool find_profile_key(const ProfileFile& file, const ProfileSection& section, const char* name,
                      size_t length, ProfileLine* line) {
    size_t position = section.body;
    while (position < section.end && next_profile_line(file, &position, line)) {
        if (line->kind == line_key && same_name(file, line->name, name, length)) return true;
    }
    return false;
}

bool profile_from_bytes(const char* bytes, size_t size, ProfileFile* file) {
    clear(file);
    if (size == 0) return true;
    file->bytes = static_cast<char*>(std::malloc(size));
    if (!file->bytes) return false;
    std::memcpy(file->bytes, bytes, size);
    file->size = size;
    detect_encoding(file);
    return true;
}

ProfileLoad profile_load_open(int descriptor, ProfileFile* file, int* error) {
    clear(file);
    *error = 0;
    struct stat state;
    if (fstat(descriptor, &state) != 0) *error = errno;
    else if (S_ISDIR(state.st_mode)) *error = EISDIR;
    else if (!S_ISREG(state.st_mode)) *error = profile_not_regular;
    else if (static_cast<unsigned long long>(state.st_size) > profile_largest_file) *error = EFBIG;
    else if (lseek(descriptor, 0, SEEK_SET) != 0) *error = errno;
    else *error = read_descriptor(descriptor, file);
    if (*error != 0) {
        profile_release(file);
        return profile_unreadable;
    }
    if (file->size == 0) profile_release(file);
    detect_encoding(file);
    return profile_loaded;
}

ProfileLoad profile_load(const char* path, ProfileFile* file) {
    clear(file);
    // Without blocking: a pipe in the file's place would hold the open until some program
    // wrote to it. The descriptor is checked to be a regular file before it is read.
    const int descriptor = open(path, O_RDONLY | O_BINARY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) return errno == ENOENT || errno == ENOTDIR ? profile_missing : profile_unreadable;
    int error = 0;
    const ProfileLoad load = profile_load_open(descriptor, file, &error);
    close(descriptor);
    return load;
}

const char* profile_error_text(int error) {
    return error == profile_not_regular ? "Not a regular file" : std::strerror(error);
}

void profile_release(ProfileFile* file) {
    std::free(file->bytes);
    clear(file);
}

int32_t profile_int(const ProfileFile& file, const char* section, const char* key, int32_t fallback) {
    size_t section_length = std::strlen(section);
    size_t key_length = std::strlen(key);
    trim_profile_text(&section, &section_length);
    trim_profile_text(&key, &key_length);
    ProfileSection found;
    ProfileLine line;
    // Only the first section of the name is searched, even when a later one of the same name
    // holds the key; and the first key of the name decides, even when it has no value.
    if (!find_profile_section(file, section, section_length, &found)) return fallback;
    if (!find_profile_key(file, found, key, key_length, &line) || !line.has_value) return fallback;
    // The reader returns an unsigned number; negative values wrap round into it, and the cast
    // brings them back, as the Windows program casts them. Microsoft's older documentation
    // says a value below zero gives 0; Wine gives the wrapped number, and the program is
    // written and tested for that (a negative Mode is kept, a negative Timer replaced).
    return static_cast<int32_t>(value_number(file, line.value, static_cast<uint32_t>(fallback)));
}

int32_t profile_read_int(const char* path, const char* section, const char* key, int32_t fallback) {
    ProfileFile file;
    if (profile_load(path, &file) != profile_loaded) return fallback;
    const int32_t number = profile_int(file, section, key, fallback);
    profile_release(&file);
    return number;
}
