// The sprite sheet's pictures for the probes: takes the embedded sheet and its mask, and
// returns each picture's pixels, opaque or not and their colours, plain or mirrored.
#include "sheet_pictures.h"

#include <cstddef>

#include "outline.h"

namespace {

const MaskSheet mask_sheet = {art_mask.bits, art_mask.stride, art_mask.width,
                              art_mask.height, art_sheet_columns, art_mask.inverted};

int sheet_x(int p, int x) {
    const int image = p % image_count;
    return (image % art_sheet_columns) * picture_side + (p >= image_count ? picture_side - 1 - x : x);
}
int sheet_y(int p, int y) { return (p % image_count) / art_sheet_columns * picture_side + y; }

}  // namespace

uint32_t art_rgb(const ArtRgb& c) { return uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b; }

bool picture_opaque(int p, int x, int y) { return mask_sheet_opaque(mask_sheet, sheet_x(p, x), sheet_y(p, y)); }

uint32_t picture_rgb(int p, int x, int y) {
    const uint8_t index = art_sprites.pixels[std::size_t(sheet_y(p, y)) * art_sprites.width + sheet_x(p, x)];
    return art_rgb(art_sprites.colours[index]);
}

bool sheet_colour(uint32_t rgb) {
    for (int i = 0; i < art_sheet_colours; ++i)
        if (i != art_key_index && art_rgb(art_sprites.colours[i]) == rgb) return true;
    return false;
}

bool picture_extent(int p, int* left, int* top, int* right, int* bottom) {
    bool any = false;
    for (int y = 0; y < picture_side; ++y)
        for (int x = 0; x < picture_side; ++x) {
            if (!picture_opaque(p, x, y)) continue;
            if (!any || x < *left) *left = x;
            if (!any || y < *top) *top = y;
            if (!any || x + 1 > *right) *right = x + 1;
            if (!any || y + 1 > *bottom) *bottom = y + 1;
            any = true;
        }
    return any;
}
