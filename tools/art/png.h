// Pictures with transparency (an icon's colours and its see-through mask, or a face drawn
// large) in, PNG files (8-bit RGBA, zlib-compressed) out, for the desktop's icon theme.
#pragma once

#include <cstdint>
#include <vector>

#include "bmp.h"

// Four bytes per pixel (red, green, blue, alpha), row-major, top row first.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
};

// The icon picture with its colours from the table, opaque, and all four bytes 0 exactly
// where the icon's mask is see-through.
RgbaImage rgba_from_icon(const IconImage& icon);

// A complete PNG file: signature, IHDR (8-bit RGBA, no interlace), one IDAT, IEND. Empty
// when zlib fails.
Bytes png_file(const RgbaImage& image);
