// The sprite sheet (every cat image in a grid of cells) and its 1-bit mask.
#pragma once

#include <string>

#include "bmp.h"

constexpr int sheet_columns = 10;
constexpr int sheet_rows = 17;

// All cat images in image order, left to right and top to bottom, on the key colour.
// Fails with a message when an image has the wrong size or uses a colour outside the
// cat's fifteen (the key colour included).
bool build_sprite_sheet(IndexedImage* sheet, std::string* error);
// White (1) exactly where the sheet is not the key colour, black (0) elsewhere.
IndexedImage build_mask_sheet(const IndexedImage& sheet);
