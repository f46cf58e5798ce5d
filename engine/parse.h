// The list language of the action tables: takes one table string and returns the values
// of one or two ActionDef fields, or an error message in the compile message buffer.
// Source strings are never modified; every parser works on bounded copies.
#pragma once

#include <cstdint>

#include "engine.h"

constexpr int list_buffer_size = 200;     // a whole list string: 199 characters
constexpr int element_buffer_size = 100;  // one element of a next or dislike list: 99

// Which wording the frame-list messages use.
enum class FrameSet { action, about };

// Result of a frame list: the invalid-image failure lets the compiler go on with the
// action's other columns, the others end the compile at once.
enum class FrameListResult { ok = 0, invalid_image = 1, fatal = 2 };

void trim_blanks(char* text);
void upper_case(char* text);
bool is_digits(const char* text);

// The lenient decimal conversion of the C library (white space, one sign, digits up to
// the first non-digit), saturating instead of overflowing.
int32_t decimal_value(const char* text);

FrameListResult parse_frame_list(const char* text, int32_t number, FrameSet set,
                                 int32_t* count, FrameRef** frames, char* message);
// Both return 0 on success and 1 on failure; the compiler adds the results up.
int parse_next_list(const char* text, int32_t action_index, char* message, int32_t* count,
                    NextEntry** list);
int parse_dislike_list(const char* text, int32_t action_index, char* message, int32_t* count,
                       DislikeEntry** list);
int32_t parse_step_value(const char* text, int32_t bound);
int32_t parse_action_ref(const char* text);
int32_t parse_tenfold(const char* text);
