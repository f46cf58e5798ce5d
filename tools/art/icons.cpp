// The icon and the cursors. The icon is the cat's face, drawn by hand at 16 x 16, where
// every pixel counts, and from shapes at the larger sizes (256 with smooth edges, for the
// desktop's icon theme). The cursors are white hands with a black outline, drawn by hand
// pixel for pixel.
#include "icons.h"

#include "palette.h"
#include "raster.h"

namespace {

// The large face is drawn this many times larger still and averaged down, which smooths
// its edges into partial transparency and blended colour.
constexpr int large_icon_oversample = 3;
// Outline width of the large face as a share of its side: as thick as the 48-pixel face's
// one-pixel outline.
constexpr float large_icon_stroke = 1.0f / 48.0f;
// Radius of the glint in the eyes, in outline widths.
constexpr float glint_radius = 0.75f;

// Icon colour table: the cat's colours first; the remaining entries are unused.
std::vector<Rgb> icon_colours() {
    std::vector<Rgb> c(256, Rgb{0, 0, 0});
    for (int i = 0; i < palette_size; ++i) c[i] = cat_palette[i];
    return c;
}

IconImage from_canvas(const Canvas& canvas) {
    IconImage icon;
    icon.image = IndexedImage{canvas.width, canvas.height, {}, icon_colours()};
    for (uint8_t p : canvas.pixels) {
        bool clear = p == clear_pixel;
        icon.image.pixels.push_back(clear ? 0 : p);
        icon.transparent.push_back(clear ? 1 : 0);
    }
    return icon;
}

// Left half of the 16 x 16 face, mirrored for the right half: k ink, o coat, d stripe,
// l light coat, c cream, p pink, g eye.
const char* const face16_left[16] = {
    "........", ".kk.....", ".kok....", ".kpok...", ".kppokkk", "koooodod",
    "kooooooo", "kogkoooo", "kogkoooo", "kooooool", "kollcccp", ".kccccck",
    ".kcccckc", "..kkcccc", "....kkkk", "........",
};

uint8_t face_colour(char ch) {
    switch (ch) {
    case 'k': return ink;
    case 'o': return coat;
    case 'd': return coat_dark;
    case 'l': return coat_light;
    case 'c': return cream;
    case 'p': return pink;
    case 'g': return eye_green;
    }
    return clear_pixel;
}

Canvas face_small() {
    Canvas c = make_canvas(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 8; ++x) {
            uint8_t p = face_colour(face16_left[y][x]);
            put_pixel(c, x, y, p);
            put_pixel(c, 15 - x, y, p);
        }
    return c;
}

// The face from shapes on a square of side n. stroke is the outline's width in pixels: 1
// at the icon's own sizes (32, 48); a face drawn large to be averaged down widens it, and
// its stripes and the glint in its eyes grow from single pixels into shapes of that width.
Canvas face_large(int n, float stroke) {
    Canvas c = make_canvas(n, n);
    float u = n / 32.0f, m = n * 0.5f;
    bool pixel_marks = stroke <= 1.0f;
    auto P = [stroke](Coat coat, uint8_t colour) { return Paint{coat, colour, ink, true, stroke}; };
    for (int side = -1; side <= 1; side += 2) {
        draw_triangle(c, m + side * 14.5f * u, 13 * u, m + side * 12.5f * u, 1.5f * u,
                      m + side * 4 * u, 8 * u, P(Coat::flat, coat));
        draw_triangle(c, m + side * 12.5f * u, 11 * u, m + side * 11.5f * u, 4.5f * u,
                      m + side * 7 * u, 8.5f * u, Paint{Coat::flat, pink, shadow, false});
    }
    draw_ellipse(c, m, 18 * u, 14.5f * u, 11.5f * u, 0, P(Coat::flat, coat));
    for (int i = -1; i <= 1; ++i) {
        if (pixel_marks) {
            draw_line(c, int(m + i * 3 * u), int(8 * u), int(m + i * 2.4f * u), int(11.5f * u),
                      coat_dark);
            continue;
        }
        // A band one outline wide over the cells the pixel line would fill: each cell
        // starts at the line's point, so its middle lies half a width further on.
        float half = stroke * 0.5f;
        draw_capsule(c, m + i * 3 * u + half, 8 * u + half, m + i * 2.4f * u + half,
                     11.5f * u + half, half, half, Paint{Coat::flat, coat_dark, coat_dark, false});
    }
    draw_ellipse(c, m - 3.4f * u, 22.5f * u, 3.9f * u, 3.1f * u, 0, P(Coat::flat, cream));
    draw_ellipse(c, m + 3.4f * u, 22.5f * u, 3.9f * u, 3.1f * u, 0, P(Coat::flat, cream));
    for (int side = -1; side <= 1; side += 2) {
        float ex = m + side * 6.5f * u;
        draw_ellipse(c, ex, 16.5f * u, 3 * u, 3.4f * u, 0, P(Coat::flat, eye_green));
        draw_ellipse(c, ex, 16.5f * u, 0.9f * u, 2.6f * u, 0, Paint{Coat::flat, ink, ink, false});
        if (pixel_marks) {
            put_pixel(c, int(ex - 1.2f * u), int(15 * u), white);
            continue;
        }
        float r = stroke * glint_radius;
        draw_ellipse(c, ex - 1.2f * u + r, 15 * u + r, r, r, 0,
                     Paint{Coat::flat, white, white, false});
    }
    draw_triangle(c, m - 2.5f * u, 20 * u, m + 2.5f * u, 20 * u, m, 22.8f * u,
                  Paint{Coat::flat, pink, ink, true, stroke});
    return c;
}

// Cursor colours: entry 0 black, entry 1 white.
constexpr uint8_t cursor_black = 0, cursor_white = 1;

// Hands as outlines ('#'); whatever the outline encloses is white, the rest is clear.
const char* const open_hand_art[cursor_size] = {
    "................................",
    ".............###................",
    "............#...####............",
    ".........####...#...#...........",
    "........#...#...#...#...........",
    "........#...#...#...#...........",
    "........#...#...#...#.##........",
    "........#...#...#...##..#.......",
    "........#...#...#...#...#.......",
    "........#...#...#...#...#.......",
    "...###..#...#...#...#...#.......",
    "..#...#.#...#...#...#...#.......",
    "..#....##...............#.......",
    "...#....#...............#.......",
    "...#....................#.......",
    "....#...................#.......",
    ".....#..................#.......",
    "......#.................#.......",
    ".......#...............#........",
    ".......#...............#........",
    "........#..............#........",
    "........#.............#.........",
    ".........#............#.........",
    ".........#...........#..........",
    "..........#..........#..........",
    "..........############..........",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
};

const char* const grabbing_hand_art[cursor_size] = {
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    ".........###.###.###.###........",
    "........#...#...#...#...#.......",
    "........#...#...#...#...#.......",
    "......###...#...#...#...#.......",
    ".....#..#...#...#...#...#.......",
    ".....#...###.###.###.####.......",
    ".....#..................#.......",
    ".....#..................#.......",
    ".....#........#.........#.......",
    "......#######...........#.......",
    "......#.................#.......",
    ".......#................#.......",
    ".......#................#.......",
    "........#..............#........",
    "........#..............#........",
    ".........#............#.........",
    "..........############..........",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
};

IconImage cursor_from_art(const char* const* art) {
    const int n = cursor_size;
    IconImage cur;
    cur.image = IndexedImage{n, n, std::vector<uint8_t>(size_t(n) * n, cursor_white),
                             {{0, 0, 0}, {255, 255, 255}}};
    cur.transparent.assign(size_t(n) * n, 0);
    // Flood the outside in from the border, through everything that is not outline.
    std::vector<int> todo;
    auto reach = [&](int x, int y) {
        size_t i = size_t(y) * n + x;
        if (art[y][x] == '#' || cur.transparent[i]) return;
        cur.transparent[i] = 1;
        cur.image.pixels[i] = cursor_black;  // clear pixels carry colour 0
        todo.push_back(int(i));
    };
    for (int k = 0; k < n; ++k) reach(k, 0), reach(k, n - 1), reach(0, k), reach(n - 1, k);
    while (!todo.empty()) {
        int i = todo.back(), x = i % n, y = i / n;
        todo.pop_back();
        if (x > 0) reach(x - 1, y);
        if (x + 1 < n) reach(x + 1, y);
        if (y > 0) reach(x, y - 1);
        if (y + 1 < n) reach(x, y + 1);
    }
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            if (art[y][x] == '#') cur.image.pixels[size_t(y) * n + x] = cursor_black;
    return cur;
}

}  // namespace

std::vector<IconImage> draw_icon() {
    std::vector<IconImage> icons;
    for (int n : icon_sizes)
        icons.push_back(from_canvas(n == 16 ? face_small() : face_large(n, 1.0f)));
    return icons;
}

RgbaImage draw_large_icon(int n) {
    const int k = large_icon_oversample;
    Canvas big = face_large(n * k, n * k * large_icon_stroke);
    RgbaImage out{n, n, std::vector<uint8_t>(size_t(n) * n * 4, 0)};
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            // Colour is the mean of the painted samples, alpha their share of the pixel,
            // so edges blend into whatever the icon is shown over without a dark fringe.
            int r = 0, g = 0, b = 0, painted = 0;
            for (int j = 0; j < k; ++j)
                for (int i = 0; i < k; ++i) {
                    uint8_t p = get_pixel(big, x * k + i, y * k + j);
                    if (p == clear_pixel) continue;
                    r += cat_palette[p].r, g += cat_palette[p].g, b += cat_palette[p].b;
                    ++painted;
                }
            if (!painted) continue;
            uint8_t* px = &out.pixels[(size_t(y) * n + x) * 4];
            px[0] = uint8_t((r + painted / 2) / painted);
            px[1] = uint8_t((g + painted / 2) / painted);
            px[2] = uint8_t((b + painted / 2) / painted);
            px[3] = uint8_t((painted * 255 + k * k / 2) / (k * k));
        }
    return out;
}

IconImage draw_open_hand() { return cursor_from_art(open_hand_art); }

IconImage draw_grabbing_hand() { return cursor_from_art(grabbing_hand_art); }
