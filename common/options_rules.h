// The Options dialog's rules, the same in both shells: takes the texts of its five
// fields and its three buttons and returns the settings entered, or the message that
// refuses them, judged in a fixed order.
#pragma once

#include <cstddef>
#include <cstdint>

#include "settings_rules.h"

constexpr int option_field_chars = 79;  // a longer text is refused outright
constexpr int32_t fastest_tick = 10;
constexpr int32_t slowest_tick = 1000;

// One numeric field: its text as far as it was read and the length of the whole text.
// True, with its value, when blanks trimmed it holds 1 to 4 digits (leading zeros
// allowed). A text longer than option_field_chars is refused whatever it starts with.
bool read_option_field(const char* text, size_t length, int32_t* value);

enum OptionField : int32_t { field_top, field_bottom, field_left, field_right, field_speed };
// A shell's reader of one field of its open dialog.
typedef bool (*OptionFieldReader)(void* dialog, OptionField field, int32_t* value);

enum OptionsVerdict : int32_t {
    options_accepted,
    options_invalid_margins,
    options_margins_too_large,
    options_invalid_speed,
};
// The box that refuses the entries: captioned "Tuvo" with the error icon.
const char* options_refusal(OptionsVerdict verdict);

// Judges the entries: the four margin fields (all read, in the order top, bottom, left,
// right), then |fit| on them, then the speed field (10 to 1000). On acceptance |entered|
// holds the margins and the interval; its mode is left alone.
OptionsVerdict judge_options(OptionFieldReader read, void* dialog, MarginsCheck fit, Settings* entered);
// The mode the three buttons choose: a later selected button overrides an earlier one,
// none selected keeps |saved|.
int32_t chosen_mode(int32_t saved, bool stored, bool built, bool blended);
