// Shapes from mask bits: every pixel of the region agrees with the mask, plain and
// mirrored; runs that reach the cell's bottom; the empty image; an inverted colour table.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "support.h"

namespace {

// A two-by-two sheet of 50 x 50 cells held in plain memory, bottom-up like the real one.
class MaskShapes : public ::testing::Test {
protected:
    void SetUp() override {
        frame_width = frame_height = 50;
        mask_width = 100;
        mask_height = 100;
        mask_columns = 2;
        mask_rows = 2;
        mask_stride = ((mask_width + 7) / 8 + 3) / 4 * 4;
        bits.assign(size_t(mask_stride) * mask_height, 0);
        mask_bits = bits.data();
        mask_inverted = 0;
    }
    void TearDown() override { mask_bits = nullptr; }
    void set(int32_t x, int32_t y) {
        bits[size_t(mask_height - 1 - y) * mask_stride + x / 8] |= uint8_t(0x80 >> (x % 8));
    }
    // Image 3 (bottom right): a diagonal, a block, and a column reaching the bottom row.
    void draw_image_3() {
        for (int i = 0; i < 50; ++i) set(50 + i, 50 + i);
        for (int y = 60; y < 70; ++y)
            for (int x = 55; x < 65; ++x) set(x, y);
        for (int y = 60; y < 100; ++y) set(50 + 0, y);
    }
    std::vector<uint8_t> bits;
};

void expect_matches(HRGN shape, int32_t image, bool mirrored) {
    ASSERT_NE(shape, nullptr);
    const int32_t left = image % mask_columns * 50, top = image / mask_columns * 50;
    int mismatches = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x) {
            const int sx = mirrored ? 49 - x : x;
            if ((PtInRegion(shape, x, y) != 0) != mask_opaque(left + sx, top + y)) ++mismatches;
        }
    EXPECT_EQ(mismatches, 0);
}

TEST_F(MaskShapes, PlainAndMirroredShapesMatchTheMask) {
    draw_image_3();
    HRGN plain = nullptr, mirrored = nullptr;
    build_frame_shape(&plain, 3, 0);
    build_frame_shape(&mirrored, 3, 1);
    expect_matches(plain, 3, false);
    expect_matches(mirrored, 3, true);
    // The run found in column 0 lies in column 49 of the mirrored shape.
    EXPECT_TRUE(PtInRegion(plain, 0, 30));
    EXPECT_TRUE(PtInRegion(mirrored, 49, 30));
    EXPECT_FALSE(PtInRegion(mirrored, 0, 30));
    DeleteObject(plain);
    DeleteObject(mirrored);
}

TEST_F(MaskShapes, RunReachingTheBottomRowEndsAtTheCellEdge) {
    for (int y = 10; y < 50; ++y) set(7, y);
    HRGN shape = nullptr;
    build_frame_shape(&shape, 0, 0);
    ASSERT_NE(shape, nullptr);
    RECT box;
    GetRgnBox(shape, &box);
    EXPECT_EQ(box.left, 7);
    EXPECT_EQ(box.top, 10);
    EXPECT_EQ(box.right, 8);
    EXPECT_EQ(box.bottom, 50);
    DeleteObject(shape);
}

TEST_F(MaskShapes, ImageWithoutOpaquePixelsHasNoShape) {
    draw_image_3();
    HRGN shape = reinterpret_cast<HRGN>(1);
    build_frame_shape(&shape, 1, 0);
    EXPECT_EQ(shape, nullptr);
}

TEST_F(MaskShapes, InvertedColourTableReadsTheBitsTheOtherWayRound) {
    std::memset(bits.data(), 0xFF, bits.size());
    mask_inverted = 1;
    HRGN shape = nullptr;
    build_frame_shape(&shape, 2, 0);
    EXPECT_EQ(shape, nullptr);
    bits[size_t(mask_height - 1 - 75) * mask_stride + 1] &= uint8_t(~0x20);  // pixel (10, 75)
    build_frame_shape(&shape, 2, 0);
    ASSERT_NE(shape, nullptr);
    EXPECT_TRUE(PtInRegion(shape, 10, 25));
    RECT box;
    GetRgnBox(shape, &box);
    EXPECT_EQ(box.right - box.left, 1);
    DeleteObject(shape);
}

// The built-in mask, read by init_display, against the sprite sheet's key colour.
TEST(BuiltInSheets, MaskAgreesWithTheKeyColourAndStoredShapesMatch) {
    ASSERT_TRUE(start_hidden_pet(display_stored));
    EXPECT_EQ(mask_stride, 64);
    EXPECT_EQ(sheet_columns * sheet_rows, 170);
    int mismatches = 0;
    for (int y = 0; y < mask_height; y += 3)
        for (int x = 0; x < mask_width; x += 3)
            if ((GetPixel(sheet_dc, x, y) != key_colour) != mask_opaque(x, y)) ++mismatches;
    EXPECT_EQ(mismatches, 0);
    ASSERT_EQ(apply_first_shape(main_window), 1);
    for (int32_t image : {0, 9, 57, 169}) {
        expect_matches(shapes[image], image, false);
        expect_matches(mirrored_shapes[image], image, true);
    }
    HRGN held = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(main_window, held), ERROR);
    EXPECT_TRUE(EqualRgn(held, shown_mirrored ? mirrored_shapes[shown_image] : shapes[shown_image]));
    DeleteObject(held);
    stop_hidden_pet();
    EXPECT_EQ(shapes, nullptr);
    EXPECT_EQ(sheet_dc, nullptr);
}

}  // namespace
