// The Linux program's embedded pictures against the files tuvo.exe embeds, as our readers
// decode them: whole pictures, the mask against the sheet's key colour, cursors, icons.
#include <gtest/gtest.h>

#include <algorithm>

#include "art_data.h"
#include "art_files.h"

namespace {

void expect_same_table(const ArtRgb* table, int32_t count, const std::vector<Rgb>& colours) {
    ASSERT_EQ(size_t(count), colours.size());
    for (int32_t i = 0; i < count; ++i)
        EXPECT_TRUE(same_colour(Rgb{table[i].r, table[i].g, table[i].b}, colours[i])) << i;
}

TEST(EmbeddedArt, IndexedPicturesEqualTheDecodedFiles) {
    const struct {
        const char* file;
        const ArtIndexedPicture* picture;
    } cases[] = {{"sprites.bmp", &art_sprites},
                 {"logo.bmp", &art_logo},
                 {"panel.bmp", &art_panel},
                 {"tile.bmp", &art_tile}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        IndexedImage image;
        ASSERT_TRUE(bmp_decode_indexed(art_file(c.file), &image));
        ASSERT_EQ(c.picture->width, image.width);
        ASSERT_EQ(c.picture->height, image.height);
        expect_same_table(c.picture->colours, c.picture->colour_count, image.colours);
        EXPECT_TRUE(std::equal(image.pixels.begin(), image.pixels.end(), c.picture->pixels));
    }
    EXPECT_EQ(art_sprites.width, art_sheet_width);
    EXPECT_EQ(art_sprites.height, art_sheet_height);
    EXPECT_EQ(art_sprites.colours[art_key_index].g, 255);  // the key: pure cyan
    EXPECT_EQ(art_sprites.colours[art_key_index].r, 0);
}

TEST(EmbeddedArt, PortraitEqualsTheDecodedFile) {
    RgbImage image;
    ASSERT_TRUE(bmp_decode_rgb(art_file("portrait.bmp"), &image));
    ASSERT_EQ(art_portrait.width, image.width);
    ASSERT_EQ(art_portrait.height, image.height);
    size_t differ = 0;
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        const ArtRgb& p = art_portrait.pixels[i];
        differ += !same_colour(Rgb{p.r, p.g, p.b}, image.pixels[i]);
    }
    EXPECT_EQ(differ, 0u);
}

TEST(EmbeddedArt, MaskIsOpaqueExactlyWhereTheSheetIsNotKeyColour) {
    EXPECT_EQ(art_mask.width, art_sheet_width);
    EXPECT_EQ(art_mask.height, art_sheet_height);
    EXPECT_EQ(art_mask.stride, 64);
    EXPECT_EQ(art_mask.inverted, 0);  // the file's entry 0 is black
    IndexedImage sheet;
    ASSERT_TRUE(bmp_decode_indexed(art_file("sprites.bmp"), &sheet));
    size_t disagree = 0, opaque = 0;
    for (int y = 0; y < art_mask.height; ++y) {
        // Bottom-up rows, as the Windows program reads its mask.
        const uint8_t* row = art_mask.bits + size_t(art_mask.height - 1 - y) * art_mask.stride;
        for (int x = 0; x < art_mask.width; ++x) {
            bool bit = row[x / 8] & (0x80 >> (x % 8));
            bool solid = bit != (art_mask.inverted != 0);
            opaque += solid;
            disagree += solid != (sheet.pixels[size_t(y) * sheet.width + x] != art_key_index);
        }
    }
    EXPECT_EQ(disagree, 0u);
    EXPECT_GT(opaque, 0u);
}

TEST(EmbeddedArt, CursorsEqualTheDecodedFilesWithTheirHotSpot) {
    const struct {
        const char* file;
        const ArtCursor* cursor;
    } cases[] = {{"hand_open.cur", &art_hand_open}, {"hand_grab.cur", &art_hand_grab}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        int type = 0;
        std::vector<IconEntry> entries;
        ASSERT_TRUE(icon_decode(art_file(c.file), &type, &entries));
        ASSERT_EQ(entries.size(), 1u);
        const IconImage& picture = entries[0].picture;
        ASSERT_EQ(c.cursor->width, art_cursor_size);
        ASSERT_EQ(c.cursor->height, art_cursor_size);
        EXPECT_EQ(c.cursor->hot_x, entries[0].hot_x);
        EXPECT_EQ(c.cursor->hot_y, entries[0].hot_y);
        EXPECT_EQ(c.cursor->hot_x, 15);
        EXPECT_TRUE(std::equal(picture.image.pixels.begin(), picture.image.pixels.end(),
                               c.cursor->pixels));
        EXPECT_TRUE(std::equal(picture.transparent.begin(), picture.transparent.end(),
                               c.cursor->transparent));
    }
}

TEST(EmbeddedArt, IconsAreTheIconFilesPicturesAsArgbWithAlphaFromTheAndMask) {
    int type = 0;
    std::vector<IconEntry> entries;
    ASSERT_TRUE(icon_decode(art_file("tuvo.ico"), &type, &entries));
    ASSERT_EQ(entries.size(), size_t(art_icon_count));
    size_t at = 0;  // walks the property: width, height, pixels for each size
    for (int k = 0; k < art_icon_count; ++k) {
        const IconImage& p = entries[k].picture;
        int n = art_icon_sizes[k];
        SCOPED_TRACE(n);
        ASSERT_EQ(p.image.width, n);
        EXPECT_EQ(art_icons[k].size, n);
        EXPECT_EQ(art_icon_property[at], unsigned(n));
        EXPECT_EQ(art_icon_property[at + 1], unsigned(n));
        ASSERT_EQ(art_icons[k].argb, art_icon_property + at + 2);
        size_t wrong = 0, clear = 0;
        for (size_t i = 0; i < size_t(n) * n; ++i) {
            unsigned long argb = art_icons[k].argb[i];
            Rgb c = p.image.colours[p.image.pixels[i]];
            unsigned long want = p.transparent[i]
                                     ? 0ul
                                     : 0xFF000000ul | c.r << 16 | c.g << 8 | c.b;
            wrong += argb != want;
            clear += p.transparent[i];
        }
        EXPECT_EQ(wrong, 0u);
        EXPECT_GT(clear, 0u);
        at += 2 + size_t(n) * n;
    }
    EXPECT_EQ(at, size_t(art_icon_property_length));
}

}  // namespace
