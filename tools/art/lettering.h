// The program's own pixel lettering: bold rounded letters built on a coarse grid of
// square blocks whose outer corners are rounded off.
#pragma once

#include "raster.h"

// The text (letters this lettering knows: T, u, v, o) on a canvas as tall as a capital
// letter; 1 inside a letter, clear_pixel elsewhere. block is the grid size in pixels,
// gap the space between letters in blocks.
Canvas draw_lettering(const char* text, int block, int gap);
