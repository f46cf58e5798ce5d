// Outlines of the sprite images: takes the mask sheet as packed 1-bit rows and returns
// the vertical runs of opaque pixels of one image, plain or mirrored, from which each
// shell builds the window's shape (a region on Windows, shape rectangles on X).
#pragma once

#include <cstdint>

// The mask sheet as held in memory: rows bottom-up, |stride| bytes each, the leftmost
// pixel in the most significant bit. A pixel is opaque when its bit is 1, or 0 when
// |inverted|.
struct MaskSheet {
    const uint8_t* bits;
    int32_t stride;
    int32_t width;
    int32_t height;
    int32_t columns;  // cells across
    int32_t inverted;
};

// The mask pixel at (x, y) of the sheet, y counted from the top.
bool mask_sheet_opaque(const MaskSheet& sheet, int32_t x, int32_t y);

// One run: the column x of the frame (already mirrored), rows top to bottom (exclusive).
typedef void (*OutlineRunSink)(void* context, int32_t x, int32_t top, int32_t bottom);

// Calls |sink| for each run of image |image|, column by column from the left, each
// column top to bottom. A column beyond the sheet's width ends the scan; a row below the
// sheet's bottom ends its column, as a cut-short sheet leaves them.
void for_each_outline_run(const MaskSheet& sheet, int32_t image, int32_t mirrored, int32_t frame_width,
                          int32_t frame_height, OutlineRunSink sink, void* context);
