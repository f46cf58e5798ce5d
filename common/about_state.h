// The About box's layout and animation state, the same in both shells: takes the box's
// client size and the pictures' sizes and returns where the title and the panel go; on
// each About tick advances the cat's frame and scrolls the two strips of tiles.
#pragma once

#include <cstdint>

// Layout on the design grid onto which the client area is mapped, and inside the panel.
extern int32_t about_design_width;
extern int32_t about_design_height;
extern int32_t about_panel_left;
extern int32_t about_panel_top;
extern int32_t about_cat_left;
extern int32_t about_cat_top;
extern int32_t about_strip_left;
extern int32_t about_strip_right;
extern int32_t about_strip_spacing;
extern int32_t about_strip_step;
constexpr int32_t about_logo_top = 8;  // the title picture's top edge on the design grid

extern int32_t strip_offset;          // carries on from one opening of the box to the next
extern int32_t awaiting_first_paint;  // the first frame stays until the box was painted

struct AboutPoint {
    int32_t x, y;
};

// Where the panel and the title picture go in a client area of the given size.
AboutPoint about_panel_place(int32_t width, int32_t height);
AboutPoint about_logo_place(int32_t width, int32_t height, int32_t logo_w);
// One step of the strips' scroll offset: 8, 6, 4, 2, 0, 8, ...
int32_t next_strip_offset(int32_t offset);
// One About tick: the next frame of the animation (once the box has been painted) and
// the strips one step further up.
void advance_about_state();

// The part of a tile placed at row y of a strip that lies inside a panel of the given
// height: rows from |source_y| of the tile, |height| of them, to panel row |target_y|.
// |height| is 0 for a tile that lies wholly outside.
struct TileCut {
    int32_t source_y, target_y, height;
};
TileCut cut_tile(int32_t y, int32_t tile_height, int32_t panel_height);
