// The nine files as the program embeds them: sizes, depths, colour tables, compression,
// icon and cursor directories, and that the build rewrites them when the generator
// changes.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <set>

#include "about_art.h"
#include "art_files.h"
#include "icons.h"
#include "sheet.h"

namespace {

constexpr uint32_t bi_rgb = 0, bi_rle4 = 2;

struct Expected {
    const char* name;
    int width, height, bits;
    uint32_t compression;
    size_t colours;
};

TEST(ArtFiles, BitmapsHaveTheirSizesDepthsAndCompression) {
    const Expected expected[] = {
        {"sprites.bmp", 500, 850, 4, bi_rle4, 16}, {"mask.bmp", 500, 850, 1, bi_rgb, 2},
        {"logo.bmp", 315, 137, 8, bi_rgb, 256},    {"panel.bmp", 76, 70, 4, bi_rgb, 16},
        {"tile.bmp", 7, 5, 4, bi_rgb, 16},         {"portrait.bmp", 125, 151, 24, bi_rgb, 0},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.name);
        Bytes f = art_file(e.name);
        BmpInfo info;
        ASSERT_TRUE(bmp_read_info(f, &info));
        EXPECT_EQ(info.width, e.width);
        EXPECT_EQ(info.height, e.height);  // positive: rows bottom-up
        EXPECT_EQ(info.planes, 1);
        EXPECT_EQ(info.bits, e.bits);
        EXPECT_EQ(info.compression, e.compression);
        EXPECT_EQ(info.colours.size(), e.colours);
        EXPECT_EQ(read_u32(f, 2), f.size());
        EXPECT_EQ(info.data_offset + info.image_size, f.size());
        EXPECT_EQ(info.data_offset, 54 + 4 * e.colours);
        if (e.bits == 24) {
            RgbImage image;
            EXPECT_TRUE(bmp_decode_rgb(f, &image));
        } else {
            IndexedImage image;
            bool saw_end = false;
            ASSERT_TRUE(bmp_decode_indexed(f, &image, &saw_end));
            EXPECT_EQ(saw_end, e.compression == bi_rle4);
            for (uint8_t p : image.pixels) ASSERT_LT(p, e.colours);
        }
    }
}

TEST(ArtFiles, SpriteSheetEndsItsColourTableWithPureCyanAndMaskIsBlackThenWhite) {
    BmpInfo sheet, mask;
    ASSERT_TRUE(bmp_read_info(art_file("sprites.bmp"), &sheet));
    ASSERT_TRUE(bmp_read_info(art_file("mask.bmp"), &mask));
    ASSERT_EQ(sheet.colours.size(), 16u);
    EXPECT_TRUE(same_colour(sheet.colours[15], Rgb{0, 255, 255}));
    for (int i = 0; i < 15; ++i) EXPECT_FALSE(same_colour(sheet.colours[i], Rgb{0, 255, 255})) << i;
    ASSERT_EQ(mask.colours.size(), 2u);
    EXPECT_TRUE(same_colour(mask.colours[0], Rgb{0, 0, 0}));
    EXPECT_TRUE(same_colour(mask.colours[1], Rgb{255, 255, 255}));
}

TEST(ArtFiles, SpriteSheetDecodesToTheDrawnImagesAndMaskAgreesPixelForPixel) {
    IndexedImage drawn, sheet, mask;
    std::string error;
    ASSERT_TRUE(build_sprite_sheet(&drawn, &error)) << error;
    ASSERT_TRUE(bmp_decode_indexed(art_file("sprites.bmp"), &sheet));
    ASSERT_TRUE(bmp_decode_indexed(art_file("mask.bmp"), &mask));
    EXPECT_EQ(sheet.pixels, drawn.pixels);
    ASSERT_EQ(mask.pixels.size(), sheet.pixels.size());
    size_t disagree = 0;
    for (size_t i = 0; i < sheet.pixels.size(); ++i)
        disagree += mask.pixels[i] != (sheet.pixels[i] == 15 ? 0 : 1);
    EXPECT_EQ(disagree, 0u);
}

TEST(ArtFiles, IconHoldsThreeSizesOf256Colours) {
    int type = 0;
    std::vector<IconEntry> entries;
    ASSERT_TRUE(icon_decode(art_file("tuvo.ico"), &type, &entries));
    EXPECT_EQ(type, 1);
    ASSERT_EQ(entries.size(), 3u);
    for (size_t k = 0; k < entries.size(); ++k) {
        const IconEntry& e = entries[k];
        int n = icon_sizes[k];
        SCOPED_TRACE(n);
        EXPECT_EQ(e.width, n);
        EXPECT_EQ(e.height, n);
        EXPECT_EQ(e.colour_count, 0);  // 256 colours are written as 0
        EXPECT_EQ(e.hot_x, 1);         // planes
        EXPECT_EQ(e.hot_y, 8);         // bits per pixel
        EXPECT_EQ(e.header.width, n);
        EXPECT_EQ(e.header.height, 2 * n);
        EXPECT_EQ(e.header.bits, 8);
        EXPECT_EQ(e.header.colours.size(), 256u);
        // See-through pixels carry colour 0, so they leave the screen unchanged.
        const IconImage& p = e.picture;
        size_t opaque = 0;
        for (size_t i = 0; i < p.transparent.size(); ++i) {
            if (!p.transparent[i]) {
                ++opaque;
                continue;
            }
            EXPECT_EQ(p.image.pixels[i], 0);
        }
        EXPECT_GT(opaque, size_t(n * n / 2));
        EXPECT_TRUE(p.transparent[0]);  // a round face leaves the corners clear
    }
}

TEST(ArtFiles, CursorsAreMonochrome32By32WithTheHotSpotInTheWhitePalm) {
    for (const char* name : {"hand_open.cur", "hand_grab.cur"}) {
        SCOPED_TRACE(name);
        int type = 0;
        std::vector<IconEntry> entries;
        ASSERT_TRUE(icon_decode(art_file(name), &type, &entries));
        EXPECT_EQ(type, 2);
        ASSERT_EQ(entries.size(), 1u);
        const IconEntry& e = entries[0];
        EXPECT_EQ(e.width, 32);
        EXPECT_EQ(e.height, 32);
        EXPECT_EQ(e.colour_count, 2);
        EXPECT_EQ(e.hot_x, 15);
        EXPECT_EQ(e.hot_y, 15);
        EXPECT_EQ(e.header.bits, 1);
        EXPECT_EQ(e.header.height, 64);
        ASSERT_EQ(e.header.colours.size(), 2u);
        EXPECT_TRUE(same_colour(e.header.colours[0], Rgb{0, 0, 0}));
        EXPECT_TRUE(same_colour(e.header.colours[1], Rgb{255, 255, 255}));
        const IconImage& p = e.picture;
        size_t hot = 15 * 32 + 15, black = 0, white = 0;
        EXPECT_FALSE(p.transparent[hot]);
        EXPECT_EQ(p.image.pixels[hot], 1);
        for (size_t i = 0; i < p.transparent.size(); ++i) {
            if (p.transparent[i]) {
                EXPECT_EQ(p.image.pixels[i], 0);  // no inverted screen pixels
                continue;
            }
            (p.image.pixels[i] ? white : black)++;
        }
        EXPECT_GT(black, 40u);  // an outline all round
        EXPECT_GT(white, 100u);
    }
}

TEST(ArtFiles, HandsDiffer) {
    EXPECT_NE(art_file("hand_open.cur"), art_file("hand_grab.cur"));
}

TEST(ArtFiles, AreNoOlderThanTheGeneratorThatWroteThem) {
    // The art target reruns the generator whenever it is relinked; a file older than the
    // generator would mean the build embeds stale pictures.
    struct stat generator;
    ASSERT_EQ(stat(TUVO_ART_GENERATOR, &generator), 0);
    for (const char* name : {"sprites.bmp", "mask.bmp", "logo.bmp", "panel.bmp", "tile.bmp",
                             "portrait.bmp", "tuvo.ico", "hand_open.cur", "hand_grab.cur",
                             "icon-16.png", "icon-32.png", "icon-48.png", "icon-256.png"}) {
        struct stat file;
        ASSERT_EQ(stat(art_path(name).c_str(), &file), 0) << name;
        EXPECT_GE(file.st_mtim.tv_sec, generator.st_mtim.tv_sec) << name;
        if (file.st_mtim.tv_sec == generator.st_mtim.tv_sec) {
            EXPECT_GE(file.st_mtim.tv_nsec, generator.st_mtim.tv_nsec) << name;
        }
    }
}

}  // namespace
