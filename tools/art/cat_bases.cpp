// Base poses: positions of body, legs, tail and head for each resting or moving posture.
#include "cat_bases.h"

#include <cmath>

#include "palette.h"

Shape ellipse_shape(float cx, float cy, float rx, float ry, float angle, Coat coat,
                    uint8_t colour) {
    return Shape{ShapeKind::ellipse, cx, cy, rx, ry, angle, 0, coat, colour};
}

Shape capsule_shape(float x0, float y0, float x1, float y1, float r0, float r1, Coat coat,
                    uint8_t colour) {
    return Shape{ShapeKind::capsule, x0, y0, x1, y1, r0, r1, coat, colour};
}

Limb make_limb(float x0, float y0, float x1, float y1, float x2, float y2, float r0, float r1,
               bool dark, uint8_t layer) {
    Limb l;
    l.on = true;
    l.x[0] = x0, l.y[0] = y0, l.x[1] = x1, l.y[1] = y1, l.x[2] = x2, l.y[2] = y2;
    l.r0 = r0, l.r1 = r1, l.dark = dark, l.layer = dark ? uint8_t(layer_far) : layer;
    return l;
}

Tail make_tail(float x0, float y0, float xc, float yc, float x1, float y1, uint8_t layer) {
    Tail t;
    t.on = true;
    t.x0 = x0, t.y0 = y0, t.xc = xc, t.yc = yc, t.x1 = x1, t.y1 = y1;
    t.layer = layer;
    return t;
}

// The paw ellipse sits 0.4 px beyond the limb end and is 0.85 r1 tall; its outline is
// one pixel, so its lowest outline row is ground_row when its fill ends at ground_row.
float foot_y(float r1) { return float(ground_row) - 0.85f * r1 - 0.4f; }

namespace {

Head side_head(float x, float y) {
    Head h;
    h.x = x, h.y = y;
    h.view = HeadView::side;
    return h;
}

Head front_head(float x, float y) {
    Head h;
    h.x = x, h.y = y;
    h.view = HeadView::front;
    return h;
}

}  // namespace

Pose side_stand() {
    Pose p;
    float g = foot_y();
    p.body[0] = capsule_shape(16, 32, 33, 32, 7.5f, 7.0f, Coat::tabby_belly);
    p.body[1] = capsule_shape(16, 31, 12, 27, 5.0f, 4.5f, Coat::flat, coat);
    p.body[2] = ellipse_shape(33, 32, 6.5f, 6.5f, 0, Coat::tabby);
    p.body[3] = ellipse_shape(14, 33, 3.0f, 4.0f, 10, Coat::flat, cream);
    p.limbs[0] = make_limb(19, 35, 19.5f, 41, 19.5f, g, 2.6f, 2.0f, true);
    p.limbs[1] = make_limb(32, 34, 35, 40, 33.5f, g, 3.2f, 2.0f, true);
    p.limbs[2] = make_limb(15, 35, 15, 41, 14.5f, g, 2.8f, 2.0f, false);
    p.limbs[3] = make_limb(34, 33, 38, 40, 36.5f, g, 4.6f, 2.0f, false);
    p.tail = make_tail(38, 29, 46, 26, 43, 13);
    p.head = side_head(10, 24);
    return p;
}

Pose side_sit() {
    Pose p;
    float g = foot_y();
    p.body[0] = capsule_shape(20, 28, 29, 37, 6.5f, 8.0f, Coat::tabby);
    p.body[1] = capsule_shape(20, 27, 17, 23, 5.0f, 4.5f, Coat::flat, coat);
    p.body[2] = ellipse_shape(31, 39, 8.5f, 8.0f, 0, Coat::tabby);
    p.body[3] = ellipse_shape(19.0f, 32, 4.0f, 6.5f, 15, Coat::flat, cream);
    p.thigh = true;
    p.limbs[0] = make_limb(22, 31, 22, 39, 22.5f, g, 2.4f, 2.0f, true);
    p.limbs[2] = make_limb(18, 31, 17.5f, 39, 17.5f, g, 2.6f, 2.0f, false);
    p.limbs[3] = make_limb(31, 43, 27, 44.5f, 25.0f, g, 3.0f, 2.0f, false);
    p.tail = make_tail(37, 44, 45, 47, 47, 41);
    p.head = side_head(16, 20);
    return p;
}

Pose side_sit_wrapped() {
    Pose p = side_sit();
    p.tail = make_tail(33, 44, 26, 45.6f, 14, 44.3f, layer_top);
    p.tail.r0 = 2.2f, p.tail.r1 = 1.8f;
    p.head.view = HeadView::front;
    p.head.turn = -0.5f;
    p.head.x = 17;
    return p;
}

Pose side_sphinx() {
    Pose p;
    float g = foot_y();
    p.body[0] = capsule_shape(18, 40, 33, 40, 6.5f, 6.5f, Coat::tabby_belly);
    p.body[1] = capsule_shape(18, 39, 14, 35, 4.5f, 4.5f, Coat::flat, coat);
    p.body[2] = ellipse_shape(33, 41, 7.0f, 6.0f, 0, Coat::tabby);
    p.body[3] = ellipse_shape(15, 40, 3.0f, 3.5f, 10, Coat::flat, cream);
    p.limbs[0] = make_limb(18, 42, 13, 43.5f, 8.5f, g - 0.8f, 2.4f, 2.0f, true);
    p.limbs[2] = make_limb(16, 42, 11, 44.5f, 6.5f, g, 2.6f, 2.0f, false);
    p.limbs[3] = make_limb(34, 43, 30, 44.5f, 27.5f, g, 3.0f, 2.0f, false);
    p.tail = make_tail(39, 44, 44, 47, 48, 43);
    p.head = side_head(13, 31);
    return p;
}

Pose side_lie() {
    Pose p;
    float g = foot_y();
    p.body[0] = capsule_shape(18, 40.5f, 34, 40, 6.0f, 6.0f, Coat::tabby_belly);
    p.body[1] = capsule_shape(18, 39, 14, 36, 4.5f, 4.5f, Coat::flat, coat);
    p.body[2] = ellipse_shape(34, 40, 6.5f, 6.0f, -5, Coat::tabby);
    p.body[3] = ellipse_shape(25, 44, 7.0f, 2.5f, 0, Coat::flat, cream);
    p.limbs[0] = make_limb(18, 43, 12, 43, 7, g - 2.5f, 2.3f, 2.0f, true);
    p.limbs[1] = make_limb(33, 43, 39, 43, 44, g - 2.5f, 2.8f, 2.0f, true);
    p.limbs[2] = make_limb(19, 44, 13, 45, 7.5f, g, 2.5f, 2.0f, false);
    p.limbs[3] = make_limb(32, 42, 38, 44, 44.5f, g, 3.6f, 2.0f, false);
    p.tail = make_tail(39, 38, 45, 39, 49, 35);
    p.head = side_head(11, 34);
    return p;
}

Pose side_loaf() {
    Pose p;
    p.body[0] = ellipse_shape(28, 38.5f, 13.0f, 8.5f, 0, Coat::tabby_belly);
    p.body[1] = ellipse_shape(17, 44.5f, 3.0f, 2.0f, 0, Coat::flat, cream);
    p.tail = make_tail(38, 43.5f, 30, 45.8f, 21, 44.8f, layer_top);
    p.tail.r0 = 2.0f, p.tail.r1 = 1.7f;
    p.head = side_head(15, 32);
    return p;
}

Pose side_curl() {
    // A round ball: back arched high, head tucked low at the front, the tail wrapped
    // along the ground and over the nose.
    Pose p;
    p.body[0] = ellipse_shape(28, 37.5f, 13.0f, 9.5f, -10, Coat::tabby);
    p.tail = make_tail(40, 42, 28, 47.2f, 10, 42.5f, layer_top);
    p.tail.r0 = 2.5f, p.tail.r1 = 2.2f;
    p.head = side_head(17, 38);
    p.head.tilt = 25;
    p.head.eyes = Eyes::closed;
    p.head.ears = Ears::back;
    return p;
}

Pose side_on_back() {
    // Belly up (cream on top), paws folded loosely in the air, head tipped back.
    Pose p;
    p.body[0] = capsule_shape(35, 41, 18, 41, 6.0f, 5.5f, Coat::tabby_belly);
    p.body[2] = ellipse_shape(35, 41, 6.0f, 6.0f, 0, Coat::tabby);
    p.limbs[0] = make_limb(18, 37, 16, 32, 19, 30, 2.0f, 1.8f, true);
    p.limbs[1] = make_limb(32, 37, 33, 31, 32, 29, 2.4f, 1.8f, true);
    p.limbs[2] = make_limb(22, 37, 21, 32, 22.5f, 30, 2.1f, 1.8f, false);
    p.limbs[3] = make_limb(36, 37, 38, 31, 35, 29, 3.0f, 1.8f, false);
    for (Limb& l : p.limbs) l.pads = true;
    p.tail = make_tail(40, 43, 45, 45, 48, 42);
    p.head = side_head(12, 35);
    p.head.upside_down = true;
    p.head.tilt = -15;
    p.head.eyes = Eyes::closed;
    return p;
}

Pose side_upright() {
    Pose p;
    float g = foot_y();
    p.body[0] = ellipse_shape(27, 39, 7.0f, 8.0f, 0, Coat::tabby);
    p.body[1] = capsule_shape(27, 38, 25, 22, 7.0f, 6.0f, Coat::tabby);
    p.body[2] = ellipse_shape(22, 30, 3.0f, 6.0f, 10, Coat::flat, cream);
    p.limbs[0] = make_limb(23, 25, 19, 29, 18, 25, 2.2f, 2.0f, true);
    p.limbs[1] = make_limb(28, 43, 27, 44.5f, 24, g, 2.8f, 2.0f, true);
    p.limbs[2] = make_limb(21, 25, 17, 30, 15, 26, 2.4f, 2.0f, false);
    p.limbs[3] = make_limb(29, 41, 26, 44, 21.5f, g, 3.2f, 2.0f, false);
    p.tail = make_tail(33, 42, 38, 45.2f, 43, 41);
    p.head = side_head(22, 14);
    return p;
}

Pose side_crouch() {
    // Belly close to the ground, elbows up, hind legs folded under ready to spring.
    Pose p;
    float g = foot_y();
    p.body[0] = capsule_shape(16, 36.5f, 32, 35.5f, 6.5f, 7.0f, Coat::tabby_belly);
    p.body[1] = capsule_shape(16, 35, 12, 33, 4.5f, 4.5f, Coat::flat, coat);
    p.body[2] = ellipse_shape(32, 37, 7.0f, 6.5f, 0, Coat::tabby);
    p.limbs[0] = make_limb(19, 39, 17, 43, 15.5f, g, 2.4f, 2.0f, true);
    p.limbs[1] = make_limb(31, 39, 27, 43, 29, g, 3.0f, 2.0f, true);
    p.limbs[2] = make_limb(16, 39, 13, 43, 11.5f, g, 2.6f, 2.0f, false);
    p.limbs[3] = make_limb(33, 38, 29, 43, 33, g, 4.0f, 2.0f, false);
    p.tail = make_tail(38, 35, 44, 37, 48, 39);
    p.head = side_head(10, 31);
    p.head.look_y = 1;
    p.head.tilt = -8;
    return p;
}

Pose side_crouch_up() {
    Pose p = side_crouch();
    p.head.y = 27;
    p.head.x = 11;
    p.head.tilt = 18;
    p.head.look_y = -1.5f;
    p.head.look_x = -1;
    return p;
}

Pose side_cello() {
    // Leaning back on the rump with one hind leg straight up past the head.
    Pose p = side_sit();
    p.body[0] = capsule_shape(25, 29, 31, 38, 6.5f, 8.0f, Coat::tabby);
    p.body[1] = capsule_shape(25, 28, 23, 24, 5.0f, 4.5f, Coat::flat, coat);
    p.body[3].a = 22.5f;
    p.limbs[3] = make_limb(31, 39, 30, 27, 33, 12, 3.4f, 1.9f, false);
    p.limbs[2] = make_limb(22, 31, 21, 38, 20.5f, foot_y(), 2.6f, 2.0f, false);
    p.limbs[0] = make_limb(26, 33, 25, 40, 25.0f, foot_y(), 2.4f, 2.0f, true);
    p.head = side_head(21, 22);
    p.head.tilt = 5;
    return p;
}

Pose side_leap_down() {
    // The body runs along a steep diagonal, chest low and rump high; the forelegs reach
    // past the head toward the ground, the hind legs and tail trail up behind.
    Pose p;
    p.body[0] = capsule_shape(23, 28, 31, 15, 6.5f, 6.0f, Coat::tabby_belly);
    p.body[2] = ellipse_shape(31.5f, 14.5f, 6.0f, 6.0f, 0, Coat::tabby);
    p.limbs[0] = make_limb(26, 29, 25, 36, 24, 43, 2.4f, 1.9f, true);
    p.limbs[2] = make_limb(24, 30, 22.5f, 37, 20.5f, 44.5f, 2.6f, 2.0f, false);
    p.limbs[1] = make_limb(32, 16, 35, 10, 37.5f, 4.5f, 2.6f, 1.9f, true);
    p.limbs[3] = make_limb(33, 16, 37.5f, 11.5f, 41, 6.5f, 3.4f, 2.0f, false);
    p.tail = make_tail(36, 17, 44, 18, 48, 11);
    p.head = Head{};
    p.head.x = 16, p.head.y = 31, p.head.tilt = -35;
    p.head.ears = Ears::back;
    p.head.look_y = 1;
    return p;
}

Pose side_leap_up() {
    // Along a 45 degree diagonal: forelegs stretched up past the raised head, hind legs
    // straight out behind from the last push, tail streaming after them.
    Pose p;
    p.body[0] = capsule_shape(20, 23, 31, 33, 6.5f, 6.0f, Coat::tabby_belly);
    p.body[2] = ellipse_shape(32, 33, 6.0f, 6.0f, 0, Coat::tabby);
    p.limbs[0] = make_limb(20, 24, 13, 17.5f, 7, 10, 2.4f, 1.9f, true);
    p.limbs[2] = make_limb(18, 26, 11, 20, 4.5f, 12.5f, 2.6f, 2.0f, false);
    p.limbs[1] = make_limb(33, 36, 38, 40.5f, 43, 44, 2.6f, 1.9f, true);
    p.limbs[3] = make_limb(32, 35, 37, 40.5f, 41, 45, 3.4f, 2.0f, false);
    p.tail = make_tail(37, 31, 45, 32, 48, 39);
    p.head = Head{};
    p.head.x = 16, p.head.y = 16, p.head.tilt = 30;
    p.head.ears = Ears::back;
    p.head.look_y = -1;
    return p;
}

Pose side_walk(int frame) {
    // Diagonal leg pairs in opposite phase. A planted paw moves 5 px right per frame
    // while the window moves 5 px left, so it stays on the same spot of the ground;
    // during the other three frames the pair swings forward off the ground.
    static const float reach[6] = {-5.0f, 0.0f, 5.0f, 3.0f, -1.0f, -4.0f};
    static const float lift[6] = {0.0f, 0.0f, 0.0f, 2.0f, 3.0f, 1.0f};
    Pose p = side_stand();
    int a = frame % 6, b = (frame + 3) % 6;
    float g = foot_y();
    // The body dips a pixel while one pair carries it alone mid-stride.
    float dy = (a == 1 || b == 1) ? 1.0f : 0.0f;
    p.body[0].b += dy, p.body[0].d += dy;
    p.body[1].b += dy, p.body[1].d += dy;
    p.head.y += dy;
    p.tail.y0 += dy, p.tail.yc += dy, p.tail.y1 += dy;
    auto set = [&](Limb& l, int phase, float rest_x, float knee) {
        l.y[0] += dy;
        l.x[2] = rest_x + reach[phase];
        l.y[2] = g - lift[phase];
        l.x[1] = (l.x[0] + l.x[2]) * 0.5f + knee * (1.0f + lift[phase] * 0.4f);
        l.y[1] = (l.y[0] + l.y[2]) * 0.5f - lift[phase] * 0.3f;
    };
    set(p.limbs[2], a, 15.0f, -0.3f);
    set(p.limbs[1], a, 33.5f, 1.5f);
    set(p.limbs[0], b, 19.5f, -0.3f);
    set(p.limbs[3], b, 36.5f, 1.5f);
    return p;
}

Pose side_gallop(int frame) {
    Pose p = side_stand();
    float g = foot_y();
    p.head.ears = Ears::back;
    switch (frame % 4) {
    case 0:  // gathered: back arched, forelegs swept back and hind legs forward under it
        // The arch goes first, so the torso's stripes and belly are drawn over it.
        p.body[0] = ellipse_shape(25, 27.5f, 9.5f, 5.5f, 0, Coat::tabby);
        p.body[4] = capsule_shape(17.5f, 30, 31, 29.5f, 7.0f, 7.0f, Coat::tabby_belly);
        p.body[1] = capsule_shape(18, 28.5f, 13, 26, 5.0f, 4.5f, Coat::flat, coat);
        p.body[2] = ellipse_shape(32.5f, 30.5f, 6.5f, 6.0f, 0, Coat::tabby);
        p.body[3] = ellipse_shape(14.5f, 31, 3.0f, 3.5f, 10, Coat::flat, cream);
        p.limbs[0] = make_limb(14.5f, 33, 15, 38.5f, 18.5f, 43, 2.4f, 1.9f, true);
        p.limbs[2] = make_limb(16, 33, 17, 38.5f, 21, 43, 2.7f, 2.0f, false);
        p.limbs[2].paw_angle = 20;
        p.limbs[1] = make_limb(35.5f, 32, 35.5f, 38.5f, 33, g - 0.5f, 2.6f, 1.9f, true);
        p.limbs[3] = make_limb(34, 31, 33, 38.5f, 30, g, 3.2f, 2.0f, false);
        p.head.x = 11, p.head.y = 25;
        p.tail = make_tail(38, 27, 44, 27, 48, 23);
        break;
    case 1:  // hind legs push off, forelegs reaching
        p.body[0] = capsule_shape(15, 31, 33, 32, 7.5f, 7.0f, Coat::tabby_belly);
        p.body[1] = capsule_shape(15, 30, 10, 27, 5.0f, 4.5f, Coat::flat, coat);
        p.limbs[0] = make_limb(16, 34, 10, 37, 6, 40, 2.6f, 2.0f, true);
        p.limbs[2] = make_limb(14, 35, 9, 39, 5, 42, 2.8f, 2.0f, false);
        p.limbs[1] = make_limb(32, 34, 36, 40, 41, g, 3.2f, 2.0f, true);
        p.limbs[3] = make_limb(34, 33, 39, 40, 44, g - 1, 4.6f, 2.0f, false);
        p.head.x = 8, p.head.y = 24;
        p.tail = make_tail(38, 30, 44, 30, 48, 24);
        break;
    case 2:  // stretched out in the air
        p.body[0] = capsule_shape(14, 30, 34, 31, 7.0f, 6.5f, Coat::tabby_belly);
        p.body[1] = capsule_shape(14, 29, 9, 26, 5.0f, 4.5f, Coat::flat, coat);
        p.limbs[0] = make_limb(14, 33, 8, 35, 3, 36, 2.6f, 2.0f, true);
        p.limbs[2] = make_limb(13, 34, 7, 37, 3, 39, 2.8f, 2.0f, false);
        p.limbs[1] = make_limb(33, 33, 39, 37, 45, 39, 3.2f, 2.0f, true);
        p.limbs[3] = make_limb(34, 32, 40, 37, 46, 41, 4.6f, 2.0f, false);
        p.head.x = 7, p.head.y = 23;
        p.tail = make_tail(39, 29, 44, 27, 48, 22);
        break;
    default:  // forepaws land, hind legs swing forward
        p.body[0] = capsule_shape(16, 33, 33, 31, 7.5f, 7.0f, Coat::tabby_belly);
        p.body[1] = capsule_shape(16, 32, 11, 28, 5.0f, 4.5f, Coat::flat, coat);
        p.limbs[0] = make_limb(17, 36, 14, 41, 12, g, 2.6f, 2.0f, true);
        p.limbs[2] = make_limb(15, 36, 12, 41, 9.5f, g, 2.8f, 2.0f, false);
        p.limbs[1] = make_limb(31, 33, 33, 39, 38, 42, 3.2f, 2.0f, true);
        p.limbs[3] = make_limb(33, 32, 36, 39, 40, 43, 4.6f, 2.0f, false);
        p.head.x = 9, p.head.y = 26;
        p.tail = make_tail(38, 29, 44, 28, 48, 23);
        break;
    }
    return p;
}

Pose front_stand() {
    Pose p;
    float g = foot_y();
    p.body[0] = ellipse_shape(25.0f, 35, 9.5f, 8.0f, 0, Coat::tabby);
    p.body[1] = ellipse_shape(25.0f, 34, 6.5f, 7.0f, 0, Coat::tabby);
    p.body[2] = ellipse_shape(25.0f, 32.5f, 3.5f, 4.0f, 0, Coat::flat, cream);
    p.limbs[0] = make_limb(16.5f, 39, 16, 42, 16, g, 2.6f, 2.0f, true);
    p.limbs[1] = make_limb(32.5f, 39, 33, 42, 33, g, 2.6f, 2.0f, true);
    p.limbs[2] = make_limb(21.5f, 36, 21.5f, 41, 21.5f, g, 2.7f, 2.1f, false);
    p.limbs[3] = make_limb(27.5f, 36, 27.5f, 41, 27.5f, g, 2.7f, 2.1f, false);
    p.tail = make_tail(30, 32, 38, 26, 35, 14);
    p.head = front_head(25.0f, 23);
    return p;
}

Pose front_sit() {
    Pose p;
    float g = foot_y();
    p.body[0] = ellipse_shape(25.0f, 39.5f, 12.0f, 7.5f, 0, Coat::tabby);
    p.body[1] = ellipse_shape(25.0f, 33, 8.0f, 9.5f, 0, Coat::tabby);
    p.body[2] = ellipse_shape(25.0f, 31, 4.0f, 5.0f, 0, Coat::flat, cream);
    p.limbs[0] = make_limb(16, 42, 15, 44, 15, g, 2.6f, 2.0f, false);
    p.limbs[1] = make_limb(33, 42, 34, 44, 34, g, 2.6f, 2.0f, false);
    p.limbs[2] = make_limb(22, 34, 22, 40, 22, g, 2.4f, 2.1f, false);
    p.limbs[3] = make_limb(27, 34, 27, 40, 27, g, 2.4f, 2.1f, false);
    p.head = front_head(25.0f, 21);
    return p;
}

Pose front_upright() {
    Pose p;
    float g = foot_y();
    p.body[0] = ellipse_shape(25.0f, 37, 8.0f, 8.0f, 0, Coat::tabby);
    p.body[1] = ellipse_shape(25.0f, 28, 7.0f, 9.5f, 0, Coat::tabby_chest);
    p.limbs[0] = make_limb(20, 42, 20, 44, 20, g, 3.0f, 2.1f, false);
    p.limbs[1] = make_limb(29, 42, 29, 44, 29, g, 3.0f, 2.1f, false);
    p.limbs[2] = make_limb(19, 23, 15, 19, 16, 14, 2.4f, 2.0f, false);
    p.limbs[3] = make_limb(30, 23, 34, 19, 33, 14, 2.4f, 2.0f, false);
    p.limbs[2].pads = p.limbs[3].pads = true;
    p.tail = make_tail(28, 42, 33, 45.2f, 37, 43);
    p.head = front_head(25.0f, 14);
    return p;
}

Pose front_bow() {
    Pose p;
    float g = foot_y();
    p.body[0] = ellipse_shape(25.0f, 29, 9.5f, 7.0f, 0, Coat::tabby);
    p.body[1] = ellipse_shape(25.0f, 40, 9.0f, 5.5f, 0, Coat::tabby);
    p.body[2] = ellipse_shape(25.0f, 41, 4.0f, 3.0f, 0, Coat::flat, cream);
    p.limbs[0] = make_limb(17, 34, 16, 40, 16, g, 2.6f, 2.0f, true);
    p.limbs[1] = make_limb(32, 34, 33, 40, 33, g, 2.6f, 2.0f, true);
    p.limbs[2] = make_limb(20, 41, 18, 44, 16.5f, g, 2.4f, 2.1f, false);
    p.limbs[3] = make_limb(29, 41, 31, 44, 32.5f, g, 2.4f, 2.1f, false);
    p.tail = make_tail(28, 24, 33, 16, 31, 8);
    p.head = front_head(25.0f, 34);
    return p;
}

Pose front_lie() {
    Pose p;
    p.body[0] = ellipse_shape(25.0f, 40, 14.0f, 7.0f, 0, Coat::tabby);
    p.body[1] = ellipse_shape(21.5f, 45, 2.8f, 1.8f, 0, Coat::flat, cream);
    p.body[2] = ellipse_shape(27.5f, 45, 2.8f, 1.8f, 0, Coat::flat, cream);
    p.head = front_head(25.0f, 31);
    p.head.scale = 1.1f;
    p.tail = make_tail(36, 43, 42, 45.6f, 47, 42);
    return p;
}

Pose back_stand() {
    Pose p;
    float g = foot_y();
    p.body[0] = ellipse_shape(25.0f, 31, 8.0f, 5.0f, 0, Coat::tabby);
    p.body[1] = ellipse_shape(25.0f, 37.5f, 10.0f, 7.5f, 0, Coat::tabby);
    p.limbs[0] = make_limb(22, 38, 22, 42, 22, g, 2.4f, 2.0f, true);
    p.limbs[1] = make_limb(28, 38, 28, 42, 28, g, 2.4f, 2.0f, true);
    p.limbs[2] = make_limb(18, 40, 17.5f, 43, 17.5f, g, 3.2f, 2.1f, false);
    p.limbs[3] = make_limb(32, 40, 32.5f, 43, 32.5f, g, 3.2f, 2.1f, false);
    p.tail = make_tail(25.0f, 36, 25.0f, 25, 26.5f, 18, layer_top);
    p.tail.r0 = 2.0f, p.tail.r1 = 1.5f;
    p.head = front_head(25.0f, 23);
    p.head.view = HeadView::back;
    p.head.layer = layer_far;
    return p;
}

Pose back_sit() {
    Pose p;
    p.body[0] = ellipse_shape(25.0f, 39, 11.0f, 8.0f, 0, Coat::tabby);
    p.body[1] = ellipse_shape(25.0f, 30, 7.5f, 8.0f, 0, Coat::tabby);
    p.tail = make_tail(33, 43.5f, 26, 45.6f, 15, 44.5f, layer_top);
    p.tail.r0 = 2.2f, p.tail.r1 = 1.8f;
    p.head = front_head(25.0f, 20);
    p.head.view = HeadView::back;
    return p;
}

Pose back_upright() {
    Pose p = front_upright();
    p.body[1].coat = Coat::tabby;
    p.head.view = HeadView::back;
    p.head.layer = layer_far;
    p.limbs[2].layer = p.limbs[3].layer = layer_far;
    p.limbs[2].dark = p.limbs[3].dark = true;
    p.limbs[2].pads = p.limbs[3].pads = false;
    p.tail = make_tail(25.0f, 40, 26, 44, 29, 45, layer_top);
    return p;
}

Pose back_climb(bool other) {
    Pose p;
    p.body[0] = ellipse_shape(25.0f, 34, 8.0f, 8.0f, 0, Coat::tabby);
    p.body[1] = ellipse_shape(25.0f, 24, 7.0f, 8.5f, 0, Coat::tabby);
    float s = other ? -1.0f : 1.0f;
    auto at = [&](float dx) { return 25.0f + s * dx; };
    p.limbs[0] = make_limb(at(-5), 20, at(-8), 14, at(-8), 9, 2.4f, 2.0f, true);
    p.limbs[1] = make_limb(at(5), 20, at(8), 19, at(9), 16, 2.4f, 2.0f, true);
    p.limbs[2] = make_limb(at(-6), 37, at(-10), 40, at(-9), 44, 3.0f, 2.1f, false);
    p.limbs[3] = make_limb(at(6), 36, at(10), 37, at(10), 40, 3.0f, 2.1f, false);
    p.tail = make_tail(25.0f, 40, 25.0f, 45, 25.0f + s * 1.5f, 48, layer_top);
    p.head = front_head(25.0f, 14);
    p.head.view = HeadView::back;
    p.head.layer = layer_far;
    return p;
}
