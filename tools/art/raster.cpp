// Outlined shapes sampled at pixel centres; see raster.h.
#include "raster.h"

#include <algorithm>
#include <cmath>

#include "palette.h"

namespace {

constexpr float pi = 3.14159265f;

// Colour of a point inside a shape, by the shape's coat. u runs along the shape in pixels
// from its start or centre; v runs across it from -1 (top edge) to 1 (bottom edge).
uint8_t coat_colour(const Paint& paint, float u, float v) {
    bool stripe = std::fmod(u + 1000.0f, 5.0f) < 1.6f;
    switch (paint.coat) {
    case Coat::flat:
        return paint.colour;
    case Coat::tabby:
        return stripe && v < 0.5f ? uint8_t(coat_dark) : paint.colour;
    case Coat::tabby_belly:
        if (v > 0.42f) return cream;
        return stripe && v < 0.1f ? uint8_t(coat_dark) : paint.colour;
    case Coat::tabby_chest:
        if (std::fabs(u) < 0.4f * 10.0f && v > -0.25f) return cream;
        return paint.colour;
    case Coat::shade:
        return v > 0.45f ? uint8_t(coat_dark) : paint.colour;
    }
    return paint.colour;
}

void plot(Canvas& canvas, int x, int y, float d, const Paint& paint, float u, float v) {
    if (d <= 0.0f)
        put_pixel(canvas, x, y, coat_colour(paint, u, v));
    else if (paint.outlined && d <= paint.outline_width)
        put_pixel(canvas, x, y, paint.outline);
}

}  // namespace

Canvas make_canvas(int width, int height, uint8_t fill) {
    Canvas c;
    c.width = width;
    c.height = height;
    c.pixels.assign(size_t(width) * height, fill);
    return c;
}

uint8_t get_pixel(const Canvas& canvas, int x, int y) {
    if (x < 0 || y < 0 || x >= canvas.width || y >= canvas.height) return clear_pixel;
    return canvas.pixels[size_t(y) * canvas.width + x];
}

void put_pixel(Canvas& canvas, int x, int y, uint8_t colour) {
    if (x < 0 || y < 0 || x >= canvas.width || y >= canvas.height) return;
    canvas.pixels[size_t(y) * canvas.width + x] = colour;
}

void fill_rect(Canvas& canvas, int x, int y, int w, int h, uint8_t colour) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) put_pixel(canvas, i, j, colour);
}

void blit(Canvas& dst, const Canvas& src, int x, int y) {
    for (int j = 0; j < src.height; ++j)
        for (int i = 0; i < src.width; ++i) {
            uint8_t p = get_pixel(src, i, j);
            if (p != clear_pixel) put_pixel(dst, x + i, y + j, p);
        }
}

Canvas mirrored(const Canvas& canvas) {
    Canvas m = canvas;
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x)
            m.pixels[size_t(y) * canvas.width + x] = get_pixel(canvas, canvas.width - 1 - x, y);
    return m;
}

void draw_ellipse(Canvas& canvas, float cx, float cy, float rx, float ry, float angle,
                  const Paint& paint) {
    float a = angle * pi / 180.0f, c = std::cos(a), s = std::sin(a);
    int reach = int(std::max(rx, ry) + 2.0f + paint.outline_width);
    for (int y = int(cy) - reach; y <= int(cy) + reach; ++y)
        for (int x = int(cx) - reach; x <= int(cx) + reach; ++x) {
            float dx = x + 0.5f - cx, dy = y + 0.5f - cy;
            float px = dx * c + dy * s, py = -dx * s + dy * c;
            float f = (px * px) / (rx * rx) + (py * py) / (ry * ry) - 1.0f;
            float gx = 2.0f * px / (rx * rx), gy = 2.0f * py / (ry * ry);
            float g = std::sqrt(gx * gx + gy * gy);
            float d = g > 1e-6f ? f / g : -1.0f;
            if (f < 0.0f && d > 0.0f) d = -d;
            plot(canvas, x, y, d, paint, px, py / ry);
        }
}

void draw_capsule(Canvas& canvas, float x0, float y0, float x1, float y1, float r0, float r1,
                  const Paint& paint) {
    float ex = x1 - x0, ey = y1 - y0, len2 = ex * ex + ey * ey, len = std::sqrt(len2);
    int reach = int(std::max(r0, r1) + 2.0f + paint.outline_width);
    int left = int(std::min(x0, x1)) - reach, right = int(std::max(x0, x1)) + reach;
    int top = int(std::min(y0, y1)) - reach, bottom = int(std::max(y0, y1)) + reach;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) {
            float px = x + 0.5f - x0, py = y + 0.5f - y0;
            float t = len2 > 1e-6f ? std::clamp((px * ex + py * ey) / len2, 0.0f, 1.0f) : 0.0f;
            float qx = px - t * ex, qy = py - t * ey;
            float r = r0 + (r1 - r0) * t;
            float dist = std::sqrt(qx * qx + qy * qy);
            float side = len > 1e-6f ? (qx * -ey + qy * ex) / len : 0.0f;
            plot(canvas, x, y, dist - r, paint, t * len, r > 0 ? side / r : 0.0f);
        }
}

void draw_curve(Canvas& canvas, float x0, float y0, float xc, float yc, float x1, float y1,
                float r0, float r1, const Paint& paint) {
    // Sampled as short capsules: the outline pass of each piece is drawn first so that
    // the joints between pieces do not show as seams.
    constexpr int pieces = 10;
    auto point = [&](float t, float* x, float* y) {
        float m = 1.0f - t;
        *x = m * m * x0 + 2 * m * t * xc + t * t * x1;
        *y = m * m * y0 + 2 * m * t * yc + t * t * y1;
    };
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < pieces; ++i) {
            float ta = float(i) / pieces, tb = float(i + 1) / pieces;
            float ax, ay, bx, by;
            point(ta, &ax, &ay);
            point(tb, &bx, &by);
            float ra = r0 + (r1 - r0) * ta, rb = r0 + (r1 - r0) * tb;
            if (pass == 0) {
                if (paint.outlined)
                    draw_capsule(canvas, ax, ay, bx, by, ra + paint.outline_width,
                                 rb + paint.outline_width,
                                 Paint{Coat::flat, paint.outline, paint.outline, false});
            } else {
                Paint inner = paint;
                inner.outlined = false;
                // Tabby rings along the tail: alternate pieces take the stripe colour.
                if (paint.coat == Coat::tabby && i % 3 == 2) inner.colour = coat_dark;
                inner.coat = Coat::flat;
                draw_capsule(canvas, ax, ay, bx, by, ra, rb, inner);
            }
        }
}

void draw_triangle(Canvas& canvas, float ax, float ay, float bx, float by, float cx, float cy,
                   const Paint& paint) {
    float xs[3] = {ax, bx, cx}, ys[3] = {ay, by, cy};
    float area = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
    int pad = 1 + int(std::ceil(paint.outline_width));
    int left = int(std::min({ax, bx, cx})) - pad, right = int(std::max({ax, bx, cx})) + pad;
    int top = int(std::min({ay, by, cy})) - pad, bottom = int(std::max({ay, by, cy})) + pad;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) {
            float px = x + 0.5f, py = y + 0.5f;
            bool inside = true;
            float best = 1e9f;
            for (int e = 0; e < 3; ++e) {
                float x0 = xs[e], y0 = ys[e], x1 = xs[(e + 1) % 3], y1 = ys[(e + 1) % 3];
                float ex = x1 - x0, ey = y1 - y0, len2 = ex * ex + ey * ey;
                float cross = ex * (py - y0) - ey * (px - x0);
                if ((area > 0 && cross < 0) || (area < 0 && cross > 0)) inside = false;
                float t = std::clamp(((px - x0) * ex + (py - y0) * ey) / len2, 0.0f, 1.0f);
                float qx = px - x0 - t * ex, qy = py - y0 - t * ey;
                best = std::min(best, std::sqrt(qx * qx + qy * qy));
            }
            plot(canvas, x, y, inside ? -best : best, paint, 0.0f, 0.0f);
        }
}

void draw_line(Canvas& canvas, int x0, int y0, int x1, int y1, uint8_t colour) {
    int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1, err = dx + dy;
    for (;;) {
        put_pixel(canvas, x0, y0, colour);
        if (x0 == x1 && y0 == y1) break;
        int e2 = 2 * err;
        if (e2 >= dy) err += dy, x0 += sx;
        if (e2 <= dx) err += dx, y0 += sy;
    }
}
