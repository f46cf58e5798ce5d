// The program's icon (the cat's face) and its two hand cursors.
#pragma once

#include <vector>

#include "bmp.h"
#include "png.h"

constexpr int icon_sizes[] = {16, 32, 48};
// The desktop's icon theme also wants the face at this size.
constexpr int large_icon_size = 256;
constexpr int cursor_size = 32;
constexpr int cursor_hot_x = 15, cursor_hot_y = 15;

// One 256-colour picture per size in icon_sizes, smallest first.
std::vector<IconImage> draw_icon();
// The face of the larger icon sizes drawn at n x n with smooth edges: colour averaged,
// alpha 0 outside the face.
RgbaImage draw_large_icon(int n);
// 1-bit pictures (entry 0 black, entry 1 white) with their transparency.
IconImage draw_open_hand();
IconImage draw_grabbing_hand();
