// The icon and the cursors. The icon is the cat's face, drawn by hand at 16 x 16, where
// every pixel counts, and from shapes at the larger sizes. The cursors are outlined
// white hands, built as outlines first and fills second so that overlapping shapes
// merge into one silhouette.
#include "icons.h"

#include "palette.h"
#include "raster.h"

namespace {

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

// The face from shapes on a square of side n (32 or 48).
Canvas face_large(int n) {
    Canvas c = make_canvas(n, n);
    float u = n / 32.0f, m = n * 0.5f;
    auto P = [](Coat coat, uint8_t colour) { return Paint{coat, colour, ink, true}; };
    for (int side = -1; side <= 1; side += 2) {
        draw_triangle(c, m + side * 14.5f * u, 13 * u, m + side * 12.5f * u, 1.5f * u,
                      m + side * 4 * u, 8 * u, P(Coat::flat, coat));
        draw_triangle(c, m + side * 12.5f * u, 11 * u, m + side * 11.5f * u, 4.5f * u,
                      m + side * 7 * u, 8.5f * u, Paint{Coat::flat, pink, shadow, false});
    }
    draw_ellipse(c, m, 18 * u, 14.5f * u, 11.5f * u, 0, P(Coat::flat, coat));
    for (int i = -1; i <= 1; ++i)
        draw_line(c, int(m + i * 3 * u), int(8 * u), int(m + i * 2.4f * u), int(11.5f * u),
                  coat_dark);
    draw_ellipse(c, m - 4 * u, 23 * u, 5 * u, 4 * u, 0, P(Coat::flat, cream));
    draw_ellipse(c, m + 4 * u, 23 * u, 5 * u, 4 * u, 0, P(Coat::flat, cream));
    for (int side = -1; side <= 1; side += 2) {
        float ex = m + side * 6.5f * u;
        draw_ellipse(c, ex, 16.5f * u, 3 * u, 3.4f * u, 0, P(Coat::flat, eye_green));
        draw_ellipse(c, ex, 16.5f * u, 0.9f * u, 2.6f * u, 0, Paint{Coat::flat, ink, ink, false});
        put_pixel(c, int(ex - 1.2f * u), int(15 * u), white);
    }
    draw_triangle(c, m - 2.5f * u, 20 * u, m + 2.5f * u, 20 * u, m, 22.8f * u,
                  Paint{Coat::flat, pink, ink, true});
    return c;
}

// Cursor colours: entry 0 black, entry 1 white.
constexpr uint8_t cursor_black = 0, cursor_white = 1;

// Outlined union of shapes: every shape's outline ring first, then every fill.
struct HandShape {
    bool capsule;
    float x0, y0, x1, y1, r0, r1;
};

Canvas draw_hand(const std::vector<HandShape>& shapes) {
    Canvas c = make_canvas(cursor_size, cursor_size);
    Paint outline{Coat::flat, cursor_black, cursor_black, false};
    Paint fill{Coat::flat, cursor_white, cursor_white, false};
    for (int pass = 0; pass < 2; ++pass)
        for (const HandShape& s : shapes) {
            float grow = pass == 0 ? 1.0f : 0.0f;
            const Paint& p = pass == 0 ? outline : fill;
            if (s.capsule)
                draw_capsule(c, s.x0, s.y0, s.x1, s.y1, s.r0 + grow, s.r1 + grow, p);
            else
                draw_ellipse(c, s.x0, s.y0, s.r0 + grow, s.r1 + grow, s.x1, p);
        }
    return c;
}

IconImage cursor_from(const Canvas& c) {
    IconImage cur;
    cur.image = IndexedImage{c.width, c.height, {}, {{0, 0, 0}, {255, 255, 255}}};
    for (uint8_t p : c.pixels) {
        cur.image.pixels.push_back(p == cursor_white ? cursor_white : cursor_black);
        cur.transparent.push_back(p == clear_pixel ? 1 : 0);
    }
    return cur;
}

}  // namespace

std::vector<IconImage> draw_icon() {
    std::vector<IconImage> icons;
    for (int n : icon_sizes) icons.push_back(from_canvas(n == 16 ? face_small() : face_large(n)));
    return icons;
}

IconImage draw_open_hand() {
    // Palm centred a little below the hot spot, four spread fingers and the thumb.
    std::vector<HandShape> shapes = {
        {false, 15.5f, 18.0f, 0, 0, 7.5f, 7.0f},
        {true, 10.0f, 15.0f, 8.0f, 5.0f, 2.0f, 1.8f},
        {true, 13.5f, 13.0f, 13.0f, 2.5f, 2.0f, 1.8f},
        {true, 17.5f, 13.0f, 18.0f, 3.0f, 2.0f, 1.8f},
        {true, 21.0f, 15.0f, 22.5f, 7.0f, 1.9f, 1.6f},
        {true, 9.0f, 20.0f, 3.5f, 14.0f, 2.3f, 1.8f},
        {true, 13.0f, 24.0f, 18.0f, 24.5f, 4.0f, 4.0f},
    };
    Canvas c = draw_hand(shapes);
    // Creases between the fingers, down to the knuckles.
    draw_line(c, 11, 11, 12, 6, cursor_black);
    draw_line(c, 15, 10, 15, 4, cursor_black);
    draw_line(c, 19, 11, 20, 6, cursor_black);
    return cursor_from(c);
}

IconImage draw_grabbing_hand() {
    // Fingers curled into the palm: a row of knuckles over a closed fist, the thumb
    // folded across the front.
    std::vector<HandShape> shapes = {
        {false, 15.5f, 18.0f, 0, 0, 8.0f, 6.5f},
        {false, 9.5f, 12.5f, 0, 0, 2.4f, 2.6f},
        {false, 13.5f, 11.5f, 0, 0, 2.4f, 2.8f},
        {false, 17.5f, 11.5f, 0, 0, 2.4f, 2.8f},
        {false, 21.3f, 12.5f, 0, 0, 2.3f, 2.6f},
        {true, 13.0f, 23.5f, 18.0f, 24.0f, 4.0f, 4.0f},
    };
    Canvas c = draw_hand(shapes);
    draw_line(c, 11, 12, 11, 15, cursor_black);
    draw_line(c, 15, 11, 15, 15, cursor_black);
    draw_line(c, 19, 11, 19, 15, cursor_black);
    // The thumb tucked in across the lower palm.
    draw_line(c, 8, 19, 14, 20, cursor_black);
    draw_line(c, 14, 20, 16, 18, cursor_black);
    return cursor_from(c);
}
