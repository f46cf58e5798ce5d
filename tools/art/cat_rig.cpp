// Renders a cat pose: far limbs and tail in shade, the body, near limbs, the head with
// its face, then effect marks. Takes a Pose, returns a 50 x 50 palette canvas.
#include "cat_rig.h"

#include <algorithm>
#include <cmath>

#include "cat.h"
#include "palette.h"

namespace {

constexpr float pi = 3.14159265f;

Paint coat_paint(Coat coat, uint8_t colour) { return Paint{coat, colour, ink, true}; }
Paint flat(uint8_t colour) { return Paint{Coat::flat, colour, ink, true}; }
Paint bare(uint8_t colour) { return Paint{Coat::flat, colour, ink, false}; }

// Head-local coordinates: scaled, rotated by the head's tilt, placed at its centre.
struct Frame {
    float x, y, s, c, sn;
    float flip;  // -1 turns the head upside down
    void at(float lx, float ly, float* ox, float* oy) const {
        lx *= s;
        ly *= s * flip;
        *ox = x + lx * c - ly * sn;
        *oy = y + lx * sn + ly * c;
    }
};

Frame head_frame(const Head& h) {
    float a = h.tilt * pi / 180.0f;
    return Frame{h.x, h.y, h.scale, std::cos(a), std::sin(a), h.upside_down ? -1.0f : 1.0f};
}

void ellipse_at(Canvas& cv, const Frame& f, float lx, float ly, float rx, float ry,
                float angle, const Paint& p, float tilt) {
    float x, y;
    f.at(lx, ly, &x, &y);
    draw_ellipse(cv, x, y, rx * f.s, ry * f.s, angle + tilt, p);
}

void triangle_at(Canvas& cv, const Frame& f, float ax, float ay, float bx, float by, float cx,
                 float cy, const Paint& p) {
    float x0, y0, x1, y1, x2, y2;
    f.at(ax, ay, &x0, &y0);
    f.at(bx, by, &x1, &y1);
    f.at(cx, cy, &x2, &y2);
    draw_triangle(cv, x0, y0, x1, y1, x2, y2, p);
}

void pixel_at(Canvas& cv, const Frame& f, float lx, float ly, uint8_t colour) {
    float x, y;
    f.at(lx, ly, &x, &y);
    put_pixel(cv, int(std::floor(x)), int(std::floor(y)), colour);
}

void line_at(Canvas& cv, const Frame& f, float ax, float ay, float bx, float by,
             uint8_t colour) {
    float x0, y0, x1, y1;
    f.at(ax, ay, &x0, &y0);
    f.at(bx, by, &x1, &y1);
    draw_line(cv, int(std::floor(x0)), int(std::floor(y0)), int(std::floor(x1)),
              int(std::floor(y1)), colour);
}

// One eye centred at local (ex, ey). Open eyes are green with a slit pupil; the pupil
// sits toward the side the cat looks at.
void draw_eye(Canvas& cv, const Frame& f, const Head& h, float ex, float ey, float tilt,
              bool profile = false) {
    switch (h.eyes) {
    case Eyes::open:
    case Eyes::wide: {
        // Green iris with a dark upper lid; no ring below, so the face stays open.
        float ry = h.eyes == Eyes::wide ? 2.3f : 2.0f;
        float rx = h.eyes == Eyes::wide ? 2.0f : 1.7f;
        ellipse_at(cv, f, ex, ey, rx, ry, 0, bare(eye_green), tilt);
        line_at(cv, f, ex - rx - 0.3f, ey - ry + 0.2f, ex + rx + 0.3f, ey - ry + 0.2f, ink);
        pixel_at(cv, f, ex - rx - 0.4f, ey, ink);
        // In profile the pupil sits toward the front of the eye, where the cat looks.
        float px = ex + h.look_x * 0.5f - (profile ? 0.7f : 0.0f), py = ey + h.look_y * 0.5f;
        pixel_at(cv, f, px, py, ink);
        if (h.eyes != Eyes::wide) pixel_at(cv, f, px, py + 1.0f, ink);
        pixel_at(cv, f, ex + (profile ? 0.6f : -0.6f), ey - 0.6f, white);
        break;
    }
    case Eyes::half:
        // Lid lowered over the top half of the iris.
        ellipse_at(cv, f, ex, ey + 0.7f, 1.6f, 0.9f, 0, bare(eye_green), tilt);
        line_at(cv, f, ex - 1.9f, ey - 0.1f, ex + 1.9f, ey - 0.1f, ink);
        pixel_at(cv, f, ex + h.look_x * 0.5f, ey + 0.9f, ink);
        break;
    case Eyes::closed:
        line_at(cv, f, ex - 1.5f, ey + 0.2f, ex + 1.5f, ey + 0.2f, ink);
        pixel_at(cv, f, ex - 1.6f, ey - 0.6f, ink);
        break;
    case Eyes::happy:
        line_at(cv, f, ex - 1.2f, ey + 0.2f, ex, ey - 0.8f, ink);
        line_at(cv, f, ex, ey - 0.8f, ex + 1.2f, ey + 0.2f, ink);
        break;
    }
}

void draw_mouth(Canvas& cv, const Frame& f, const Head& h, float mx, float my, bool side) {
    switch (h.mouth) {
    case Mouth::closed:
        if (side) {
            line_at(cv, f, mx, my, mx + 1.5f, my + 0.4f, ink);
        } else {
            pixel_at(cv, f, mx, my - 0.4f, ink);
            pixel_at(cv, f, mx - 1.0f, my + 0.6f, ink);
            pixel_at(cv, f, mx + 1.0f, my + 0.6f, ink);
        }
        break;
    case Mouth::meow:
    case Mouth::open:
        ellipse_at(cv, f, mx, my + 0.9f, side ? 1.2f : 1.4f, 1.1f, 0, flat(mouth_red), h.tilt);
        break;
    case Mouth::yawn:
        ellipse_at(cv, f, mx, my + 1.6f, side ? 1.7f : 2.2f, 2.3f, 0, flat(mouth_red),
                   h.tilt);
        pixel_at(cv, f, mx, my + 2.8f, pink);
        pixel_at(cv, f, mx - 1.0f, my + 0.3f, white);
        if (!side) pixel_at(cv, f, mx + 1.0f, my + 0.3f, white);
        break;
    case Mouth::tongue:
    case Mouth::lick: {
        // In profile the tongue pokes out past the muzzle, against the background, and
        // is outlined; from the front it lies on the pale chin with no rim, so it reads
        // as a tongue rather than a dark hole in the face.
        Paint tongue = side ? flat(pink) : bare(pink);
        if (!side) {
            pixel_at(cv, f, mx, my - 0.4f, ink);
            ellipse_at(cv, f, mx, my + 1.4f, 1.3f, h.mouth == Mouth::lick ? 1.1f : 1.4f, 0,
                       tongue, h.tilt);
        } else if (h.mouth == Mouth::tongue) {
            ellipse_at(cv, f, mx - 0.8f, my + 1.2f, 1.0f, 1.2f, 0, tongue, h.tilt);
        } else {
            // Tongue curled forward and up, as over a paw or the lips.
            ellipse_at(cv, f, mx - 2.0f, my + 0.4f, 1.4f, 1.1f, 0, tongue, h.tilt);
        }
        break;
    }
    }
}

// A silhouette made of several shapes: all of them are outlined first and filled
// afterwards, so the group reads as one outlined figure with no seams inside.
struct Piece {
    ShapeKind kind;
    float a, b, c, d, e, f;
    Paint paint;
};

struct Group {
    Piece pieces[8];
    int count = 0;
    void ellipse(float cx, float cy, float rx, float ry, float angle, const Paint& p) {
        if (count < 8) pieces[count++] = Piece{ShapeKind::ellipse, cx, cy, rx, ry, angle, 0, p};
    }
    void capsule(float x0, float y0, float x1, float y1, float r0, float r1, const Paint& p) {
        if (count < 8) pieces[count++] = Piece{ShapeKind::capsule, x0, y0, x1, y1, r0, r1, p};
    }
};

void draw_piece(Canvas& cv, const Piece& q, const Paint& p) {
    if (q.kind == ShapeKind::ellipse)
        draw_ellipse(cv, q.a, q.b, q.c, q.d, q.e, p);
    else
        draw_capsule(cv, q.a, q.b, q.c, q.d, q.e, q.f, p);
}

void draw_group(Canvas& cv, const Group& g) {
    for (int i = 0; i < g.count; ++i)
        if (g.pieces[i].paint.outlined)
            draw_piece(cv, g.pieces[i], Paint{Coat::flat, ink, g.pieces[i].paint.outline, true});
    for (int i = 0; i < g.count; ++i) {
        Paint p = g.pieces[i].paint;
        p.outlined = false;
        draw_piece(cv, g.pieces[i], p);
    }
}

void group_ellipse(Group& g, const Frame& f, float lx, float ly, float rx, float ry,
                   float angle, const Paint& p, float tilt) {
    float x, y;
    f.at(lx, ly, &x, &y);
    g.ellipse(x, y, rx * f.s, ry * f.s, angle + tilt, p);
}

void draw_side_head(Canvas& cv, const Head& h) {
    Frame f = head_frame(h);
    float t = h.tilt;
    float back = h.ears == Ears::back ? 1.0f : 0.0f, low = h.ears == Ears::flat ? 1.0f : 0.0f;
    float tw = h.ears == Ears::twitch ? 1.0f : 0.0f;
    // The far ear peeks out ahead of the near one.
    triangle_at(cv, f, -6.2f, -2.0f, -1.2f, -5.2f, -5.0f + back * 2.5f - tw * 1.5f,
                -11.0f + back * 2.0f + low * 3.5f + tw * 0.5f, flat(coat_light));
    triangle_at(cv, f, -5.0f, -3.2f, -2.8f, -4.6f, -4.8f + back * 2.3f - tw * 1.3f,
                -9.2f + back * 1.8f + low * 3.0f + tw * 0.5f, bare(shadow));
    // Near ear, skull, jaw and muzzle as one silhouette.
    float ex = 1.0f + back * 3.5f + low * 3.5f, ey = -11.8f + back * 2.5f + low * 5.0f;
    triangle_at(cv, f, -2.8f, -4.2f, 4.0f, -4.0f, ex, ey, flat(coat));
    Group g;
    group_ellipse(g, f, 0.0f, 0.0f, 6.6f, 5.7f, 0, flat(coat), t);
    group_ellipse(g, f, -0.8f, 2.4f, 5.8f, 3.7f, 0, flat(coat), t);
    group_ellipse(g, f, -4.9f, 2.0f, 2.8f, 2.2f, 0, flat(cream), t);
    group_ellipse(g, f, -2.6f, 3.2f, 2.8f, 1.7f, 0, flat(cream), t);
    draw_group(cv, g);
    triangle_at(cv, f, -1.2f, -4.6f, 2.8f, -4.4f, ex - 0.2f, ey + 2.6f, bare(pink));
    // Forehead and cheek stripes, kept inside the skull.
    line_at(cv, f, -0.5f, -5.0f, 0.3f, -3.2f, coat_dark);
    line_at(cv, f, 2.0f, -4.8f, 2.6f, -3.0f, coat_dark);
    line_at(cv, f, 2.0f, 0.5f, 4.5f, 0.0f, coat_dark);
    line_at(cv, f, 2.0f, 2.2f, 4.5f, 2.2f, coat_dark);
    // Nose and mouth.
    pixel_at(cv, f, -7.3f, 0.9f, pink);
    pixel_at(cv, f, -6.4f, 0.5f, pink);
    draw_mouth(cv, f, h, -5.6f, 3.2f, true);
    draw_eye(cv, f, h, -3.0f, -0.9f, t, true);
}

void draw_front_head(Canvas& cv, const Head& h) {
    Frame f = head_frame(h);
    float t = h.tilt, k = h.turn;
    float back = h.ears == Ears::back ? 1.0f : 0.0f, low = h.ears == Ears::flat ? 1.0f : 0.0f;
    bool face = h.view == HeadView::front;
    for (int side = -1; side <= 1; side += 2) {
        float s = float(side);
        // Turning narrows the far ear and moves both toward the side looked at.
        float w = 1.0f - 0.3f * std::max(0.0f, k * -s);
        float tw = (h.ears == Ears::twitch && side > 0) ? 1.0f : 0.0f;
        float ox = k * 1.5f;
        float tipx = ox + s * (6.6f + back * 2.5f + low * 3.5f + tw * 1.5f) * w;
        float tipy = -12.0f + back * 2.5f + low * 5.0f + tw * 1.0f;
        triangle_at(cv, f, ox + s * 7.4f * w, -1.0f, ox + s * 0.8f * w, -5.2f, tipx, tipy,
                    flat(coat));
        if (face)
            triangle_at(cv, f, ox + s * 5.9f * w, -3.2f, ox + s * 2.9f * w, -5.0f,
                        ox + s * (6.0f + back * 2.0f + low * 3.0f + tw * 1.3f) * w,
                        tipy + 2.6f, bare(pink));
    }
    Group g;
    group_ellipse(g, f, 0.0f, -0.5f, 7.4f, 6.2f, 0, flat(coat), t);
    // Cheek fluff widens the lower face.
    group_ellipse(g, f, 0.0f, 2.0f, 8.4f, 4.4f, 0, flat(coat), t);
    if (face) {
        float fx = k * 3.2f;
        group_ellipse(g, f, fx - 1.8f, 3.2f, 2.4f, 1.9f, 0, flat(cream), t);
        group_ellipse(g, f, fx + 1.8f, 3.2f, 2.4f, 1.9f, 0, flat(cream), t);
        group_ellipse(g, f, fx, 4.4f, 1.8f, 1.3f, 0, flat(cream), t);
    }
    draw_group(cv, g);
    if (!face) {
        // Back of the head: two short stripes on the crown.
        line_at(cv, f, -1.5f, -5.5f, -1.5f, -3.0f, coat_dark);
        line_at(cv, f, 1.5f, -5.5f, 1.5f, -3.0f, coat_dark);
        return;
    }
    float fx = k * 3.2f;
    // Forehead stripes.
    line_at(cv, f, fx - 1.8f, -6.0f, fx - 1.2f, -4.0f, coat_dark);
    line_at(cv, f, fx + 0.0f, -6.4f, fx + 0.0f, -4.2f, coat_dark);
    line_at(cv, f, fx + 1.8f, -6.0f, fx + 1.2f, -4.0f, coat_dark);
    line_at(cv, f, -7.0f, 1.0f, -5.5f, 1.0f, coat_dark);
    line_at(cv, f, 7.0f, 1.0f, 5.5f, 1.0f, coat_dark);
    float eye_dx = 3.4f * (1.0f - 0.15f * std::fabs(k));
    draw_eye(cv, f, h, fx - eye_dx + k * 0.3f, -0.8f, t);
    draw_eye(cv, f, h, fx + eye_dx + k * 0.3f, -0.8f, t);
    triangle_at(cv, f, fx - 1.3f, 1.2f, fx + 1.3f, 1.2f, fx, 2.4f, bare(pink));
    pixel_at(cv, f, fx, 1.3f, pink);
    draw_mouth(cv, f, h, fx, 3.3f, false);
}

void draw_body(Canvas& cv, const Pose& p) {
    Group g;
    for (const Shape& s : p.body) {
        if (s.kind == ShapeKind::ellipse)
            g.ellipse(s.a, s.b, s.c, s.d, s.e, coat_paint(s.coat, s.colour));
        else if (s.kind == ShapeKind::capsule)
            g.capsule(s.a, s.b, s.c, s.d, s.e, s.f, coat_paint(s.coat, s.colour));
    }
    draw_group(cv, g);
}

void draw_limb(Canvas& cv, const Limb& l) {
    uint8_t fur = l.dark ? coat_dark : coat;
    uint8_t paw = l.dark ? coat_light : cream;
    float rm = (l.r0 + l.r1) * 0.5f;
    // Outline pass of both segments first so the knee shows no seam.
    Paint edge{Coat::flat, ink, ink, false};
    // A leg that grows out of the body has no outline across its top: the outline starts
    // one radius down, so the fur of leg and body run together.
    float tx = l.x[0], ty = l.y[0];
    if (l.layer != layer_top) {
        float ax = l.x[1] - l.x[0], ay = l.y[1] - l.y[0], al = std::sqrt(ax * ax + ay * ay);
        float m = std::min(l.r0 + 1.0f, al * 0.8f);
        if (al > 0) tx += ax / al * m, ty += ay / al * m;
    }
    draw_capsule(cv, tx, ty, l.x[1], l.y[1], l.r0 + 1, rm + 1, edge);
    draw_capsule(cv, l.x[1], l.y[1], l.x[2], l.y[2], rm + 1, l.r1 + 1, edge);
    float dx = l.x[2] - l.x[1], dy = l.y[2] - l.y[1];
    float len = std::sqrt(dx * dx + dy * dy);
    float ux = len > 0 ? dx / len : 0, uy = len > 0 ? dy / len : 1;
    float px = l.x[2] + ux * 0.4f, py = l.y[2] + uy * 0.4f;
    draw_ellipse(cv, px, py, l.r1 + 1.8f, l.r1 * 0.85f + 1.0f, l.paw_angle, edge);
    draw_capsule(cv, l.x[0], l.y[0], l.x[1], l.y[1], l.r0, rm, bare(fur));
    draw_capsule(cv, l.x[1], l.y[1], l.x[2], l.y[2], rm, l.r1, bare(fur));
    draw_ellipse(cv, px, py, l.r1 + 0.8f, l.r1 * 0.85f, l.paw_angle, bare(paw));
    if (l.pads) put_pixel(cv, int(px), int(py), pink);
}

void draw_tail(Canvas& cv, const Tail& t) {
    draw_curve(cv, t.x0, t.y0, t.xc, t.yc, t.x1, t.y1, t.r0, t.r1,
               coat_paint(Coat::tabby, coat));
}

void draw_bubble(Canvas& cv, float x, float y, float r) {
    draw_ellipse(cv, x, y, r, r, 0, Paint{Coat::flat, white, mark_blue, true});
    put_pixel(cv, int(x - r * 0.4f), int(y - r * 0.4f), mark_blue);
}

void draw_marks(Canvas& cv, const Pose& p) {
    float x = p.mark_x, y = p.mark_y;
    Paint stroke{Coat::flat, mark_blue, mark_blue, false};
    Paint puff{Coat::flat, grey_light, grey, true};
    switch (p.mark) {
    case Mark::none:
        break;
    case Mark::sleep_small:
        draw_bubble(cv, x, y, 1.6f);
        break;
    case Mark::sleep_large:
        draw_bubble(cv, x, y - 1.0f, 2.8f);
        draw_bubble(cv, x + 3.5f, y + 3.5f, 1.2f);
        break;
    case Mark::dust:
        draw_ellipse(cv, x, y, 2.4f, 1.5f, 0, puff);
        draw_ellipse(cv, x + 5.0f, y + 0.5f, 1.8f, 1.2f, 0, puff);
        break;
    case Mark::motion:
        draw_capsule(cv, x, y, x + 4.0f, y, 0.6f, 0.6f, stroke);
        draw_capsule(cv, x + 1.0f, y + 3.0f, x + 5.0f, y + 3.0f, 0.6f, 0.6f, stroke);
        break;
    case Mark::shake:
        draw_capsule(cv, x, y, x - 2.0f, y - 2.0f, 0.6f, 0.6f, stroke);
        draw_capsule(cv, x + 3.0f, y - 1.0f, x + 3.0f, y - 4.0f, 0.6f, 0.6f, stroke);
        break;
    case Mark::sweat:
        draw_ellipse(cv, x, y, 1.3f, 1.8f, 0, Paint{Coat::flat, white, mark_blue, true});
        break;
    case Mark::speed_up:
        draw_capsule(cv, x, y, x, y - 4.0f, 0.6f, 0.6f, stroke);
        draw_capsule(cv, x + 6.0f, y + 1.0f, x + 6.0f, y - 3.0f, 0.6f, 0.6f, stroke);
        break;
    case Mark::alarm:
        draw_capsule(cv, x, y, x - 1.5f, y - 3.0f, 0.6f, 0.6f, stroke);
        draw_capsule(cv, x + 4.0f, y, x + 5.5f, y - 3.0f, 0.6f, 0.6f, stroke);
        break;
    }
}

// The fold of a sitting cat's thigh: an arc round the front and top of the haunch.
void draw_thigh(Canvas& cv, const Shape& s) {
    if (s.kind != ShapeKind::ellipse) return;
    float a = s.e * pi / 180.0f, c = std::cos(a), sn = std::sin(a);
    for (int i = 0; i <= 24; ++i) {
        float t = (150.0f + 105.0f * float(i) / 24.0f) * pi / 180.0f;
        float lx = std::cos(t) * (s.c - 1.2f), ly = std::sin(t) * (s.d - 1.2f);
        put_pixel(cv, int(std::floor(s.a + lx * c - ly * sn)),
                  int(std::floor(s.b + lx * sn + ly * c)), shadow);
    }
}

void draw_head(Canvas& cv, const Head& h) {
    if (!h.on) return;
    if (h.view == HeadView::side)
        draw_side_head(cv, h);
    else
        draw_front_head(cv, h);
}

// Wherever fur meets the background without a dark edge (a leg top left outside the
// body in an in-between pose, say), the edge pixel becomes outline, so the cat always
// has a crisp rim against the desktop.
void close_outline(Canvas& cv) {
    Canvas src = cv;
    for (int y = 0; y < cv.height; ++y)
        for (int x = 0; x < cv.width; ++x) {
            uint8_t p = get_pixel(src, x, y);
            if (p == clear_pixel || p == ink || p == pink || p == mouth_red) continue;
            bool edge = false;
            const int next[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
            for (const auto& n : next)
                if (n[0] >= 0 && n[1] >= 0 && n[0] < cv.width && n[1] < cv.height &&
                    get_pixel(src, n[0], n[1]) == clear_pixel)
                    edge = true;
            if (edge) put_pixel(cv, x, y, ink);
        }
}

float mix(float a, float b, float t) { return a + (b - a) * t; }

}  // namespace

Canvas render_pose(const Pose& p) {
    Canvas cv = make_canvas(cat_cell_size, cat_cell_size);
    for (int layer = layer_far; layer <= layer_top; ++layer) {
        if (p.tail.on && p.tail.layer == layer) draw_tail(cv, p.tail);
        for (const Limb& l : p.limbs)
            if (l.on && l.layer == layer) draw_limb(cv, l);
        if (p.head.layer == layer && layer == layer_far) draw_head(cv, p.head);
        if (layer == layer_far) {
            draw_body(cv, p);
            if (p.thigh) draw_thigh(cv, p.body[2]);
        }
        if (p.head.layer == layer && layer != layer_far) draw_head(cv, p.head);
    }
    close_outline(cv);
    draw_marks(cv, p);
    return cv;
}

Pose blend_poses(const Pose& a, const Pose& b, float t) {
    Pose r = t < 0.5f ? a : b;
    for (int i = 0; i < max_shapes; ++i) {
        const Shape &sa = a.body[i], &sb = b.body[i];
        if (sa.kind != sb.kind) continue;
        Shape& s = r.body[i];
        s.a = mix(sa.a, sb.a, t), s.b = mix(sa.b, sb.b, t), s.c = mix(sa.c, sb.c, t);
        s.d = mix(sa.d, sb.d, t), s.e = mix(sa.e, sb.e, t), s.f = mix(sa.f, sb.f, t);
    }
    for (int i = 0; i < max_limbs; ++i) {
        const Limb &la = a.limbs[i], &lb = b.limbs[i];
        if (la.on != lb.on) continue;
        Limb& l = r.limbs[i];
        for (int j = 0; j < 3; ++j) l.x[j] = mix(la.x[j], lb.x[j], t), l.y[j] = mix(la.y[j], lb.y[j], t);
        l.r0 = mix(la.r0, lb.r0, t), l.r1 = mix(la.r1, lb.r1, t);
        l.paw_angle = mix(la.paw_angle, lb.paw_angle, t);
    }
    if (a.tail.on && b.tail.on) {
        Tail& q = r.tail;
        q.x0 = mix(a.tail.x0, b.tail.x0, t), q.y0 = mix(a.tail.y0, b.tail.y0, t);
        q.xc = mix(a.tail.xc, b.tail.xc, t), q.yc = mix(a.tail.yc, b.tail.yc, t);
        q.x1 = mix(a.tail.x1, b.tail.x1, t), q.y1 = mix(a.tail.y1, b.tail.y1, t);
        q.r0 = mix(a.tail.r0, b.tail.r0, t), q.r1 = mix(a.tail.r1, b.tail.r1, t);
    }
    Head& h = r.head;
    h.x = mix(a.head.x, b.head.x, t), h.y = mix(a.head.y, b.head.y, t);
    h.scale = mix(a.head.scale, b.head.scale, t), h.tilt = mix(a.head.tilt, b.head.tilt, t);
    h.turn = mix(a.head.turn, b.head.turn, t);
    h.look_x = mix(a.head.look_x, b.head.look_x, t), h.look_y = mix(a.head.look_y, b.head.look_y, t);
    return r;
}

void shift_pose(Pose& p, float dx, float dy) {
    for (Shape& s : p.body) {
        s.a += dx, s.b += dy;
        if (s.kind == ShapeKind::capsule) s.c += dx, s.d += dy;
    }
    for (Limb& l : p.limbs)
        for (int j = 0; j < 3; ++j) l.x[j] += dx, l.y[j] += dy;
    p.tail.x0 += dx, p.tail.xc += dx, p.tail.x1 += dx;
    p.tail.y0 += dy, p.tail.yc += dy, p.tail.y1 += dy;
    p.head.x += dx, p.head.y += dy;
    p.mark_x += dx, p.mark_y += dy;
}
