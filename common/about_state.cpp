// The About box's layout on its design grid, the strips' scroll and the animation's step.
#include "about_state.h"

#include "engine.h"

int32_t about_design_width = 255;
int32_t about_design_height = 193;
int32_t about_panel_left = 192;
int32_t about_panel_top = 82;
int32_t about_cat_left = 13;
int32_t about_cat_top = 10;
int32_t about_strip_left = 2;
int32_t about_strip_right = 67;
int32_t about_strip_spacing = 10;
int32_t about_strip_step = 2;

int32_t strip_offset = 0;
int32_t awaiting_first_paint = 0;

AboutPoint about_panel_place(int32_t width, int32_t height) {
    return {about_panel_left * width / about_design_width, about_panel_top * height / about_design_height};
}

AboutPoint about_logo_place(int32_t width, int32_t height, int32_t logo_w) {
    return {logo_w <= width ? (width - logo_w) / 2 : 0, height * about_logo_top / about_design_height};
}

int32_t next_strip_offset(int32_t offset) {
    offset -= about_strip_step;
    return offset < 0 ? about_strip_spacing - about_strip_step : offset;
}

void advance_about_state() {
    if (!awaiting_first_paint) advance_about_frame();
    strip_offset = next_strip_offset(strip_offset);
}

TileCut cut_tile(int32_t y, int32_t tile_height, int32_t panel_height) {
    if (y < 0 && y + tile_height > 0) return {-y, 0, y + tile_height};
    if (y + tile_height > panel_height) return {0, y, panel_height - y};
    if (y >= 0) return {0, y, tile_height};
    return {0, 0, 0};
}
