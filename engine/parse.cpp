// Parsers of the list language: frame lists, next lists, dislike lists, step values,
// action references and tenfold numbers. Each takes a table string and fills ActionDef
// fields, writing at most one message into the compile message buffer on failure.
#include "parse.h"

#include <climits>
#include <cstdio>
#include <cstring>

#include "seams.h"

namespace {

// The six C white-space characters; bytes of 128 and above never count.
bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The limits a table may name: the record's counts once it exists, the fixed ones before.
int32_t known_actions() { return engine ? engine->action_count : fixed_action_count; }
int32_t known_images() { return engine ? engine->image_count : fixed_image_count; }

// Copies text into a buffer of the given size and trims it. Returns false when the text
// does not fit: such input is refused rather than silently shortened.
bool copy_trimmed(const char* text, char* buffer, size_t size) {
    size_t length = text ? strlen(text) : 0;
    if (length >= size) return false;
    if (length) memcpy(buffer, text, length);
    buffer[length] = '\0';
    trim_blanks(buffer);
    return true;
}

// Splits a buffer into comma-separated elements the way the C tokeniser does: empty
// elements are skipped. Returns the next element (terminated in place) or null.
char* next_element(char** cursor) {
    char* p = *cursor;
    while (*p == ',') ++p;
    if (*p == '\0') {
        *cursor = p;
        return nullptr;
    }
    char* start = p;
    while (*p && *p != ',') ++p;
    if (*p == ',') *p++ = '\0';
    *cursor = p;
    return start;
}

int32_t count_elements(const char* buffer) {
    int32_t count = 0;
    bool in_element = false;
    for (const char* p = buffer; *p; ++p) {
        if (*p == ',') {
            in_element = false;
        } else if (!in_element) {
            in_element = true;
            ++count;
        }
    }
    return count;
}

// Strips one orientation prefix ("r"/"R" opposite, "*" any) from an action part.
OrientationMode take_mode_prefix(char** part) {
    char c = **part;
    if (c == 'r' || c == 'R') {
        ++*part;
        return OrientationMode::opposite;
    }
    if (c == '*') {
        ++*part;
        return OrientationMode::any;
    }
    return OrientationMode::same;
}

bool is_number(const char* text) { return *text != '\0' && is_digits(text); }

int32_t tenfold(int32_t value) { return value > INT32_MAX / 10 ? INT32_MAX : value * 10; }

const char* const no_images_text[] = {
    "** ERROR : Not define images for animation action : %d ...",
    "** ERROR : Not define images for dialog animation action : %d ...",
};
const char* const frame_memory_text[] = {
    "** ERROR : Fail to allocate memory for animation action : %d ...",
    "** ERROR : Fail to allocate memory for dialog animation action : %d ...",
};
const char* const invalid_image_text[] = {
    "** ERROR : Invalid image no. for animation action : %d ...",
    "** ERROR : Invalid image no. for dialog animation action : %d ...",
};
const char* const long_frames_text[] = {
    "** ERROR : Too many images for animation action : %d ...",
    "** ERROR : Too many images for dialog animation action : %d ...",
};

const char syntax_text[] = "** ERROR : For action %d, syntax error for dislike action : %s";
const char memory_text[] = "** ERROR : Fail to allocate memory ...";

void write_syntax_error(char* message, int32_t action_index, const char* element) {
    snprintf(message, compile_message_size, syntax_text, action_index + 1, element);
}

}  // namespace

void trim_blanks(char* text) {
    if (!text) return;
    size_t end = strlen(text);
    while (end > 0 && is_blank(text[end - 1])) --end;
    text[end] = '\0';
    size_t start = 0;
    while (start < end && is_blank(text[start])) ++start;
    if (start) memmove(text, text + start, end - start + 1);
}

void upper_case(char* text) {
    if (!text) return;
    for (char* p = text; *p; ++p)
        if (*p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 'a' + 'A');
}

bool is_digits(const char* text) {
    if (!text) return false;
    for (const char* p = text; *p; ++p)
        if (!is_digit(*p)) return false;
    return true;
}

int32_t decimal_value(const char* text) {
    const char* p = text;
    while (is_blank(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    int64_t value = 0;
    for (; is_digit(*p); ++p) {
        value = value * 10 + (*p - '0');
        if (value > INT32_MAX) value = static_cast<int64_t>(INT32_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

FrameListResult parse_frame_list(const char* text, int32_t number, FrameSet set,
                                 int32_t* count, FrameRef** frames, char* message) {
    const int which = set == FrameSet::about ? 1 : 0;
    char buffer[list_buffer_size];
    if (!copy_trimmed(text, buffer, sizeof buffer)) {
        snprintf(message, compile_message_size, long_frames_text[which], number);
        return FrameListResult::fatal;
    }
    int32_t n = count_elements(buffer);
    if (n == 0) {
        snprintf(message, compile_message_size, no_images_text[which], number);
        return FrameListResult::fatal;
    }
    FrameRef* array = static_cast<FrameRef*>(engine_alloc(sizeof(FrameRef) * n));
    if (!array) {
        snprintf(message, compile_message_size, frame_memory_text[which], number);
        return FrameListResult::fatal;
    }
    *count = n;
    *frames = array;

    const int32_t limit = known_images();
    char* cursor = buffer;
    for (int32_t i = 0; i < n; ++i) {
        char* element = next_element(&cursor);
        trim_blanks(element);
        upper_case(element);
        // The conversion is the lenient one: "-16" reads like "R16", "16x" as 16.
        int64_t value = element[0] == 'R' ? -static_cast<int64_t>(decimal_value(element + 1))
                                          : decimal_value(element);
        if (value == 0 || value < -limit || value > limit) {
            snprintf(message, compile_message_size, invalid_image_text[which], number);
            return FrameListResult::invalid_image;
        }
        array[i] = static_cast<FrameRef>(value);
    }
    return FrameListResult::ok;
}

int parse_next_list(const char* text, int32_t action_index, char* message, int32_t* count,
                    NextEntry** list) {
    char buffer[list_buffer_size];
    if (!copy_trimmed(text, buffer, sizeof buffer)) {
        snprintf(message, compile_message_size,
                 "** ERROR : Next action list too long for action %d", action_index + 1);
        return 1;
    }
    int32_t n = count_elements(buffer);
    if (n == 0) {
        snprintf(message, compile_message_size,
                 "** ERROR : Invalid next action list syntax for action %d", action_index + 1);
        return 1;
    }
    NextEntry* entries = static_cast<NextEntry*>(engine_alloc(sizeof(NextEntry) * n));
    if (!entries) {
        snprintf(message, compile_message_size, memory_text);
        return 1;
    }
    *count = n;
    *list = entries;

    const int32_t actions = known_actions();
    int32_t sum = 0;
    char* cursor = buffer;
    for (int32_t i = 0; i < n; ++i) {
        const char* raw = next_element(&cursor);
        char element[element_buffer_size];
        if (!copy_trimmed(raw, element, sizeof element)) {
            write_syntax_error(message, action_index, raw);
            return 1;
        }
        char* dash = strchr(element, '-');
        if (!dash || dash == element || !is_number(dash + 1)) {
            write_syntax_error(message, action_index, element);
            return 1;
        }
        *dash = '\0';
        char* action_part = element;
        if (*action_part == 'r' || *action_part == 'R') {
            entries[i].mirrored = 1;
            ++action_part;
        }
        if (!is_number(action_part)) {
            *dash = '-';
            write_syntax_error(message, action_index, element);
            return 1;
        }
        int32_t action = decimal_value(action_part);
        int32_t ratio = tenfold(decimal_value(dash + 1));
        // Values beyond the 16-bit fields are refused instead of wrapping into range.
        if (ratio <= 0 || ratio > INT16_MAX || action < 1 || action > actions) {
            snprintf(message, compile_message_size,
                     "** ERROR : For action %d, invalid ratio %d, or next action %d",
                     action_index + 1, ratio, action);
            return 1;
        }
        entries[i].action = static_cast<int16_t>(action);
        entries[i].ratio = static_cast<int16_t>(ratio);
        sum += ratio;
    }
    if (sum == 0) {
        snprintf(message, compile_message_size,
                 "** ERROR : Not define next possible actions for action %d ...",
                 action_index + 1);
        return 1;
    }
    return 0;
}

int parse_dislike_list(const char* text, int32_t action_index, char* message, int32_t* count,
                       DislikeEntry** list) {
    char buffer[list_buffer_size];
    if (!copy_trimmed(text, buffer, sizeof buffer)) {
        snprintf(message, compile_message_size,
                 "** ERROR : Dislike list too long for action %d", action_index + 1);
        return 1;
    }
    int32_t n = count_elements(buffer);
    if (n == 0) return 0;
    DislikeEntry* entries = static_cast<DislikeEntry*>(engine_alloc(sizeof(DislikeEntry) * n));
    if (!entries) {
        snprintf(message, compile_message_size, memory_text);
        return 1;
    }
    *count = n;
    *list = entries;

    const int32_t actions = known_actions();
    char* cursor = buffer;
    for (int32_t i = 0; i < n; ++i) {
        const char* raw = next_element(&cursor);
        char element[element_buffer_size];
        if (!copy_trimmed(raw, element, sizeof element)) {
            write_syntax_error(message, action_index, raw);
            return 1;
        }
        // Work on a second copy so the message can quote the element as written.
        char parts[element_buffer_size];
        memcpy(parts, element, sizeof parts);
        char* dash = strchr(parts, '-');
        if (!dash) {
            write_syntax_error(message, action_index, element);
            return 1;
        }
        *dash = '\0';
        char* action_part = parts;
        char* level_part = dash + 1;
        char* previous_part = strchr(level_part, ':');
        if (previous_part) *previous_part++ = '\0';
        if (*action_part == '\0' || !is_number(level_part)) {
            write_syntax_error(message, action_index, element);
            return 1;
        }
        OrientationMode action_mode = take_mode_prefix(&action_part);
        if (!is_number(action_part)) {
            write_syntax_error(message, action_index, element);
            return 1;
        }
        DislikeEntry& entry = entries[i];
        entry.action_mode = action_mode;
        int32_t action = decimal_value(action_part);
        int32_t level = decimal_value(level_part);
        int32_t previous = 0;
        if (previous_part && *previous_part) {
            entry.previous_mode = take_mode_prefix(&previous_part);
            if (!is_number(previous_part)) {
                write_syntax_error(message, action_index, element);
                return 1;
            }
            previous = decimal_value(previous_part);
        }
        if (level <= 0 || level > INT16_MAX || action < 1 || action > actions ||
            previous < 0 || previous > actions) {
            snprintf(message, compile_message_size,
                     "** ERROR : For action %d, invalid level %d, or dislike action %d",
                     action_index + 1, level, action);
            return 1;
        }
        entry.action = static_cast<int16_t>(action);
        entry.level = static_cast<int16_t>(level);
        entry.previous = static_cast<int16_t>(previous);
    }
    return 0;
}

int32_t parse_step_value(const char* text, int32_t bound) {
    if (!text || !*text) return 0;
    bool negative = *text == '-';
    const char* digits = negative ? text + 1 : text;
    if (!is_digits(digits)) return 0;
    int32_t value = decimal_value(digits);
    if (value >= bound) return 0;
    return negative ? -value : value;
}

int32_t parse_action_ref(const char* text) {
    if (!text || !*text) return 0;
    bool flipped = *text == 'r' || *text == 'R';
    const char* digits = flipped ? text + 1 : text;
    if (!is_digits(digits)) return 0;
    int32_t value = decimal_value(digits);
    if (value > known_actions()) return 0;
    return flipped ? -value : value;
}

int32_t parse_tenfold(const char* text) {
    if (!is_number(text ? text : "")) return 0;
    return tenfold(decimal_value(text));
}
