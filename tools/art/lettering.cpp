// Letters as block grids; every block corner that sticks out of the letter is rounded
// with a quarter circle as wide as the block, which makes the strokes soft and friendly.
#include "lettering.h"

#include <cstring>

namespace {

constexpr int cap_rows = 10;

struct Glyph {
    char letter;
    int columns;
    const char* rows[cap_rows];  // '#' is a block; shorter letters sit on the baseline
};

// Lower-case letters are seven blocks tall; their first three rows are empty.
constexpr Glyph glyphs[] = {
    {'T', 8, {"########", "########", "...##...", "...##...", "...##...", "...##...",
              "...##...", "...##...", "...##...", "...##..."}},
    {'u', 6, {"......", "......", "......", "##..##", "##..##", "##..##", "##..##", "##..##",
              "######", ".#####"}},
    {'v', 6, {"......", "......", "......", "##..##", "##..##", "##..##", "##..##", ".####.",
              ".####.", "..##.."}},
    {'o', 6, {"......", "......", "......", ".####.", "######", "##..##", "##..##", "##..##",
              "######", ".####."}},
};

const Glyph* find_glyph(char c) {
    for (const Glyph& g : glyphs)
        if (g.letter == c) return &g;
    return nullptr;
}

bool block_at(const Glyph& g, int col, int row) {
    if (col < 0 || row < 0 || col >= g.columns || row >= cap_rows) return false;
    return g.rows[row][col] == '#';
}

// Paints one block, leaving out what lies beyond the quarter circle of each outer corner.
void paint_block(Canvas& canvas, const Glyph& g, int col, int row, int left, int block) {
    for (int y = 0; y < block; ++y)
        for (int x = 0; x < block; ++x) {
            int sx = x * 2 < block ? -1 : 1, sy = y * 2 < block ? -1 : 1;
            bool corner = !block_at(g, col + sx, row) && !block_at(g, col, row + sy) &&
                          !block_at(g, col + sx, row + sy);
            if (corner) {
                // Distance from the block's centre, measured in the corner's quadrant.
                float cx = block * 0.5f, fx = x + 0.5f - cx, fy = y + 0.5f - cx;
                float r = block * 0.5f;
                if (fx * fx + fy * fy > r * r) continue;
            }
            put_pixel(canvas, left + col * block + x, row * block + y, 1);
        }
}

}  // namespace

Canvas draw_lettering(const char* text, int block, int gap) {
    int width = 0;
    for (const char* c = text; *c; ++c)
        if (const Glyph* g = find_glyph(*c)) width += (g->columns + gap) * block;
    if (width > 0) width -= gap * block;
    Canvas canvas = make_canvas(width, cap_rows * block);
    int left = 0;
    for (const char* c = text; *c; ++c) {
        const Glyph* g = find_glyph(*c);
        if (!g) continue;
        for (int row = 0; row < cap_rows; ++row)
            for (int col = 0; col < g->columns; ++col)
                if (block_at(*g, col, row)) paint_block(canvas, *g, col, row, left, block);
        left += (g->columns + gap) * block;
    }
    return canvas;
}
