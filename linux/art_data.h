// The artwork the Linux program carries inside itself: the very pixels tuvo.exe embeds,
// decoded at build time from the generated BMP, ICO and CUR files into constant tables.
#pragma once

#include <cstdint>

struct ArtRgb {
    uint8_t r, g, b;
};

// One colour-table index per pixel whatever the file's depth, row-major, top row first.
struct ArtIndexedPicture {
    int32_t width;
    int32_t height;
    int32_t colour_count;
    const ArtRgb* colours;
    const uint8_t* pixels;
};

// The mask sheet as the Windows program holds it after GetDIBits, so that the outline
// code both programs share finds the same shapes: rows bottom-up, each stride bytes
// (rounded up to 4), most significant bit leftmost. A pixel is opaque where its bit
// differs from inverted (1 when the file's colour entry 0 is not black).
struct ArtMask {
    int32_t width;
    int32_t height;
    int32_t stride;
    int32_t inverted;
    const uint8_t* bits;
};

// Three bytes per pixel, row-major, top row first.
struct ArtRgbPicture {
    int32_t width;
    int32_t height;
    const ArtRgb* pixels;
};

// A two-colour cursor, one byte per pixel, top row first: colour 0 black, 1 white;
// transparent is 1 where the screen shows through (those pixels have colour 0).
struct ArtCursor {
    int32_t width;
    int32_t height;
    int32_t hot_x;
    int32_t hot_y;
    const uint8_t* pixels;
    const uint8_t* transparent;
};

// One size of the window icon: size x size pixels 0xAARRGGBB, top row first, alpha 0
// where the icon is see-through and 0xFF elsewhere. The pixels lie inside
// art_icon_property, whose elements are unsigned long because Xlib takes 32-bit
// properties as longs.
struct ArtIcon {
    int32_t size;
    const unsigned long* argb;
};

// The sprite sheet: 50 x 50 cells, image i in column i % 10, row i / 10, facing left;
// the key colour exactly where the cat is not.
constexpr int32_t art_sheet_width = 500;
constexpr int32_t art_sheet_height = 850;
constexpr int32_t art_sheet_colours = 16;
constexpr int32_t art_cell_size = 50;
constexpr int32_t art_sheet_columns = art_sheet_width / art_cell_size;
constexpr uint8_t art_key_index = 15;  // pure cyan
constexpr int32_t art_mask_stride = (art_sheet_width + 31) / 32 * 4;

// The About box's pictures.
constexpr int32_t art_logo_width = 315, art_logo_height = 137, art_logo_colours = 256;
constexpr int32_t art_panel_width = 76, art_panel_height = 70, art_panel_colours = 16;
constexpr int32_t art_tile_width = 7, art_tile_height = 5, art_tile_colours = 16;
constexpr int32_t art_portrait_width = 125, art_portrait_height = 151;

constexpr int32_t art_cursor_size = 32;
constexpr int32_t art_cursor_hot_x = 15, art_cursor_hot_y = 15;

constexpr int32_t art_icon_count = 3;
constexpr int32_t art_icon_sizes[art_icon_count] = {16, 32, 48};
// _NET_WM_ICON's whole value: for each size its width, its height, then its pixels.
constexpr int32_t art_icon_property_length = 2 + 16 * 16 + 2 + 32 * 32 + 2 + 48 * 48;

extern const ArtIndexedPicture art_sprites;
extern const ArtMask art_mask;
extern const ArtIndexedPicture art_logo;   // entry 0 black: see-through in the dialog
extern const ArtIndexedPicture art_panel;
extern const ArtIndexedPicture art_tile;   // same table as the panel
extern const ArtRgbPicture art_portrait;
extern const ArtCursor art_hand_open;      // over the pet
extern const ArtCursor art_hand_grab;      // while the pet is held
extern const ArtIcon art_icons[art_icon_count];  // smallest first
extern const unsigned long art_icon_property[art_icon_property_length];
