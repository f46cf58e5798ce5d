// The cat's 170 poses, drawn from code. Image i is the picture the action tables
// reference as frame i + 1 (or -(i + 1) for the mirrored copy, which the program makes
// by flipping the cell; it is never drawn here).
#pragma once

#include "raster.h"

constexpr int cat_image_count = 170;
constexpr int cat_cell_size = 50;

// Image `index` (0-based), facing left, as palette indices of palette.h on a 50 x 50
// canvas; clear_pixel wherever the cat is not. Never uses the key colour.
Canvas draw_cat_image(int index);
