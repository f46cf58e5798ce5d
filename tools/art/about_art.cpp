// The About box's pictures, drawn from the cat's own images and our lettering.
#include "about_art.h"

#include <algorithm>
#include <cmath>

#include "cat.h"
#include "lettering.h"
#include "palette.h"

namespace {

// --- title ---------------------------------------------------------------------------

// Title colour table: 0 is the see-through black, 1..15 the cat's colours (without the
// key colour), then the lettering's own shades.
constexpr uint8_t logo_clear = 0;
constexpr uint8_t logo_cat_base = 1;
constexpr uint8_t logo_fill_first = 16;
constexpr int logo_fill_steps = 24;
constexpr uint8_t logo_highlight = logo_fill_first + logo_fill_steps;
constexpr uint8_t logo_shadow = logo_highlight + 1;
constexpr uint8_t logo_outline = logo_cat_base + ink;

constexpr int title_block = 7;
constexpr int title_gap = 1;
constexpr int title_outline = 2;
constexpr int title_shadow_offset = 3;
constexpr int logo_cat_max_scale = 3;
constexpr int logo_cat_image = 3;  // sitting, side view

std::vector<Rgb> logo_colours() {
    std::vector<Rgb> c(256, Rgb{0, 0, 0});
    for (int i = 0; i < key; ++i) c[logo_cat_base + i] = cat_palette[i];
    Rgb top{255, 222, 130}, bottom{214, 104, 38};
    for (int i = 0; i < logo_fill_steps; ++i) {
        float t = float(i) / (logo_fill_steps - 1);
        c[logo_fill_first + i] = Rgb{uint8_t(top.r + (bottom.r - top.r) * t),
                                     uint8_t(top.g + (bottom.g - top.g) * t),
                                     uint8_t(top.b + (bottom.b - top.b) * t)};
    }
    c[logo_highlight] = Rgb{255, 246, 220};
    c[logo_shadow] = Rgb{96, 58, 40};
    // Entries nothing uses stay distinct from the see-through black.
    for (int i = logo_shadow + 1; i < 256; ++i) c[i] = Rgb{128, 128, 128};
    return c;
}

bool inside(const Canvas& mask, int x, int y) { return get_pixel(mask, x, y) != clear_pixel; }

// Smallest box holding every painted pixel of a canvas.
void painted_box(const Canvas& c, int* left, int* top, int* right, int* bottom) {
    *left = c.width, *top = c.height, *right = -1, *bottom = -1;
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x)
            if (inside(c, x, y)) {
                *left = std::min(*left, x), *right = std::max(*right, x);
                *top = std::min(*top, y), *bottom = std::max(*bottom, y);
            }
}

// Every pixel within `reach` blocks of the letters (a square neighbourhood, rounded).
bool near_letters(const Canvas& letters, int x, int y, int reach) {
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx)
            if (dx * dx + dy * dy <= reach * reach + 1 && inside(letters, x + dx, y + dy))
                return true;
    return false;
}

}  // namespace

IndexedImage draw_logo() {
    IndexedImage logo{logo_width, logo_height, {}, logo_colours()};
    logo.pixels.assign(size_t(logo_width) * logo_height, logo_clear);
    auto put = [&](int x, int y, uint8_t c) {
        if (x >= 0 && y >= 0 && x < logo_width && y < logo_height)
            logo.pixels[size_t(y) * logo_width + x] = c;
    };

    Canvas letters = draw_lettering("Tuvo", title_block, title_gap);
    Canvas cat = draw_cat_image(logo_cat_image);
    int cl, ct, cr, cb;
    painted_box(cat, &cl, &ct, &cr, &cb);
    // The largest whole-pixel scale at which title and cat fit side by side.
    const int gap = 8, margin = 6;
    int scale = logo_cat_max_scale;
    while (scale > 1 && (letters.width + gap + (cr - cl + 1) * scale > logo_width - 2 * margin ||
                         (cb - ct + 1) * scale > logo_height - 2 * margin))
        --scale;
    int cat_w = (cr - cl + 1) * scale, cat_h = (cb - ct + 1) * scale;

    // Title and cat side by side, centred, standing on one baseline.
    int total = letters.width + gap + cat_w;
    int left = (logo_width - total) / 2;
    int baseline = std::max((logo_height + letters.height) / 2 + 4, cat_h + margin);
    int top = baseline - letters.height;

    // Shadow, outline, then the fill shaded from top to bottom with a light upper rim.
    int pad = title_outline + title_shadow_offset;
    for (int y = -pad; y < letters.height + pad; ++y)
        for (int x = -pad; x < letters.width + pad; ++x) {
            int sx = x - title_shadow_offset, sy = y - title_shadow_offset;
            if (near_letters(letters, sx, sy, title_outline)) put(left + x, top + y, logo_shadow);
        }
    for (int y = -pad; y < letters.height + pad; ++y)
        for (int x = -pad; x < letters.width + pad; ++x)
            if (near_letters(letters, x, y, title_outline)) put(left + x, top + y, logo_outline);
    for (int y = 0; y < letters.height; ++y)
        for (int x = 0; x < letters.width; ++x) {
            if (!inside(letters, x, y)) continue;
            int step = y * logo_fill_steps / letters.height;
            uint8_t c = uint8_t(logo_fill_first + step);
            if (!inside(letters, x, y - 2) || !inside(letters, x - 2, y)) c = logo_highlight;
            put(left + x, top + y, c);
        }

    // The cat, scaled up by whole pixels, paws on the baseline.
    int cat_left = left + letters.width + gap, cat_top = baseline - cat_h;
    for (int y = ct; y <= cb; ++y)
        for (int x = cl; x <= cr; ++x) {
            uint8_t p = get_pixel(cat, x, y);
            if (p == clear_pixel) continue;
            for (int j = 0; j < scale; ++j)
                for (int i = 0; i < scale; ++i)
                    put(cat_left + (x - cl) * scale + i, cat_top + (y - ct) * scale + j,
                        uint8_t(logo_cat_base + p));
        }
    return logo;
}

// --- panel and tile ------------------------------------------------------------------

namespace {

// The panel's colours: a strip of film down either side of a small meadow under a sky.
enum : uint8_t {
    film = 0, film_hole = 1, sky_top = 2, sky_mid = 3, sky_low = 4, cloud = 5,
    hill_far = 6, hill_near = 7, grass = 8, grass_dark = 9, sun = 10, sun_rim = 11,
    path = 12, flower = 13, film_edge = 14, path_dark = 15,
};

const std::vector<Rgb> scene_colours = {
    {38, 32, 42},    {238, 228, 204}, {132, 184, 232}, {166, 206, 240},
    {204, 228, 246}, {252, 252, 248}, {160, 202, 150}, {116, 176, 100},
    {92, 156, 74},   {66, 124, 58},   {255, 232, 132}, {250, 194, 92},
    {222, 192, 140}, {236, 132, 150}, {74, 66, 80},    {190, 158, 110},
};

// Film runs from the panel's edge to one pixel past the strip's tiles.
constexpr int film_inner = 1;

}  // namespace

IndexedImage draw_panel() {
    Canvas c = make_canvas(panel_width, panel_height, sky_top);
    int scene_left = panel_strip_left + tile_width + film_inner;
    int scene_right = panel_strip_right - film_inner;  // first column of the right film
    // Sky: three bands, dithered where they meet.
    for (int y = 0; y < panel_height; ++y)
        for (int x = 0; x < panel_width; ++x) {
            int band = y < 14 ? sky_top : y < 28 ? sky_mid : sky_low;
            if ((y == 13 || y == 27) && (x + y) % 2) band = y == 13 ? sky_mid : sky_low;
            put_pixel(c, x, y, uint8_t(band));
        }
    // Sun and a cloud, up where the cat's head does not reach.
    draw_ellipse(c, 54.5f, 10.5f, 5.0f, 5.0f, 0, Paint{Coat::flat, sun, sun_rim, true});
    draw_ellipse(c, 22.0f, 12.0f, 6.0f, 3.0f, 0, Paint{Coat::flat, cloud, sky_low, false});
    draw_ellipse(c, 27.0f, 10.0f, 4.5f, 3.0f, 0, Paint{Coat::flat, cloud, sky_low, false});
    draw_ellipse(c, 31.0f, 12.5f, 4.0f, 2.5f, 0, Paint{Coat::flat, cloud, sky_low, false});
    // Two rows of rolling hills, then the meadow with a sandy path the cat stands on.
    for (int x = 0; x < panel_width; ++x) {
        int far_top = 38 + int(std::lround(3.0 * std::sin(x * 0.11 + 0.6)));
        int near_top = 45 + int(std::lround(2.5 * std::sin(x * 0.17 + 2.0)));
        for (int y = far_top; y < panel_height; ++y) put_pixel(c, x, y, hill_far);
        for (int y = near_top; y < panel_height; ++y) put_pixel(c, x, y, hill_near);
        for (int y = 51; y < panel_height; ++y) put_pixel(c, x, y, grass);
        for (int y = 55; y < 62; ++y) put_pixel(c, x, y, path);
        put_pixel(c, x, 55, (x % 3) ? path : grass);
        put_pixel(c, x, 61, (x % 4) ? path_dark : path);
        if (x % 5 == 1) put_pixel(c, x, 50, grass);
        if (x % 7 == 3) put_pixel(c, x, 64 + x % 3, grass_dark);
    }
    const int flowers[][2] = {{15, 66}, {29, 52}, {44, 67}, {58, 53}, {62, 65}};
    for (const auto& f : flowers) {
        put_pixel(c, f[0], f[1], flower);
        put_pixel(c, f[0], f[1] + 1, grass_dark);
    }
    // Film down both sides; the strips' tiles scroll over it.
    for (int y = 0; y < panel_height; ++y)
        for (int x = 0; x < panel_width; ++x) {
            bool left_film = x < scene_left, right_film = x >= scene_right;
            if (!left_film && !right_film) continue;
            bool edge = x == 0 || x == panel_width - 1 || x == scene_left - 1 || x == scene_right;
            put_pixel(c, x, y, edge ? film_edge : film);
        }
    return IndexedImage{c.width, c.height, c.pixels, scene_colours};
}

IndexedImage draw_tile() {
    // One sprocket hole with rounded corners; both side columns are film, so the tile
    // joins the film seamlessly on either side.
    static const char* rows[tile_height] = {"       ", " ,###, ", " ##### ", " ,###, ", "       "};
    IndexedImage tile{tile_width, tile_height, {}, scene_colours};
    for (int y = 0; y < tile_height; ++y)
        for (int x = 0; x < tile_width; ++x) {
            char ch = rows[y][x];
            tile.pixels.push_back(ch == '#' ? film_hole : ch == ',' ? film_edge : film);
        }
    return tile;
}

// --- portrait ------------------------------------------------------------------------

namespace {

constexpr int portrait_supersample = 2;

// The cat sitting and facing the viewer, drawn with the same shapes and colours as the
// sprites, at twice the portrait's size.
Canvas draw_portrait_cat() {
    const float s = portrait_supersample;
    Canvas c = make_canvas(portrait_width * portrait_supersample,
                           portrait_height * portrait_supersample);
    auto P = [&](Coat coat, uint8_t colour) { return Paint{coat, colour, ink, true}; };
    // Tail curling round the front paws.
    draw_curve(c, 92 * s, 128 * s, 112 * s, 146 * s, 70 * s, 145 * s, 6 * s, 5 * s,
               P(Coat::tabby, coat));
    // Body and haunches, with tabby stripes curving round the flanks.
    draw_ellipse(c, 62 * s, 110 * s, 36 * s, 35 * s, 0, P(Coat::flat, coat));
    for (int side = -1; side <= 1; side += 2)
        for (int k = 0; k < 4; ++k) {
            // From just inside the body's outline toward the chest.
            float y = 90 + k * 10, dy = (y - 110) / 35;
            float edge = 36 * std::sqrt(1 - dy * dy) - 1.5f;
            draw_curve(c, (62 + side * edge) * s, y * s, (62 + side * (edge - 5)) * s,
                       (y + 4) * s, (62 + side * (edge - 11)) * s, (y + 2) * s, 1.8f * s,
                       0.5f * s, Paint{Coat::flat, coat_dark, coat_dark, false});
        }
    draw_ellipse(c, 62 * s, 104 * s, 17 * s, 24 * s, 0, P(Coat::flat, cream));
    // Front legs and paws.
    for (int side = -1; side <= 1; side += 2) {
        float x = 62 + side * 11;
        draw_capsule(c, x * s, 108 * s, x * s, 138 * s, 7 * s, 6.5f * s, P(Coat::flat, cream));
        draw_ellipse(c, x * s, 141 * s, 8.5f * s, 5.5f * s, 0, P(Coat::flat, cream));
        draw_line(c, int((x - 2) * s), int(139 * s), int((x - 2) * s), int(145 * s), ink);
        draw_line(c, int((x + 2) * s), int(139 * s), int((x + 2) * s), int(145 * s), ink);
    }
    // Ears, with pink insides.
    for (int side = -1; side <= 1; side += 2) {
        float ox = 62 + side * 20;
        draw_triangle(c, (ox - side * 10) * s, 40 * s, (ox + side * 6) * s, 8 * s,
                      (ox + side * 11) * s, 44 * s, P(Coat::flat, coat));
        draw_triangle(c, (ox - side * 4) * s, 38 * s, (ox + side * 5) * s, 17 * s,
                      (ox + side * 8) * s, 40 * s, Paint{Coat::flat, pink, shadow, true});
    }
    // Head with tabby stripes on the brow.
    draw_ellipse(c, 62 * s, 56 * s, 33 * s, 27 * s, 0, P(Coat::flat, coat));
    for (int i = -1; i <= 1; ++i)
        draw_capsule(c, (62 + i * 7) * s, 31 * s, (62 + i * 5) * s, 42 * s, 1.6f * s, 0.8f * s,
                     Paint{Coat::flat, coat_dark, coat_dark, false});
    for (int side = -1; side <= 1; side += 2) {
        draw_capsule(c, (62 + side * 33) * s, 52 * s, (62 + side * 24) * s, 55 * s, 1.4f * s,
                     0.8f * s, Paint{Coat::flat, coat_dark, coat_dark, false});
        draw_capsule(c, (62 + side * 32) * s, 60 * s, (62 + side * 24) * s, 61 * s, 1.4f * s,
                     0.8f * s, Paint{Coat::flat, coat_dark, coat_dark, false});
    }
    // Muzzle, eyes, nose, mouth.
    draw_ellipse(c, 55 * s, 69 * s, 9 * s, 7 * s, 0, P(Coat::flat, cream));
    draw_ellipse(c, 69 * s, 69 * s, 9 * s, 7 * s, 0, P(Coat::flat, cream));
    draw_ellipse(c, 62 * s, 76 * s, 6 * s, 3 * s, 0, Paint{Coat::flat, cream, cream, false});
    for (int side = -1; side <= 1; side += 2) {
        float ex = 62 + side * 14;
        draw_ellipse(c, ex * s, 53 * s, 6.5f * s, 7 * s, 0, P(Coat::flat, eye_green));
        draw_ellipse(c, ex * s, 53.5f * s, 2.2f * s, 5.5f * s, 0, Paint{Coat::flat, ink, ink, false});
        draw_ellipse(c, (ex - 2) * s, 50 * s, 1.4f * s, 1.4f * s, 0,
                     Paint{Coat::flat, white, white, false});
    }
    draw_triangle(c, 57 * s, 62 * s, 67 * s, 62 * s, 62 * s, 67.5f * s,
                  Paint{Coat::flat, pink, ink, true});
    draw_curve(c, 62 * s, 68 * s, 59 * s, 74 * s, 54 * s, 71 * s, 0.6f * s, 0.5f * s,
               Paint{Coat::flat, ink, ink, false});
    draw_curve(c, 62 * s, 68 * s, 65 * s, 74 * s, 70 * s, 71 * s, 0.6f * s, 0.5f * s,
               Paint{Coat::flat, ink, ink, false});
    // Whiskers.
    for (int side = -1; side <= 1; side += 2)
        for (int k = 0; k < 3; ++k)
            draw_line(c, int((62 + side * 14) * s), int((68 + k * 2) * s),
                      int((62 + side * 40) * s), int((63 + k * 6) * s), white);
    return c;
}

// Per-pixel height from the distance to the cat's edge (a chamfer transform), used to
// light the picture from the upper left.
std::vector<float> edge_distance(const Canvas& c) {
    const float big = 1e6f;
    std::vector<float> d(c.pixels.size());
    for (size_t i = 0; i < d.size(); ++i) d[i] = c.pixels[i] == clear_pixel ? 0 : big;
    auto at = [&](int x, int y) -> float& { return d[size_t(y) * c.width + x]; };
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) {
            float& v = at(x, y);
            if (v == 0) continue;
            if (x == 0 || y == 0) { v = 1; continue; }
            v = std::min({v, at(x - 1, y) + 1, at(x, y - 1) + 1, at(x - 1, y - 1) + 1.414f,
                          x + 1 < c.width ? at(x + 1, y - 1) + 1.414f : big});
        }
    for (int y = c.height - 1; y >= 0; --y)
        for (int x = c.width - 1; x >= 0; --x) {
            float& v = at(x, y);
            if (v == 0) continue;
            if (x == c.width - 1 || y == c.height - 1) { v = 1; continue; }
            v = std::min({v, at(x + 1, y) + 1, at(x, y + 1) + 1, at(x + 1, y + 1) + 1.414f,
                          x > 0 ? at(x - 1, y + 1) + 1.414f : big});
        }
    return d;
}

}  // namespace

RgbImage draw_portrait() {
    Canvas cat = draw_portrait_cat();
    std::vector<float> dist = edge_distance(cat);
    const float rounding = 26.0f;  // how far in from the edge the fur is fully lit
    int W = cat.width, H = cat.height;
    auto height_at = [&](int x, int y) {
        x = std::clamp(x, 0, W - 1), y = std::clamp(y, 0, H - 1);
        float t = std::min(dist[size_t(y) * W + x] / rounding, 1.0f);
        return std::sqrt(1.0f - (1.0f - t) * (1.0f - t)) * rounding;
    };
    std::vector<float> r(size_t(W) * H), g(r.size()), b(r.size());
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            size_t i = size_t(y) * W + x;
            uint8_t p = cat.pixels[i];
            float fr, fg, fb;
            if (p == clear_pixel) {
                // Warm backdrop, lighter behind the head, darker toward the corners.
                float dx = (x - W * 0.5f) / W, dy = (y - H * 0.38f) / H;
                float glow = std::clamp(1.0f - 1.6f * std::sqrt(dx * dx + dy * dy), 0.0f, 1.0f);
                fr = 176 + 70 * glow, fg = 200 + 46 * glow, fb = 214 + 30 * glow;
                if (y > H * 0.93f) fr *= 0.9f, fg *= 0.9f, fb *= 0.9f;  // the floor
                // A soft shadow on the floor under the cat.
                float sx = (x - W * 0.5f) / (W * 0.4f), sy = (y - H * 0.965f) / (H * 0.035f);
                float shade = std::clamp(sx * sx + sy * sy, 0.0f, 1.0f);
                float dim = 0.72f + 0.28f * shade;
                fr *= dim, fg *= dim, fb *= dim;
            } else {
                Rgb c = cat_palette[p];
                float light = 1.0f;
                if (p != ink && p != white) {
                    float nx = height_at(x - 2, y) - height_at(x + 2, y);
                    float ny = height_at(x, y - 2) - height_at(x, y + 2);
                    float nz = 4.0f;
                    float len = std::sqrt(nx * nx + ny * ny + nz * nz);
                    // Light from the upper left and a little toward the viewer.
                    float lit = (-nx * 0.55f - ny * 0.55f + nz * 0.63f) / len;
                    light = 0.55f + 0.55f * std::max(lit, 0.0f);
                }
                fr = c.r * light, fg = c.g * light, fb = c.b * light;
            }
            r[i] = fr, g[i] = fg, b[i] = fb;
        }
    // Average each 2 x 2 block: smooth edges at the portrait's size.
    RgbImage out{portrait_width, portrait_height, {}};
    const int s = portrait_supersample;
    for (int y = 0; y < portrait_height; ++y)
        for (int x = 0; x < portrait_width; ++x) {
            float sr = 0, sg = 0, sb = 0;
            for (int j = 0; j < s; ++j)
                for (int k = 0; k < s; ++k) {
                    size_t i = size_t(y * s + j) * W + x * s + k;
                    sr += r[i], sg += g[i], sb += b[i];
                }
            auto q = [&](float v) { return uint8_t(std::clamp(v / (s * s) + 0.5f, 0.0f, 255.0f)); };
            out.pixels.push_back(Rgb{q(sr), q(sg), q(sb)});
        }
    return out;
}
