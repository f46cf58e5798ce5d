// What the pictures show: every cat image on its own cell with no see-through holes,
// large enough and unlike every other; the title see-through only around its edge; the
// panel's strips lining up with the tile that scrolls over them.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "about_art.h"
#include "art_files.h"
#include "cat.h"
#include "palette.h"
#include "sheet.h"

namespace {

constexpr int cell = 50;
// A see-through gap enclosed by the cat smaller than this is a pinhole, a drawing fault;
// larger enclosed gaps (between a curled tail and the body, say) are part of the pose.
constexpr int largest_pinhole = 6;
// The inside of the smallest letter with a hole in it, in the title.
constexpr int smallest_counter = 40;
constexpr int min_cat_pixels = 400;
constexpr int target_cat_pixels = 900;

struct Sheet {
    IndexedImage image;
    uint8_t at(int index, int x, int y) const {
        int left = index % sheet_columns * cell, top = index / sheet_columns * cell;
        return image.pixels[size_t(top + y) * image.width + left + x];
    }
};

const Sheet& sheet() {
    static Sheet s = [] {
        Sheet r;
        EXPECT_TRUE(bmp_decode_indexed(art_file("sprites.bmp"), &r.image));
        return r;
    }();
    return s;
}

// Sizes of the regions of `clear` pixels that do not touch the border (4-connected).
std::vector<int> enclosed_regions(int w, int h, const std::vector<bool>& clear) {
    std::vector<int> seen(clear.size(), 0), sizes;
    for (int start = 0; start < w * h; ++start) {
        if (!clear[start] || seen[start]) continue;
        std::vector<int> todo{start};
        seen[start] = 1;
        int size = 0;
        bool border = false;
        while (!todo.empty()) {
            int i = todo.back(), x = i % w, y = i / w;
            todo.pop_back();
            ++size;
            if (x == 0 || y == 0 || x == w - 1 || y == h - 1) border = true;
            const int next[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
            for (const auto& n : next) {
                if (n[0] < 0 || n[1] < 0 || n[0] >= w || n[1] >= h) continue;
                int j = n[1] * w + n[0];
                if (clear[j] && !seen[j]) seen[j] = 1, todo.push_back(j);
            }
        }
        if (!border) sizes.push_back(size);
    }
    return sizes;
}

TEST(CatImages, UseOnlyTheCatsColoursAndNeverTheKey) {
    for (int i = 0; i < cat_image_count; ++i) {
        Canvas c = draw_cat_image(i);
        ASSERT_EQ(c.width, cell);
        ASSERT_EQ(c.height, cell);
        for (uint8_t p : c.pixels) ASSERT_TRUE(p == clear_pixel || p < key) << "image " << i;
    }
}

TEST(CatImages, AreAllLargeEnoughToSee) {
    // Every pose fills a good part of its cell; the smallest (a cat curled up asleep)
    // still has several hundred pixels. The count is reported to steer the drawing.
    int smallest = cell * cell, smallest_at = -1, under_target = 0;
    for (int i = 0; i < cat_image_count; ++i) {
        int opaque = 0;
        for (int y = 0; y < cell; ++y)
            for (int x = 0; x < cell; ++x) opaque += sheet().at(i, x, y) != key;
        EXPECT_GE(opaque, min_cat_pixels) << "image " << i << " is hardly there";
        under_target += opaque < target_cat_pixels;
        if (opaque < smallest) smallest = opaque, smallest_at = i;
    }
    RecordProperty("fewest_cat_pixels", smallest);
    std::printf("fewest cat pixels: %d (image %d); %d images under %d\n", smallest, smallest_at,
                under_target, target_cat_pixels);
}

TEST(CatImages, HaveNoPinholes) {
    for (int i = 0; i < cat_image_count; ++i) {
        std::vector<bool> clear(cell * cell);
        for (int y = 0; y < cell; ++y)
            for (int x = 0; x < cell; ++x) clear[y * cell + x] = sheet().at(i, x, y) == key;
        for (int size : enclosed_regions(cell, cell, clear))
            EXPECT_GT(size, largest_pinhole) << "key colour showing through image " << i;
    }
}

TEST(CatImages, DifferFromEveryOtherImage) {
    std::vector<std::vector<uint8_t>> cells(cat_image_count);
    for (int i = 0; i < cat_image_count; ++i)
        for (int y = 0; y < cell; ++y)
            for (int x = 0; x < cell; ++x) cells[i].push_back(sheet().at(i, x, y));
    for (int i = 0; i < cat_image_count; ++i)
        for (int j = i + 1; j < cat_image_count; ++j)
            EXPECT_NE(cells[i], cells[j]) << "images " << i << " and " << j << " are the same";
}

TEST(AboutPictures, TitleIsSeeThroughOnlyWhereItsBlackTouchesTheEdge) {
    IndexedImage logo;
    ASSERT_TRUE(bmp_decode_indexed(art_file("logo.bmp"), &logo));
    std::vector<bool> black(logo.pixels.size());
    size_t picture = 0;
    for (size_t i = 0; i < logo.pixels.size(); ++i) {
        black[i] = same_colour(logo.colours[logo.pixels[i]], Rgb{0, 0, 0});
        picture += !black[i];
    }
    // Black enclosed by the picture shows the dialog through it: right for the inside of
    // a letter, a fault as a pinhole in the fill.
    for (int size : enclosed_regions(logo.width, logo.height, black))
        EXPECT_GT(size, smallest_counter) << "pinhole in the title";
    EXPECT_GT(picture, size_t(logo.width * logo.height / 5));
    // The title and the cat both leave some background round them.
    for (int x = 0; x < logo.width; ++x) {
        EXPECT_TRUE(black[x]);
        EXPECT_TRUE(black[size_t(logo.height - 1) * logo.width + x]);
    }
}

TEST(AboutPictures, StripsOfThePanelContinueTheTileSeamlessly) {
    IndexedImage panel, tile;
    ASSERT_TRUE(bmp_decode_indexed(art_file("panel.bmp"), &panel));
    ASSERT_TRUE(bmp_decode_indexed(art_file("tile.bmp"), &tile));
    auto tile_rgb = [&](int x, int y) { return tile.colours[tile.pixels[y * tile.width + x]]; };
    auto panel_rgb = [&](int x, int y) { return panel.colours[panel.pixels[y * panel.width + x]]; };
    // The tile's edges match each other, so tiles side by side or above one another join.
    for (int y = 0; y < tile.height; ++y)
        EXPECT_TRUE(same_colour(tile_rgb(0, y), tile_rgb(tile.width - 1, y))) << y;
    for (int x = 0; x < tile.width; ++x)
        EXPECT_TRUE(same_colour(tile_rgb(x, 0), tile_rgb(x, tile.height - 1))) << x;
    // Under the strips the panel repeats the tile's edge rows, so the gaps between tiles
    // and the tiles cut off at the panel's edges leave no seam as they scroll.
    for (int left : {panel_strip_left, panel_strip_right})
        for (int y = 0; y < panel.height; ++y)
            for (int x = 0; x < tile.width; ++x)
                ASSERT_TRUE(same_colour(panel_rgb(left + x, y), tile_rgb(x, 0)))
                    << "panel (" << left + x << ", " << y << ")";
    // And the tile is more than the film: it shows something.
    std::set<int> tile_colours(tile.pixels.begin(), tile.pixels.end());
    EXPECT_GE(tile_colours.size(), 2u);
}

TEST(AboutPictures, PortraitIsShadedRatherThanFlat) {
    RgbImage portrait;
    ASSERT_TRUE(bmp_decode_rgb(art_file("portrait.bmp"), &portrait));
    std::set<uint32_t> colours;
    for (Rgb c : portrait.pixels) colours.insert(uint32_t(c.r) << 16 | c.g << 8 | c.b);
    EXPECT_GT(colours.size(), 500u);
    // The cat's orange coat is in it.
    size_t orange = 0;
    for (Rgb c : portrait.pixels) orange += c.r > 150 && c.g > 70 && c.g < 170 && c.b < 90;
    EXPECT_GT(orange, size_t(portrait.width * portrait.height / 10));
}

}  // namespace
