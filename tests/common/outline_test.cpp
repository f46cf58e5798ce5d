// Outlines from a small mask sheet of our own: runs that reach the cell's bottom, the
// mirror about the cell's centre line, inverted masks and sheets cut short.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "outline.h"

namespace {

struct Piece {
    int32_t x, top, bottom;
    bool operator==(const Piece& o) const { return x == o.x && top == o.top && bottom == o.bottom; }
};

void collect(void* runs, int32_t x, int32_t top, int32_t bottom) {
    static_cast<std::vector<Piece>*>(runs)->push_back({x, top, bottom});
}

// Two 4 x 4 cells side by side, rows written top first and stored bottom-up.
struct Sheet {
    std::array<uint8_t, 4 * 4> bits{};
    MaskSheet mask{};
    explicit Sheet(const char* const rows[4], int32_t inverted = 0) {
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 8; ++x)
                if ((rows[y][x] == '#') != (inverted != 0)) bits[size_t(3 - y) * 4 + x / 8] |= 0x80 >> (x % 8);
        mask = {bits.data(), 4, 8, 4, 2, inverted};
    }
};

std::vector<Piece> runs_of(const MaskSheet& sheet, int32_t image, int32_t mirrored) {
    std::vector<Piece> runs;
    for_each_outline_run(sheet, image, mirrored, 4, 4, collect, &runs);
    return runs;
}

const char* const rows[4] = {
    "#..." ".##.",
    "#.#." "....",
    "..#." ".#..",
    "..##" ".#..",
};

TEST(Outline, ColumnRunsLeftToRightTopToBottomEndingAtTheCellsBottom) {
    const Sheet sheet(rows);
    EXPECT_EQ(runs_of(sheet.mask, 0, 0), (std::vector<Piece>{{0, 0, 2}, {2, 1, 4}, {3, 3, 4}}));
    EXPECT_EQ(runs_of(sheet.mask, 1, 0), (std::vector<Piece>{{1, 0, 1}, {1, 2, 4}, {2, 0, 1}}));
    // Mirrored: column x becomes 3 - x, scanned in the same order.
    EXPECT_EQ(runs_of(sheet.mask, 0, 1), (std::vector<Piece>{{3, 0, 2}, {1, 1, 4}, {0, 3, 4}}));
    // A mask stored the other way round gives the same outline.
    const Sheet inverted(rows, 1);
    EXPECT_EQ(runs_of(inverted.mask, 1, 0), runs_of(sheet.mask, 1, 0));
}

TEST(Outline, SheetCutShortEndsTheScan) {
    Sheet sheet(rows);
    // Six columns across: the second cell loses its last two columns.
    sheet.mask.width = 6;
    EXPECT_EQ(runs_of(sheet.mask, 1, 0), (std::vector<Piece>{{1, 0, 1}, {1, 2, 4}}));
    // Three rows down (the stored rows start lower): an open run closes at the cell's bottom.
    sheet.mask.bits += 4;
    sheet.mask.height = 3;
    EXPECT_EQ(runs_of(sheet.mask, 0, 0), (std::vector<Piece>{{0, 0, 2}, {2, 1, 4}}));
    sheet.mask.columns = 0;
    EXPECT_TRUE(runs_of(sheet.mask, 0, 0).empty());
}

}  // namespace
