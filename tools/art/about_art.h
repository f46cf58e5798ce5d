// The About box's pictures: the title, the animation panel's backdrop and strip tile,
// and the portrait beside the description.
#pragma once

#include "bmp.h"

constexpr int logo_width = 315, logo_height = 137;
constexpr int panel_width = 76, panel_height = 70;
constexpr int tile_width = 7, tile_height = 5;
constexpr int portrait_width = 125, portrait_height = 151;

// Where the About box puts the cat and the two strips inside the panel.
constexpr int panel_cat_left = 13, panel_cat_top = 10;
constexpr int panel_strip_left = 2, panel_strip_right = 67;
constexpr int panel_strip_spacing = 10;

// 256-colour title picture: pure black (entry 0) wherever the dialog shows through, and
// nowhere else.
IndexedImage draw_logo();
// 16-colour backdrop of the panel and the tile that scrolls up the two strips.
IndexedImage draw_panel();
IndexedImage draw_tile();
RgbImage draw_portrait();
