// The window shape's rectangles: exactly the opaque pixels of every picture of the
// embedded sheet, plain and mirrored, at several scales, in the Y-X bands the X server
// takes without sorting; rows with the same spans joined, others left apart.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "art_data.h"
#include "rules.h"

namespace {

constexpr int32_t cell = art_cell_size;

MaskSheet embedded_mask() {
    return {art_mask.bits, art_mask.stride, art_mask.width, art_mask.height, art_sheet_columns, art_mask.inverted};
}

// How many rectangles cover each window pixel.
std::vector<int> coverage(const std::vector<XRectangle>& rectangles, int32_t size) {
    std::vector<int> count(size_t(size) * size, 0);
    for (const XRectangle& r : rectangles)
        for (int32_t y = r.y; y < r.y + r.height; ++y)
            for (int32_t x = r.x; x < r.x + r.width; ++x)
                if (x >= 0 && y >= 0 && x < size && y < size) ++count[size_t(y) * size + x];
    return count;
}

// True when |shape| is in Y-X bands: rectangles of one band share their rows and lie left
// to right without touching; each band lies wholly below the one before.
bool banded(const std::vector<XRectangle>& shape) {
    for (size_t i = 1; i < shape.size(); ++i) {
        const XRectangle& a = shape[i - 1];
        const XRectangle& b = shape[i];
        const bool same_band = a.y == b.y && a.height == b.height;
        if (same_band ? b.x <= a.x + a.width : b.y < a.y + a.height) return false;
    }
    return true;
}

TEST(ShapeRectangles, CoverExactlyTheOpaquePixelsOfEveryPictureOnceInBands) {
    const MaskSheet mask = embedded_mask();
    for (int32_t scale : {1, 2, 3}) {
        const int32_t size = cell * scale;
        size_t rectangles = 0, runs = 0;
        for (int32_t mirrored = 0; mirrored <= 1; ++mirrored)
            for (int32_t image = 0; image < art_sheet_columns * (art_sheet_height / cell); ++image) {
                std::vector<XRectangle> shape;
                outline_rectangles(mask, image, mirrored, cell, cell, scale, &shape);
                rectangles += shape.size();
                const std::vector<int> covered = coverage(shape, size);
                const int32_t column = image % art_sheet_columns, row = image / art_sheet_columns;
                int wrong = 0;
                for (int32_t y = 0; y < size; ++y)
                    for (int32_t x = 0; x < size; ++x) {
                        const int32_t px = x / scale, py = y / scale;
                        const int32_t sx = column * cell + (mirrored ? cell - 1 - px : px);
                        const bool opaque = mask_sheet_opaque(mask, sx, row * cell + py);
                        wrong += covered[size_t(y) * size + x] != (opaque ? 1 : 0);
                    }
                EXPECT_EQ(wrong, 0) << "image " << image << (mirrored ? " mirrored" : "") << " scale " << scale;
                EXPECT_TRUE(banded(shape)) << "image " << image << (mirrored ? " mirrored" : "");
                if (scale == 1 && !mirrored) {
                    for (int32_t x = 0; x < cell; ++x)
                        for (int32_t y = 0; y < cell; ++y) {
                            const bool here = mask_sheet_opaque(mask, column * cell + x, row * cell + y);
                            const bool above = y > 0 && mask_sheet_opaque(mask, column * cell + x, row * cell + y - 1);
                            runs += here && !above;
                        }
                }
            }
        if (scale == 1) {
            // Fewer rectangles than the outline's column runs (170 pictures each way).
            EXPECT_LT(rectangles, runs * 2) << rectangles << " rectangles for " << runs << " runs";
        }
    }
}

// A small sheet of our own: one 4 x 4 cell, rows written top first, stored bottom-up.
TEST(ShapeRectangles, JoinRowsWithTheSameSpansOnly) {
    const char* rows[4] = {"##..", "###.", "#.##", "..##"};
    std::array<uint8_t, 4 * 4> bits{};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            if (rows[y][x] == '#') bits[size_t(3 - y) * 4] |= 0x80 >> x;
    const MaskSheet mask = {bits.data(), 4, 4, 4, 1, 0};
    std::vector<XRectangle> shape;
    outline_rectangles(mask, 0, 0, 4, 4, 1, &shape);
    auto at = [&](size_t i, short x, short y, unsigned short w, unsigned short h) {
        return i < shape.size() && shape[i].x == x && shape[i].y == y && shape[i].width == w && shape[i].height == h;
    };
    // No two rows alike: one band per row, the third row in two spans.
    ASSERT_EQ(shape.size(), 5u);
    EXPECT_TRUE(at(0, 0, 0, 2, 1));
    EXPECT_TRUE(at(1, 0, 1, 3, 1));
    EXPECT_TRUE(at(2, 0, 2, 1, 1));
    EXPECT_TRUE(at(3, 2, 2, 2, 1));
    EXPECT_TRUE(at(4, 2, 3, 2, 1));
    shape.clear();
    outline_rectangles(mask, 0, 1, 4, 4, 1, &shape);  // mirrored: "..##", ".###", "##.#", "##.."
    ASSERT_EQ(shape.size(), 5u);
    EXPECT_TRUE(at(0, 2, 0, 2, 1));
    EXPECT_TRUE(at(2, 0, 2, 2, 1));
    EXPECT_TRUE(at(3, 3, 2, 1, 1));

    // Two rows with the same span become one rectangle, at any scale and mirrored.
    const char* block[4] = {"....", ".##.", ".##.", "...."};
    bits.fill(0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            if (block[y][x] == '#') bits[size_t(3 - y) * 4] |= 0x80 >> x;
    for (int32_t mirrored = 0; mirrored <= 1; ++mirrored) {
        shape.clear();
        outline_rectangles(mask, 0, mirrored, 4, 4, 3, &shape);
        ASSERT_EQ(shape.size(), 1u);
        EXPECT_TRUE(at(0, 3, 3, 6, 6));
    }
}

}  // namespace
