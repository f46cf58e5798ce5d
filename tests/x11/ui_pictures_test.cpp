// Pictures of the X11 dialogs: the About panel composed off screen against a pixel-by-
// pixel reading of its rules, the enlarged pictures, and the message boxes' icons.
#include <gtest/gtest.h>

#include <vector>

#include "about_state.h"
#include "ui.h"

// The engine's messages have nowhere to go in these tests.
void error_box(const char*) {}

namespace {

constexpr int32_t cell = 50, columns = 10, rows = 17;
constexpr uint8_t key = 15;

// Small pictures of the real sizes with patterns that tell every source apart: the
// panel and the tile share one table, the sheet has its own, and its key pixels are
// scattered through every cell.
struct Pictures {
    std::vector<ArtRgb> panel_colours, sheet_colours;
    std::vector<uint8_t> panel_pixels, tile_pixels, sheet_pixels;
    ArtIndexedPicture panel, tile, sprites;

    Pictures() {
        for (int i = 0; i < 16; ++i) {
            panel_colours.push_back({static_cast<uint8_t>(i * 16), 0, static_cast<uint8_t>(255 - i)});
            sheet_colours.push_back({0, static_cast<uint8_t>(i * 16 + 1), static_cast<uint8_t>(i)});
        }
        for (int y = 0; y < 70; ++y)
            for (int x = 0; x < 76; ++x) panel_pixels.push_back(static_cast<uint8_t>((x * 7 + y * 3) % 16));
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x) tile_pixels.push_back(static_cast<uint8_t>((x + y * 2 + 5) % 16));
        for (int y = 0; y < rows * cell; ++y)
            for (int x = 0; x < columns * cell; ++x)
                sheet_pixels.push_back(static_cast<uint8_t>((x * 5 + y * 11 + x / cell) % 16));
        panel = {76, 70, 16, panel_colours.data(), panel_pixels.data()};
        tile = {7, 5, 16, panel_colours.data(), tile_pixels.data()};
        sprites = {columns * cell, rows * cell, 16, sheet_colours.data(), sheet_pixels.data()};
    }

    PanelArt art() const { return {&panel, &tile, &sprites, columns, cell, key}; }
};

// The colour of panel pixel (x, y) read straight from the rules: the cat where its
// frame is not the key colour, else a strip's tile where one lies, else the background.
ArtRgb expected_colour(const Pictures& p, FrameRef frame, int32_t offset, int32_t x, int32_t y) {
    const int32_t cx = x - about_cat_left, cy = y - about_cat_top;
    if (cx >= 0 && cx < cell && cy >= 0 && cy < cell) {
        const int32_t image = (frame < 0 ? -frame : frame) - 1;
        const int32_t sx = image % columns * cell + (frame < 0 ? cell - 1 - cx : cx);
        const int32_t sy = image / columns * cell + cy;
        const uint8_t index = p.sheet_pixels[sy * columns * cell + sx];
        if (index != key) return p.sheet_colours[index];
    }
    for (int32_t strip : {about_strip_left, about_strip_right}) {
        if (x < strip || x >= strip + 7) continue;
        // Tiles start at offset - 10 and every 10 rows after.
        const int32_t row = (y - offset + about_strip_spacing) % about_strip_spacing;
        if (row < 5) return p.panel_colours[p.tile_pixels[row * 7 + x - strip]];
    }
    return p.panel_colours[p.panel_pixels[y * 76 + x]];
}

TEST(AboutPanel, BlendsTheCatAndTheStripsOverTheBackgroundAtEveryScale) {
    const Pictures pictures;
    const FrameRef frames[] = {1, -1, 37, -98, 170, -170};
    for (int32_t scale : {1, 2, 3}) {
        for (FrameRef frame : frames) {
            for (int32_t offset : {0, 2, 4, 6, 8}) {
                std::vector<uint8_t> rgb(static_cast<size_t>(76 * scale) * 70 * scale * 3, 0xAB);
                compose_about_panel(pictures.art(), frame, offset, scale, rgb.data());
                int mismatches = 0;
                for (int32_t y = 0; y < 70 * scale && mismatches < 3; ++y) {
                    for (int32_t x = 0; x < 76 * scale && mismatches < 3; ++x) {
                        const ArtRgb want = expected_colour(pictures, frame, offset, x / scale, y / scale);
                        const uint8_t* got = &rgb[(static_cast<size_t>(y) * 76 * scale + x) * 3];
                        if (got[0] == want.r && got[1] == want.g && got[2] == want.b) continue;
                        ++mismatches;
                        ADD_FAILURE() << "frame " << frame << " offset " << offset << " scale " << scale
                                      << " pixel (" << x << ", " << y << ")";
                    }
                }
            }
        }
    }
}

TEST(AboutPanel, TheStripsOfTwoOffsetsTwoApartAreOneAnotherMovedUpTwoRows) {
    const Pictures pictures;
    std::vector<uint8_t> before(76 * 70 * 3), after(76 * 70 * 3);
    compose_about_panel(pictures.art(), 1, 6, 1, before.data());
    compose_about_panel(pictures.art(), 1, 4, 1, after.data());
    for (int32_t y = 0; y + 2 < 70; ++y)
        for (int32_t x = about_strip_left; x < about_strip_left + 7; ++x)
            for (int c = 0; c < 3; ++c) {
                // Where the background shows in both, the pictures differ anyway.
                const bool tile_before = (y + 2 - 6 + 10) % 10 < 5, tile_after = (y - 4 + 10) % 10 < 5;
                if (tile_before && tile_after) {
                    EXPECT_EQ(after[(y * 76 + x) * 3 + c], before[((y + 2) * 76 + x) * 3 + c]) << x << ", " << y;
                }
            }
}

TEST(Pictures, EnlargeEachPixelIntoASolidBlock) {
    const ArtRgb colours[3] = {{0, 0, 0}, {10, 20, 30}, {200, 100, 50}};
    const uint8_t pixels[6] = {0, 1, 2, 2, 1, 0};
    const ArtIndexedPicture indexed = {3, 2, 3, colours, pixels};
    const ArtRgb direct[6] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}, {13, 14, 15}, {16, 17, 18}};
    const ArtRgbPicture rgb_picture = {3, 2, direct};
    for (int32_t scale : {1, 2, 4}) {
        std::vector<uint8_t> rgba(static_cast<size_t>(3 * scale) * 2 * scale * 4);
        std::vector<uint8_t> rgb(static_cast<size_t>(3 * scale) * 2 * scale * 3);
        enlarge_indexed(indexed, scale, 0, rgba.data());
        enlarge_rgb(rgb_picture, scale, rgb.data());
        for (int32_t y = 0; y < 2 * scale; ++y) {
            for (int32_t x = 0; x < 3 * scale; ++x) {
                const int32_t source = (y / scale) * 3 + x / scale;
                const size_t at = static_cast<size_t>(y) * 3 * scale + x;
                const ArtRgb want = colours[pixels[source]];
                EXPECT_EQ(rgba[at * 4], want.r);
                EXPECT_EQ(rgba[at * 4 + 1], want.g);
                EXPECT_EQ(rgba[at * 4 + 2], want.b);
                EXPECT_EQ(rgba[at * 4 + 3], pixels[source] == 0 ? 0 : 255) << "entry 0 is see-through";
                EXPECT_EQ(rgb[at * 3], direct[source].r);
                EXPECT_EQ(rgb[at * 3 + 1], direct[source].g);
                EXPECT_EQ(rgb[at * 3 + 2], direct[source].b);
            }
        }
    }
}

struct Sample {
    double u, v;  // where, as a part of the icon's width and height
    int r, g, b, a;  // -1: any
};

void expect_icon(BoxIcon icon, int32_t size, const std::vector<Sample>& samples) {
    std::vector<uint8_t> rgba(static_cast<size_t>(size) * size * 4);
    draw_box_icon(icon, size, rgba.data());
    for (const Sample& s : samples) {
        const int32_t x = static_cast<int32_t>(s.u * size), y = static_cast<int32_t>(s.v * size);
        const uint8_t* p = &rgba[(static_cast<size_t>(y) * size + x) * 4];
        const int want[4] = {s.r, s.g, s.b, s.a};
        for (int c = 0; c < 4; ++c)
            if (want[c] >= 0) {
                EXPECT_NEAR(p[c], want[c], 2) << "icon " << icon << " size " << size << " at (" << x << ", " << y
                                              << ") channel " << c;
            }
    }
}

TEST(BoxIcons, ErrorIsAWhiteCrossOnARedDiscAndWarningABlackMarkOnAYellowTriangle) {
    for (int32_t size : {32, 64}) {
        expect_icon(box_error, size,
                    {
                        {0.02, 0.02, -1, -1, -1, 0},      // outside the disc
                        {0.5, 0.5, 255, 255, 255, 255},   // the cross's middle
                        {0.36, 0.36, 255, 255, 255, 255}, // on an arm
                        {0.5, 0.12, 200, 30, 30, 255},    // red between the arms
                        {0.12, 0.5, 200, 30, 30, 255},
                    });
        expect_icon(box_warning, size,
                    {
                        {0.05, 0.1, -1, -1, -1, 0},     // beside the apex
                        {0.95, 0.1, -1, -1, -1, 0},
                        {0.5, 0.98, -1, -1, -1, 0},     // below the base
                        {0.5, 0.45, 0, 0, 0, 255},      // the mark's bar
                        {0.5, 0.8, 0, 0, 0, 255},       // its dot
                        {0.3, 0.8, 250, 200, 30, 255},  // yellow beside them
                        {0.7, 0.8, 250, 200, 30, 255},
                    });
    }
}

}  // namespace
