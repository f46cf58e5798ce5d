// Pictures of the dialogs in memory: takes the embedded artwork, the About animation's
// frame and the pet's scale, and returns RGB or RGBA buffers ready to be copied in one piece.
#include <cmath>
#include <vector>

#include "about_state.h"
#include "ui.h"

namespace {

ArtRgb colour_at(const ArtIndexedPicture& picture, int32_t x, int32_t y) {
    return picture.colours[picture.pixels[y * picture.width + x]];
}

// One tile of a strip at row y of the panel, cut at the panel's top and bottom edges.
void place_tile(const ArtIndexedPicture& tile, int32_t x, int32_t y, int32_t width, int32_t height,
                ArtRgb* canvas) {
    const TileCut cut = cut_tile(y, tile.height, height);
    for (int32_t row = 0; row < cut.height; ++row)
        for (int32_t column = 0; column < tile.width && x + column < width; ++column)
            canvas[(cut.target_y + row) * width + x + column] = colour_at(tile, column, cut.source_y + row);
}

// The cat frame over the canvas: every pixel but the key colour's, mirrored left to
// right for a negative frame, as the pet shows it.
void blend_cat(const PanelArt& art, FrameRef frame, int32_t width, int32_t height, ArtRgb* canvas) {
    const int32_t image = (frame < 0 ? -frame : frame) - 1;
    const int32_t left = image % art.columns * art.cell, top = image / art.columns * art.cell;
    for (int32_t y = 0; y < art.cell && about_cat_top + y < height; ++y) {
        for (int32_t x = 0; x < art.cell && about_cat_left + x < width; ++x) {
            const int32_t source_x = left + (frame < 0 ? art.cell - 1 - x : x);
            const uint8_t index = art.sprites->pixels[(top + y) * art.sprites->width + source_x];
            if (index == art.key) continue;
            canvas[(about_cat_top + y) * width + about_cat_left + x] = art.sprites->colours[index];
        }
    }
}

void put_block(ArtRgb colour, int32_t x, int32_t y, int32_t scale, int32_t row_pixels, uint8_t* rgb) {
    for (int32_t dy = 0; dy < scale; ++dy) {
        uint8_t* out = rgb + (static_cast<size_t>(y * scale + dy) * row_pixels + x * scale) * 3;
        for (int32_t dx = 0; dx < scale; ++dx, out += 3) {
            out[0] = colour.r;
            out[1] = colour.g;
            out[2] = colour.b;
        }
    }
}

}  // namespace

void compose_about_panel(const PanelArt& art, FrameRef frame, int32_t offset, int32_t scale, uint8_t* rgb) {
    const int32_t width = art.panel->width, height = art.panel->height;
    std::vector<ArtRgb> canvas(static_cast<size_t>(width) * height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) canvas[y * width + x] = colour_at(*art.panel, x, y);
    for (int32_t y = offset - about_strip_spacing; y < height; y += about_strip_spacing) {
        place_tile(*art.tile, about_strip_left, y, width, height, canvas.data());
        place_tile(*art.tile, about_strip_right, y, width, height, canvas.data());
    }
    blend_cat(art, frame, width, height, canvas.data());
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) put_block(canvas[y * width + x], x, y, scale, width * scale, rgb);
}

void enlarge_indexed(const ArtIndexedPicture& picture, int32_t scale, int32_t clear, uint8_t* rgba) {
    const int32_t row_pixels = picture.width * scale;
    for (int32_t y = 0; y < picture.height * scale; ++y) {
        for (int32_t x = 0; x < row_pixels; ++x) {
            const uint8_t index = picture.pixels[(y / scale) * picture.width + x / scale];
            const ArtRgb colour = picture.colours[index];
            uint8_t* out = rgba + (static_cast<size_t>(y) * row_pixels + x) * 4;
            out[0] = colour.r;
            out[1] = colour.g;
            out[2] = colour.b;
            out[3] = index == clear ? 0 : 255;
        }
    }
}

void enlarge_rgb(const ArtRgbPicture& picture, int32_t scale, uint8_t* rgb) {
    for (int32_t y = 0; y < picture.height; ++y)
        for (int32_t x = 0; x < picture.width; ++x)
            put_block(picture.pixels[y * picture.width + x], x, y, scale, picture.width * scale, rgb);
}

// --- message box icons ------------------------------------------------------------------

namespace {

constexpr int32_t icon_samples = 4;  // per pixel across and down, for smooth edges

struct Rgba {
    double r, g, b, a;
};

constexpr Rgba clear_ink = {0, 0, 0, 0};
constexpr Rgba error_red = {200, 30, 30, 1};
constexpr Rgba warning_yellow = {250, 200, 30, 1};
constexpr Rgba warning_edge = {130, 90, 0, 1};
constexpr Rgba white_ink = {255, 255, 255, 1};
constexpr Rgba black_ink = {0, 0, 0, 1};

bool in_circle(double u, double v, double cu, double cv, double radius) {
    return (u - cu) * (u - cu) + (v - cv) * (v - cv) <= radius * radius;
}

// The error icon at (u, v) of the unit square: a white cross, turned 45 degrees, on a disc.
Rgba error_ink(double u, double v) {
    if (!in_circle(u, v, 0.5, 0.5, 0.48)) return clear_ink;
    const double a = (u - 0.5 + v - 0.5) / std::sqrt(2.0), b = (u - 0.5 - (v - 0.5)) / std::sqrt(2.0);
    const double half_bar = 0.065, arm = 0.25;
    const bool cross = (std::fabs(a) < half_bar && std::fabs(b) < arm) || (std::fabs(b) < half_bar && std::fabs(a) < arm);
    return cross ? white_ink : error_red;
}

// Distance from (u, v) to the line through p and q, positive on the triangle's inner side.
double edge_distance(double u, double v, double pu, double pv, double qu, double qv) {
    const double du = qu - pu, dv = qv - pv;
    return ((v - pv) * du - (u - pu) * dv) / std::sqrt(du * du + dv * dv);
}

// The warning icon: a yellow triangle with a dark rim and a black exclamation mark.
Rgba warning_ink(double u, double v) {
    const double top_u = 0.5, top_v = 0.04, left_u = 0.02, right_u = 0.98, base_v = 0.94;
    const double d1 = edge_distance(u, v, top_u, top_v, right_u, base_v);
    const double d2 = edge_distance(u, v, right_u, base_v, left_u, base_v);
    const double d3 = edge_distance(u, v, left_u, base_v, top_u, top_v);
    if (d1 < 0 || d2 < 0 || d3 < 0) return clear_ink;
    if (d1 < 0.04 || d2 < 0.04 || d3 < 0.04) return warning_edge;
    const bool bar = v > 0.32 && v < 0.68 && std::fabs(u - 0.5) < 0.06 - (v - 0.32) * 0.05;
    const bool dot = in_circle(u, v, 0.5, 0.8, 0.06);
    return bar || dot ? black_ink : warning_yellow;
}

}  // namespace

void draw_box_icon(BoxIcon icon, int32_t size, uint8_t* rgba) {
    const int32_t samples = icon_samples * icon_samples;
    for (int32_t y = 0; y < size; ++y) {
        for (int32_t x = 0; x < size; ++x) {
            Rgba sum = {0, 0, 0, 0};
            for (int32_t i = 0; i < samples; ++i) {
                const double u = (x + (i % icon_samples + 0.5) / icon_samples) / size;
                const double v = (y + (i / icon_samples + 0.5) / icon_samples) / size;
                const Rgba ink = icon == box_error ? error_ink(u, v) : warning_ink(u, v);
                sum = {sum.r + ink.r * ink.a, sum.g + ink.g * ink.a, sum.b + ink.b * ink.a, sum.a + ink.a};
            }
            uint8_t* out = rgba + (static_cast<size_t>(y) * size + x) * 4;
            // Colours are averaged over the covered samples only, so edges do not darken.
            const double covered = sum.a > 0 ? sum.a : 1;
            out[0] = static_cast<uint8_t>(std::lround(sum.r / covered));
            out[1] = static_cast<uint8_t>(std::lround(sum.g / covered));
            out[2] = static_cast<uint8_t>(std::lround(sum.b / covered));
            out[3] = static_cast<uint8_t>(std::lround(255.0 * sum.a / samples));
        }
    }
}
