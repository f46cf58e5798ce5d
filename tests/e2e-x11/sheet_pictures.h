// The sprite sheet's pictures as the probes know them, from the artwork embedded in the
// program: takes a picture (170 images, plain then mirrored) and one of its pet pixels,
// and gives whether that pixel is opaque and its colour (0xRRGGBB).
#pragma once

#include <cstdint>

#include "art_data.h"

constexpr int picture_side = art_cell_size;  // a picture's side in pet pixels
constexpr int image_count = art_sheet_columns * (art_sheet_height / art_cell_size);
constexpr int picture_count = 2 * image_count;  // plain images first, then mirrored ones
constexpr uint32_t key_rgb = 0x00FFFF;          // pure cyan

uint32_t art_rgb(const ArtRgb& c);
bool picture_opaque(int p, int x, int y);
uint32_t picture_rgb(int p, int x, int y);
// A colour of the sheet other than the key.
bool sheet_colour(uint32_t rgb);
// The smallest rectangle of pet pixels holding the picture's opaque ones: false when it
// has none.
bool picture_extent(int p, int* left, int* top, int* right, int* bottom);
