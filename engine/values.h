// Process-wide values the engine reads and writes: screen and frame geometry, the pet's
// position and the settings in force. Start-up fills them before init_engine runs.
#pragma once

#include <cstdint>

extern int32_t screen_width;
extern int32_t screen_height;
extern int32_t frame_width;   // 50: one sprite image and the pet window's client area
extern int32_t frame_height;  // 50
extern int32_t window_x;      // pet window's top-left corner on the screen
extern int32_t window_y;
extern int32_t margin_top;
extern int32_t margin_left;
extern int32_t margin_bottom;
extern int32_t margin_right;
extern int32_t timer_interval;  // milliseconds between behaviour ticks
