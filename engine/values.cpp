// The engine-side process-wide values, with their values before start-up fills them.
#include "values.h"

int32_t screen_width = 0;
int32_t screen_height = 0;
int32_t frame_width = 50;
int32_t frame_height = 50;
int32_t window_x = 0;
int32_t window_y = 0;
int32_t margin_top = 0;
int32_t margin_left = 0;
int32_t margin_bottom = 0;
int32_t margin_right = 0;
int32_t timer_interval = 150;
