// The pet's pictures before they reach the server: the sheet's colours as pixel values of
// true-colour visuals, and frames cut from the embedded sheet, each pixel a solid square,
// mirrored about the cell's centre line, and nothing written past a line's pixels.
#include <gtest/gtest.h>

#include <vector>

#include "rules.h"

namespace {

TEST(Pictures, ColoursSpreadOverTheVisualsChannelMasks) {
    const struct {
        ArtRgb colour;
        unsigned long red, green, blue;  // masks
        unsigned long pixel;
    } cases[] = {
        {{0x12, 0x34, 0x56}, 0xFF0000, 0x00FF00, 0x0000FF, 0x123456},
        {{0x12, 0x34, 0x56}, 0x0000FF, 0x00FF00, 0xFF0000, 0x563412},  // blue in the high byte
        {{255, 255, 255}, 0xF800, 0x07E0, 0x001F, 0xFFFF},              // 16 bits, 5-6-5
        {{0, 255, 255}, 0xF800, 0x07E0, 0x001F, 0x07FF},                // the key colour
        {{0, 0, 0}, 0xF800, 0x07E0, 0x001F, 0x0000},
        // 128 is 16 of 31 and 32 of 63, rounded to the nearest.
        {{128, 128, 128}, 0xF800, 0x07E0, 0x001F, (16ul << 11) | (32ul << 5) | 16ul},
        {{255, 0, 0}, 0x7C00, 0x03E0, 0x001F, 0x7C00},  // 15 bits, 5-5-5
        {{0x80, 0x40, 0x20}, 0x3FF00000, 0x000FFC00, 0x000003FF,       // 30 bits, 10 per channel
         (0x202ul << 20) | (0x101ul << 10) | 0x080ul},
    };
    for (const auto& c : cases)
        EXPECT_EQ(true_colour_pixel(c.colour, c.red, c.green, c.blue), c.pixel)
            << int(c.colour.r) << "," << int(c.colour.g) << "," << int(c.colour.b) << " mask " << std::hex << c.red;
    // On 8-8-8 every colour of the sheet keeps its exact value.
    for (int32_t i = 0; i < art_sprites.colour_count; ++i) {
        const ArtRgb& c = art_sprites.colours[i];
        EXPECT_EQ(true_colour_pixel(c, 0xFF0000, 0xFF00, 0xFF), (unsigned long)(c.r << 16 | c.g << 8 | c.b)) << i;
    }
}

TEST(Pictures, FramesAreCutAsSolidSquaresPlainOrMirrored) {
    constexpr int32_t cell = art_cell_size;
    constexpr uint8_t untouched = 0xAB;
    unsigned long values[art_sheet_colours];
    for (int32_t i = 0; i < art_sheet_colours; ++i) values[i] = 0x01000000ul * (i + 1) + 0x10203ul;
    const int32_t last = art_sheet_columns * (art_sheet_height / cell) - 1;
    for (int32_t image : {0, 9, 10, 87, last})
        for (int32_t mirrored = 0; mirrored <= 1; ++mirrored)
            for (int32_t scale : {1, 2, 3}) {
                const int32_t size = cell * scale;
                const size_t line_bytes = size_t(size) * 4 + 12;  // lines with room to spare
                std::vector<char> out(line_bytes * size_t(size), char(untouched));
                cut_frame_words(art_sprites, art_sheet_columns, cell, image, mirrored, scale, values, out.data(),
                                line_bytes);
                const int32_t column = image % art_sheet_columns, row = image / art_sheet_columns;
                int wrong = 0, spilled = 0;
                for (int32_t y = 0; y < size; ++y) {
                    const char* line = out.data() + size_t(y) * line_bytes;
                    for (int32_t x = 0; x < size; ++x) {
                        const int32_t sx = column * cell + (mirrored ? cell - 1 - x / scale : x / scale);
                        const uint8_t index = art_sprites.pixels[size_t(row * cell + y / scale) * art_sprites.width + sx];
                        wrong += reinterpret_cast<const uint32_t*>(line)[x] != uint32_t(values[index]);
                    }
                    for (size_t b = size_t(size) * 4; b < line_bytes; ++b) spilled += uint8_t(line[b]) != untouched;
                }
                EXPECT_EQ(wrong, 0) << "image " << image << " mirrored " << mirrored << " scale " << scale;
                EXPECT_EQ(spilled, 0) << "image " << image << " mirrored " << mirrored << " scale " << scale;
            }
}

}  // namespace
