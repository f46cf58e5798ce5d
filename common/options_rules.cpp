// The Options dialog's reading of its fields and the order of its checks.
#include "options_rules.h"

#include <cstdlib>
#include <cstring>

#include "parse.h"

bool read_option_field(const char* text, size_t length, int32_t* value) {
    // Judging only the first part of a text too long for the buffer would accept "20"
    // followed by blanks and anything at all.
    if (length > static_cast<size_t>(option_field_chars)) return false;
    char copy[option_field_chars + 1];
    std::strncpy(copy, text, option_field_chars);
    copy[option_field_chars] = '\0';
    trim_blanks(copy);
    if (copy[0] == '\0' || !is_digits(copy) || std::strlen(copy) >= 5) return false;
    *value = static_cast<int32_t>(std::strtol(copy, nullptr, 10));
    return true;
}

const char* options_refusal(OptionsVerdict verdict) {
    switch (verdict) {
    case options_invalid_margins: return "Invalid Margin Values !  Please Re-enter ..";
    case options_margins_too_large: return "Margin too large !  Please Re-enter ..";
    case options_invalid_speed: return "Invalid Speed Value !  Please Re-enter ..";
    default: return "";
    }
}

OptionsVerdict judge_options(OptionFieldReader read, void* dialog, MarginsCheck fit, Settings* entered) {
    int32_t top = 0, bottom = 0, left = 0, right = 0, tick = 0;
    // All four are read, even after an invalid one.
    int invalid = !read(dialog, field_top, &top);
    invalid += !read(dialog, field_bottom, &bottom);
    invalid += !read(dialog, field_left, &left);
    invalid += !read(dialog, field_right, &right);
    if (invalid) return options_invalid_margins;
    if (!fit(top, left, bottom, right)) return options_margins_too_large;
    if (!read(dialog, field_speed, &tick) || tick < fastest_tick || tick > slowest_tick)
        return options_invalid_speed;
    entered->top_margin = top;
    entered->bottom_margin = bottom;
    entered->left_margin = left;
    entered->right_margin = right;
    entered->timer = tick;
    return options_accepted;
}

int32_t chosen_mode(int32_t saved, bool stored, bool built, bool blended) {
    int32_t mode = saved;
    if (stored) mode = 1;
    if (built) mode = 2;
    if (blended) mode = 0;
    return mode;
}
