// Palette-indexed drawing surface and the few outlined shapes the cat is made of.
// Every shape is filled where its distance estimate is <= 0 and outlined where it is
// <= 1, so shapes drawn later sit on top of earlier ones with a dark seam between them
// and no colour is ever blended into the background.
#pragma once

#include <cstdint>
#include <vector>

constexpr uint8_t clear_pixel = 255;  // no paint yet: becomes the key colour on the sheet

struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // row-major, top row first
};

Canvas make_canvas(int width, int height, uint8_t fill = clear_pixel);
uint8_t get_pixel(const Canvas& canvas, int x, int y);
void put_pixel(Canvas& canvas, int x, int y, uint8_t colour);
void fill_rect(Canvas& canvas, int x, int y, int w, int h, uint8_t colour);
// Copies src into dst at (x, y); clear pixels of src leave dst untouched.
void blit(Canvas& dst, const Canvas& src, int x, int y);
Canvas mirrored(const Canvas& canvas);

// How a shape paints its inside: a flat colour, or a coat pattern that depends on the
// point's position in the shape's own frame (u along, v across, both -1..1).
enum class Coat : uint8_t { flat, tabby, tabby_belly, tabby_chest, shade };

struct Paint {
    Coat coat = Coat::flat;
    uint8_t colour = 0;     // flat colour, or the base colour of a coat
    uint8_t outline = 0;    // outline colour
    bool outlined = true;
    float outline_width = 1.0f;  // in pixels; only pictures drawn far larger than the cat widen it
};

// Rotated ellipse centred at (cx, cy), radii rx, ry, angle in degrees (clockwise on
// screen, since y grows downwards).
void draw_ellipse(Canvas& canvas, float cx, float cy, float rx, float ry, float angle,
                  const Paint& paint);
// Segment from (x0, y0) to (x1, y1) whose radius goes from r0 to r1: legs, tails, arms.
void draw_capsule(Canvas& canvas, float x0, float y0, float x1, float y1, float r0, float r1,
                  const Paint& paint);
// Quadratic curve through (x0, y0), bending toward (xc, yc), ending at (x1, y1).
void draw_curve(Canvas& canvas, float x0, float y0, float xc, float yc, float x1, float y1,
                float r0, float r1, const Paint& paint);
void draw_triangle(Canvas& canvas, float ax, float ay, float bx, float by, float cx, float cy,
                   const Paint& paint);
// One-pixel line without outline, for small marks and facial details.
void draw_line(Canvas& canvas, int x0, int y0, int x1, int y1, uint8_t colour);
