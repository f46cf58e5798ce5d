// The 170 images as a table of poses: each image is a base pose with the few parts that
// move in its family changed. Image numbers below are 1-based, as the action tables
// write them.
#include "cat.h"

#include <cstddef>
#include <vector>

#include "cat_bases.h"
#include "palette.h"

namespace {

Pose with_face(Pose p, Eyes eyes, Mouth mouth = Mouth::closed) {
    p.head.eyes = eyes;
    p.head.mouth = mouth;
    return p;
}

// A breath: the back rises a pixel while the belly stays on the ground.
void breathe_in(Pose& p) {
    Shape& s = p.body[0];
    if (s.kind == ShapeKind::capsule) s.b -= 0.5f, s.d -= 0.5f, s.e += 0.5f, s.f += 0.5f;
    else s.b -= 0.5f, s.d += 0.5f;
}

Pose with_mark(Pose p, Mark mark, float x, float y) {
    p.mark = mark;
    p.mark_x = x, p.mark_y = y;
    return p;
}

// Standing with the body bent into a C, head turned back toward the tail tip.
Pose chase_side() {
    Pose p = side_stand();
    p.head.view = HeadView::front;
    p.head.turn = 0.9f;
    p.head.x = 15, p.head.y = 25, p.head.tilt = 10;
    p.tail = make_tail(38, 29, 42, 14, 28, 17, layer_far);
    return p;
}

// Braking hard out of the gallop: forelegs braced far ahead, body leaning back.
Pose skid() {
    Pose p = side_gallop(3);
    float g = foot_y();
    p.body[0] = capsule_shape(16, 33, 32, 35, 7.5f, 7.0f, Coat::tabby_belly);
    p.limbs[0] = make_limb(17, 36, 12, 41, 9, g, 2.6f, 2.0f, true);
    p.limbs[2] = make_limb(15, 36, 10, 41, 6, g, 2.8f, 2.0f, false);
    p.limbs[1] = make_limb(31, 37, 33, 42, 30, g, 3.2f, 2.0f, true);
    p.limbs[3] = make_limb(33, 36, 36, 42, 33, g, 4.6f, 2.0f, false);
    p.head.x = 11, p.head.y = 25, p.head.tilt = 12;
    p.head.eyes = Eyes::wide;
    return p;
}

// Crouched low with the hind legs thrusting back: the first push into a gallop.
Pose push_off() {
    Pose p = side_crouch();
    float g = foot_y();
    p.head.ears = Ears::back;
    p.head.tilt = 0, p.head.look_y = 0;
    p.head.y = 31;
    p.limbs[1] = make_limb(31, 40, 37, 43, 41, g, 3.0f, 2.0f, true);
    p.limbs[3] = make_limb(32, 38, 39, 42, 44, g, 4.4f, 2.0f, false);
    p.tail = make_tail(38, 35, 44, 34, 49, 30);
    return p;
}

Pose pose_for(int n) {
    switch (n) {
    // Hubs.
    case 1: return side_stand();
    case 2: return front_stand();
    case 3: return front_sit();
    case 4: return side_sit();
    // Walk and gallop.
    case 5: case 6: case 7: case 8: case 9: case 10: return side_walk(n - 5);
    case 11: case 12: case 13: case 14: return side_gallop(n - 11);
    // Turn-tables.
    case 15: {
        Pose p = side_stand();
        p.head.view = HeadView::front;
        p.head.turn = -0.6f;
        p.head.x = 12;
        return p;
    }
    case 16: {
        Pose p = blend_poses(side_stand(), front_stand(), 0.7f);
        p.head.turn = -0.25f;
        return p;
    }
    case 17: {
        Pose p = blend_poses(side_stand(), back_stand(), 0.35f);
        return p;
    }
    case 18: {
        Pose p = blend_poses(side_stand(), back_stand(), 0.75f);
        return p;
    }
    case 19: return back_stand();
    // Front face wash.
    case 20: case 21: {
        Pose p = front_sit();
        p.limbs[2] = make_limb(22, 34, 19, 30, 21, 25, 2.4f, 2.1f, false, layer_top);
        p.head.eyes = n == 21 ? Eyes::closed : Eyes::half;
        p.head.mouth = n == 20 ? Mouth::lick : Mouth::closed;
        if (n == 21) p.limbs[2].x[2] = 18, p.limbs[2].y[2] = 20;
        return p;
    }
    case 22: case 23: {
        Pose p = front_sit();
        p.head.turn = n == 22 ? -0.5f : -1.0f;
        if (n == 23) {
            p.head.view = HeadView::side;
            p.head.x = 23;
        }
        return p;
    }
    case 24: case 25: case 26: case 27: case 36: {
        Pose p = front_sit();
        static const float dx[] = {-5, -6, -7, -8};
        int k = n == 36 ? 0 : n - 24;
        p.head.view = HeadView::side;
        p.head.x = 19.5f + dx[k] + 5;
        p.head.y = 27 + 1.5f * k;
        p.head.tilt = -30 - 8 * k;
        p.head.eyes = Eyes::closed;
        p.head.mouth = (n == 36 || n >= 25) ? Mouth::lick : Mouth::closed;
        return p;
    }
    // Tail chase: the cat turns a full circle on the spot, head bent round toward its
    // tail, seen from the left, from behind, from the right and from the front.
    case 28: case 32: return chase_side();
    case 29: case 30: case 31: {
        Pose p = back_stand();
        float s = n == 31 ? 1.0f : -1.0f;
        p.head.x = 25.0f + (n == 30 ? 7.0f : 5.0f) * s;
        p.head.tilt = 12 * s;
        p.tail = make_tail(25.0f, 34, 25.0f + 8 * s, 33, 25.0f + 12 * s, 24, layer_top);
        return p;
    }
    case 33: case 34: {
        Pose p = front_stand();
        float s = n == 33 ? 1.0f : -1.0f;
        p.head.x = 25.0f + 3 * s;
        p.head.turn = 0.7f * s;
        p.tail = make_tail(25.0f + 7 * s, 36, 25.0f + 14 * s, 30, 25.0f + 11 * s, 22);
        return p;
    }
    case 35: {
        Pose p = front_sit();
        p.head.turn = -0.5f;
        p.tail = make_tail(33, 44, 38, 40, 37, 33);
        return p;
    }
    case 154: {
        Pose p = blend_poses(front_sit(), front_stand(), 0.5f);
        p.head.turn = 0.6f;
        p.head.x = 26;
        p.tail = make_tail(31, 38, 38, 36, 38, 28);
        return p;
    }
    case 37: return with_face(front_sit(), Eyes::half, Mouth::meow);
    case 38: return with_face(side_sit(), Eyes::open, Mouth::meow);
    case 39: case 40: {
        Pose p = front_sit();
        p.head.tilt = 0;
        p.head.y = 20;
        p.head.eyes = n == 39 ? Eyes::half : Eyes::closed;
        p.head.mouth = n == 39 ? Mouth::open : Mouth::yawn;
        if (n == 40) p.head.ears = Ears::back;
        return p;
    }
    case 41: return side_sit_wrapped();
    case 42: case 43: case 44: {
        Pose p = side_sit();
        p.limbs[2] = make_limb(18, 31, 14, 28, 12, 25, 2.6f, 2.0f, false, layer_top);
        if (n == 42) p.limbs[2].x[2] = 13, p.limbs[2].y[2] = 19;
        p.head.eyes = n == 42 ? Eyes::closed : Eyes::half;
        p.head.mouth = n == 44 ? Mouth::lick : Mouth::closed;
        // Licking, the paw drops a little below the chin, so the tongue shows above it.
        if (n == 44) p.limbs[2].x[2] = 13, p.limbs[2].y[2] = 26;
        return p;
    }
    case 45: case 46: case 47: {
        Pose p = side_sit();
        p.head.x = 17, p.head.y = n == 47 ? 23 : 25;
        p.head.tilt = -30;
        p.head.eyes = Eyes::closed;
        if (n != 45) p.head.mouth = Mouth::lick;
        return p;
    }
    case 48: case 49: {
        Pose p = side_sit();
        p.head.tilt = 25;
        p.head.y = 19;
        p.head.look_y = -1;
        p.head.mouth = n == 48 ? Mouth::open : Mouth::closed;
        return p;
    }
    case 50: return with_face(side_sit_wrapped(), Eyes::closed);
    case 51: case 52: case 53: {
        Pose p = side_sit();
        p.head.tilt = 15;
        p.head.eyes = n == 51 ? Eyes::half : Eyes::closed;
        p.head.mouth = n == 51 ? Mouth::open : Mouth::yawn;
        if (n == 53) p.head.ears = Ears::back;
        return p;
    }
    case 54: case 55: {
        Pose p = side_sit();
        p.head.tilt = 10;
        p.head.eyes = Eyes::happy;
        if (n == 55) p.head.ears = Ears::twitch;
        return p;
    }
    case 56: case 57: case 58: {
        Pose p = side_stand();
        if (n == 56) p.tail = make_tail(38, 29, 42, 18, 38, 10);
        if (n == 57) p.tail = make_tail(38, 29, 47, 22, 45, 12);
        if (n == 58) p.tail = make_tail(38, 30, 46, 34, 47, 24);
        return p;
    }
    case 59: return side_sphinx();
    case 60: return with_face(side_sphinx(), Eyes::closed);
    case 61: return with_face(side_sphinx(), Eyes::half);
    case 62: {
        Pose p = with_face(side_sphinx(), Eyes::closed);
        p.head.y += 1.5f;
        return p;
    }
    case 63: case 64: case 65: {
        Pose p = side_stand();
        // Head down in front of the forelegs, nose near the ground; the legs stay in view.
        p.head.x = 9.5f, p.head.y = 37, p.head.tilt = -30;
        p.body[1] = capsule_shape(16, 31, 11, 34, 5.0f, 4.5f, Coat::flat, coat);
        if (n == 64) p.head.y = 38, p.tail.x1 = 40;
        if (n == 65) p.head.x = 8.5f, p.tail.x1 = 46;
        return p;
    }
    case 66: case 67: {
        Pose p = side_stand();
        p.head.tilt = 20;
        p.head.y = 23;
        p.head.mouth = n == 67 ? Mouth::meow : Mouth::closed;
        return p;
    }
    case 68: return back_climb(false);
    case 69: {
        Pose p = back_climb(false);
        p.limbs[0] = make_limb(19, 20, 15, 15, 14, 11, 2.4f, 2.0f, true);
        p.limbs[1] = make_limb(30, 20, 34, 15, 35, 11, 2.4f, 2.0f, true);
        p.limbs[2] = make_limb(18.5f, 37, 14, 39, 13, 43, 3.0f, 2.1f, false);
        p.limbs[3] = make_limb(30.5f, 37, 35, 39, 36, 43, 3.0f, 2.1f, false);
        return with_mark(p, Mark::speed_up, 21, 7);
    }
    case 70: {
        Pose p = back_stand();
        p.tail = make_tail(25.0f, 34, 31, 24, 38, 20, layer_top);
        return p;
    }
    case 71: case 72: {
        Pose p = with_face(side_sphinx(), Eyes::closed);
        p.head.y = 37, p.head.x = 11, p.head.tilt = -10;
        if (n == 72) breathe_in(p);
        return with_mark(p, n == 71 ? Mark::sleep_small : Mark::sleep_large, 8, 24);
    }
    case 73: return blend_poses(side_sit(), side_sphinx(), 0.5f);
    case 74: return side_lie();
    case 75: {
        Pose p = side_lie();
        p.tail = make_tail(39, 40, 45, 40, 47, 33);
        return p;
    }
    case 76: case 77: {
        Pose p = with_face(side_lie(), Eyes::closed);
        p.head.y = 39, p.head.tilt = -15;
        if (n == 77) breathe_in(p);
        return with_mark(p, n == 76 ? Mark::sleep_small : Mark::sleep_large, 8, 28);
    }
    case 78: case 79: case 80: {
        Pose p = side_lie();
        float up = float(n - 78);
        p.limbs[2] = make_limb(21, 41, 18, 38 - 2 * up, 21, 35 - 4 * up, 2.5f, 2.0f, false, layer_top);
        return p;
    }
    case 81: case 82: {
        Pose p = side_on_back();
        if (n == 82) breathe_in(p);
        return with_mark(p, n == 81 ? Mark::sleep_small : Mark::sleep_large, 8, 24);
    }
    case 83: case 84: case 85: {
        Pose p = side_on_back();
        float k = float(n - 82) / 3.0f;
        p.limbs[0].x[2] -= 6 * k, p.limbs[0].y[2] -= 4 * k;
        p.limbs[2].x[2] -= 7 * k, p.limbs[2].y[2] -= 3 * k;
        p.limbs[1].x[2] += 6 * k, p.limbs[1].y[2] -= 4 * k;
        p.limbs[3].x[2] += 8 * k, p.limbs[3].y[2] -= 3 * k;
        p.head.mouth = n == 83 ? Mouth::closed : (n == 84 ? Mouth::open : Mouth::yawn);
        return p;
    }
    case 86: case 87: {
        Pose p = side_curl();
        if (n == 87) p.body[0].b -= 0.7f, p.body[0].d += 0.7f;
        return with_mark(p, n == 86 ? Mark::sleep_small : Mark::sleep_large, 10, 26);
    }
    case 88: return blend_poses(side_lie(), side_sphinx(), 0.3f);
    case 89: return blend_poses(side_lie(), side_sphinx(), 0.8f);
    case 90: return blend_poses(side_sphinx(), side_sit(), 0.4f);
    case 91: return blend_poses(side_sphinx(), side_sit(), 0.8f);
    case 92: case 93: {
        Pose p = front_sit();
        p.head.look_y = -2;
        p.head.tilt = 0;
        p.head.y = 20;
        if (n == 93) p.head.ears = Ears::twitch;
        return p;
    }
    case 94: case 95: case 96: {
        // The hind leg on the viewer's right comes up outside the body to the ear, and the
        // head tips toward it.
        Pose p = front_sit();
        p.head.tilt = 15;
        p.head.eyes = n == 94 ? Eyes::half : Eyes::closed;
        static const float kx[3] = {39, 39.5f, 39.5f}, ky[3] = {38, 31, 32};
        static const float fx[3] = {37, 33.5f, 34.5f}, fy[3] = {30, 17.5f, 19.5f};
        int k = n - 94;
        p.limbs[1] = make_limb(33, 42, kx[k], ky[k], fx[k], fy[k], 2.6f, 2.0f, false, layer_top);
        if (n == 96) return with_mark(p, Mark::shake, 38, 14);
        return p;
    }
    case 97: return front_upright();
    case 98: {
        Pose p = front_upright();
        p.limbs[2].x[2] = 14, p.limbs[2].y[2] = 17;
        p.limbs[3].x[2] = 35, p.limbs[3].y[2] = 17;
        p.limbs[0].x[2] = 18;
        p.limbs[1].x[2] = 31;
        return p;
    }
    case 99: {
        // Tumbling: the whole cat tipped to the viewer's left, one foreleg flung up, the
        // other out to the side, hind legs kicking; shown alternately with its mirror.
        Pose p = front_upright();
        p.head.eyes = Eyes::wide;
        p.head.x = 23, p.head.y = 15, p.head.tilt = -10;
        p.body[1].a = 24, p.body[1].e = -12;
        p.body[0].e = -6;
        p.limbs[2] = make_limb(19, 23, 12, 20, 7.5f, 14, 2.4f, 2.0f, false);
        p.limbs[3] = make_limb(29, 24, 35, 25, 41, 28, 2.4f, 2.0f, false);
        p.limbs[0] = make_limb(20, 41, 14, 43, 10, 41, 3.0f, 2.1f, false);
        p.limbs[1] = make_limb(29, 42, 32, 44, 33, foot_y(), 3.0f, 2.1f, false);
        p.tail = make_tail(30, 41, 38, 45, 43, 40, layer_far);
        return p;
    }
    case 100: {
        Pose p = front_upright();
        p.head.eyes = Eyes::wide;
        p.limbs[2] = make_limb(19, 24, 13, 22, 8, 20, 2.4f, 2.0f, false);
        p.limbs[3] = make_limb(30, 24, 36, 22, 41, 20, 2.4f, 2.0f, false);
        p.limbs[0] = make_limb(20, 41, 14, 42, 9, 40, 3.0f, 2.1f, false);
        p.limbs[1] = make_limb(29, 41, 35, 42, 40, 40, 3.0f, 2.1f, false);
        p.tail = make_tail(25.0f, 42, 25.0f, 45, 25.0f, 46, layer_far);
        return p;
    }
    case 101: {
        Pose p = front_lie();
        p.head.eyes = Eyes::closed;
        p.limbs[0] = make_limb(14, 43, 10, 44, 7, foot_y(), 2.4f, 2.0f, false);
        p.limbs[1] = make_limb(35, 43, 39, 44, 42, foot_y(), 2.4f, 2.0f, false);
        return with_mark(p, Mark::dust, 6, 46);
    }
    case 102: case 103: {
        Pose p = front_sit();
        p.head.y = n == 102 ? 25 : 23;
        p.head.eyes = Eyes::closed;
        p.head.mouth = Mouth::lick;
        return p;
    }
    case 104: case 105: case 106: {
        Pose p = side_sit();
        float k = float(n - 104);
        p.head.tilt = 15 * k;
        p.head.look_y = -1.5f * k;
        p.head.look_x = -2;
        p.head.eyes = Eyes::wide;
        return p;
    }
    case 107: case 108: {
        Pose p = front_stand();
        if (n == 107) p.limbs[2].y[2] -= 4, p.limbs[2].y[1] -= 2;
        else p.body[0].a -= 1, p.head.x -= 1;
        return p;
    }
    case 109: case 110: case 111: case 112: {
        // The near hind leg comes forward and up over the shoulder to the back of the
        // ear; drawn on top, so the whole leg shows against the body.
        Pose p = side_sit();
        static const float kx[4] = {29, 27.5f, 27.5f, 27.5f}, ky[4] = {38, 31, 31, 31.5f};
        static const float fx[4] = {25, 22.5f, 22.5f, 21.5f}, fy[4] = {40, 19, 17.5f, 19.5f};
        int k = n - 109;
        p.limbs[3] = make_limb(31, 41, kx[k], ky[k], fx[k], fy[k], 3.0f, 2.0f, false, layer_top);
        p.head.tilt = k > 0 ? 20 : 0;
        if (k >= 2) p.head.eyes = Eyes::closed;
        if (n == 112) return with_mark(p, Mark::shake, 26, 14);
        return p;
    }
    case 113: {
        Pose p = side_sit();
        p.head.tilt = -20;
        p.head.look_y = 1;
        return p;
    }
    case 114: {
        Pose p = side_crouch();
        p.body[0].d -= 2, p.body[2].b -= 2;
        p.head.y += 1;
        return p;
    }
    case 115: {
        // Pounce: stretched forward, forepaws slammed down well ahead.
        Pose p = side_crouch();
        p.body[0] = capsule_shape(14, 38, 32, 35, 6.5f, 7.0f, Coat::tabby_belly);
        p.body[1] = capsule_shape(14, 37, 10, 36, 4.5f, 4.5f, Coat::flat, coat);
        p.limbs[2] = make_limb(14, 41, 8, 43, 4, foot_y(), 2.6f, 2.0f, false);
        p.limbs[0] = make_limb(16, 41, 11, 43, 7, foot_y(), 2.4f, 2.0f, true);
        p.head.x = 9, p.head.y = 34, p.head.tilt = -12;
        return p;
    }
    case 116: case 117: {
        Pose p = side_crouch();
        p.head.y = 36, p.head.tilt = -20;
        if (n == 116) p.limbs[2].y[2] -= 3;
        else p.limbs[0].y[2] -= 3;
        return p;
    }
    case 118: return with_face(side_stand(), Eyes::half, Mouth::tongue);
    case 119: return with_face(side_stand(), Eyes::half, Mouth::lick);
    case 120: case 121: {
        Pose p = blend_poses(side_sit(), side_cello(), n == 120 ? 0.35f : 0.7f);
        return p;
    }
    case 122: return side_cello();
    case 123: return with_face(side_cello(), Eyes::closed);
    case 124: case 125: {
        // The head turns back toward the raised leg and licks along it, tongue on the fur.
        Pose p = side_cello();
        p.head.view = HeadView::front;
        p.head.turn = 0.9f;
        p.head.x = 23, p.head.y = n == 124 ? 25 : 23;
        p.head.tilt = 12;
        p.head.eyes = Eyes::closed;
        p.head.mouth = Mouth::lick;
        return p;
    }
    case 126: return side_upright();
    case 127: {
        Pose p = side_upright();
        p.limbs[2].x[2] = 16, p.limbs[2].y[2] = 31;
        p.limbs[0].x[2] = 17, p.limbs[0].y[2] = 22;
        return p;
    }
    case 128: return side_crouch();
    case 129: {
        Pose p = side_crouch();
        p.body[0].d -= 1, p.body[2].b -= 1;
        p.tail.y1 = 34, p.tail.yc = 34;
        return p;
    }
    case 130: return side_leap_down();
    case 131: {
        Pose p = side_crouch();
        p.body[0] = capsule_shape(15, 37, 30, 30, 6.5f, 6.5f, Coat::tabby);
        p.body[2] = ellipse_shape(31, 30, 6.5f, 6.0f, 0, Coat::tabby);
        p.limbs[1] = make_limb(30, 32, 35, 33, 38, 36, 3.0f, 2.0f, true);
        p.limbs[3] = make_limb(32, 31, 37, 33, 41, 37, 4.0f, 2.0f, false);
        p.tail = make_tail(35, 28, 42, 26, 47, 28);
        return p;
    }
    case 132: return side_crouch_up();
    case 133: {
        Pose p = side_crouch_up();
        p.body[0].b += 1, p.body[0].d += 1;
        p.head.y += 1;
        return p;
    }
    case 134: {
        Pose p = side_crouch_up();
        p.body[0].b += 1, p.body[0].d -= 1;
        p.head.y += 1;
        p.tail.y1 = 34;
        return p;
    }
    case 135: return side_leap_up();
    case 136: {
        Pose p = side_crouch();
        p.limbs[1] = make_limb(31, 40, 34, 43, 29, foot_y() - 2, 3.0f, 2.0f, true);
        p.limbs[3] = make_limb(32, 38, 36, 44, 31, foot_y() - 1, 4.4f, 2.0f, false);
        return p;
    }
    case 137: case 138: {
        Pose p = side_sit();
        p.head.tilt = 25;
        p.head.eyes = Eyes::half;
        if (n == 137) p.head.x -= 0.6f;
        return p;
    }
    case 139: return front_lie();
    case 140: return with_face(front_lie(), Eyes::closed);
    case 141: case 142: {
        Pose p = front_stand();
        p.limbs[2] = make_limb(21.5f, 36, 18, 39, n == 141 ? 17 : 14, n == 141 ? 40 : 37, 2.7f,
                               2.1f, false);
        if (n == 142) return with_mark(p, Mark::shake, 10, 36);
        return p;
    }
    case 143: return side_loaf();
    case 144: {
        Pose p = side_loaf();
        p.tail.x1 = 20, p.tail.y1 = 43;
        return p;
    }
    case 145: return with_face(side_loaf(), Eyes::closed);
    case 146: {
        Pose p = with_face(side_loaf(), Eyes::closed);
        p.head.y += 1;
        return p;
    }
    case 147: return back_sit();
    case 148: {
        Pose p = back_sit();
        p.head.ears = Ears::twitch;
        p.head.tilt = 8;
        return p;
    }
    case 149: case 150: {
        Pose p = side_sit();
        p.head.view = HeadView::front;
        p.head.turn = 0.8f;
        p.head.x = 19;
        if (n == 150) p.tail = make_tail(37, 44, 44, 47, 48, 38);
        return p;
    }
    case 151: {
        Pose p = front_upright();
        p.limbs[2] = make_limb(19, 23, 16, 15, 16, 8, 2.4f, 2.0f, false);
        return p;
    }
    case 152: {
        Pose p = back_upright();
        p.limbs[2] = make_limb(19, 23, 16, 15, 16, 8, 2.4f, 2.0f, true);
        return p;
    }
    case 153: {
        Pose p = front_sit();
        p.head.tilt = -18;
        return p;
    }
    case 155: case 156: case 157: {
        Pose p = side_sit();
        p.limbs[2] = make_limb(18, 31, 14, 29, 12, 26, 2.6f, 2.0f, false, layer_top);
        if (n == 157) p.head.y += 1, p.head.tilt = -8;
        if (n != 155) p.head.mouth = Mouth::lick, p.limbs[2].x[2] = 13, p.limbs[2].y[2] = 27;
        p.head.eyes = n == 155 ? Eyes::open : Eyes::half;
        return p;
    }
    case 158: return with_mark(skid(), Mark::dust, 3, 46);
    case 159: {
        Pose p = front_lie();
        p.body[0] = ellipse_shape(28, 40, 11.0f, 7.0f, 0, Coat::tabby_belly);
        p.limbs[2] = make_limb(23, 44, 21, 40, 19, 36, 2.4f, 2.0f, false);
        p.limbs[3] = make_limb(32, 44, 35, 40, 37, 36, 2.4f, 2.0f, false);
        p.head.x = 18, p.head.y = 37, p.head.tilt = -30;
        p.tail = make_tail(37, 41, 43, 44, 47, 39);
        return p;
    }
    case 164: return push_off();
    case 162: return blend_poses(side_stand(), back_stand(), 0.6f);
    case 163: {
        Pose p = back_stand();
        p.head.x = 22;
        p.body[0].e = -8;
        return p;
    }
    case 165: case 166: case 167: {
        // Forelegs walk out in front and the chest sinks into a play bow.
        static const float t[3] = {0.3f, 0.65f, 1.0f};
        Pose p = blend_poses(front_sit(), front_bow(), t[n - 165]);
        // The tail comes up over the back as the rump rises.
        if (n == 166) p.tail = make_tail(28, 27, 33, 22, 32, 16);
        if (n == 167) p.head.eyes = Eyes::closed, p.head.ears = Ears::back;
        return p;
    }
    case 168: {
        Pose p = front_lie();
        p.limbs[0] = make_limb(14, 43, 10, 44, 7, foot_y(), 2.4f, 2.0f, false);
        p.limbs[1] = make_limb(35, 43, 39, 44, 42, foot_y(), 2.4f, 2.0f, false);
        return p;
    }
    case 169: {
        // On its back, belly to the viewer, all four paws up in the air.
        Pose p;
        p.body[0] = ellipse_shape(25.0f, 37.5f, 10.5f, 9.5f, 0, Coat::tabby);
        p.body[1] = ellipse_shape(25.0f, 38.5f, 6.5f, 7.0f, 0, Coat::flat, cream);
        p.limbs[0] = make_limb(19, 33, 14, 31, 14, 26, 2.3f, 2.0f, false, layer_top);
        p.limbs[1] = make_limb(31, 33, 36, 31, 36, 26, 2.3f, 2.0f, false, layer_top);
        p.limbs[2] = make_limb(17, 42, 11, 43, 6.5f, 39, 3.0f, 2.1f, false);
        p.limbs[3] = make_limb(33, 42, 39, 43, 43.5f, 39, 3.0f, 2.1f, false);
        for (Limb& l : p.limbs) l.pads = true;
        p.head = Head{};
        p.head.view = HeadView::front;
        p.head.x = 25.0f, p.head.y = 24;
        p.head.eyes = Eyes::happy;
        p.head.ears = Ears::back;
        return p;
    }
    case 170: {
        Pose p = front_lie();
        p.body[0].e = 10;
        p.head.x = 21, p.head.tilt = -15;
        p.limbs[0] = make_limb(16, 43, 14, 45, 12, foot_y(), 2.4f, 2.0f, false);
        return p;
    }
    default: return side_stand();
    }
}

// Fills see-through gaps of a few pixels enclosed by the cat with outline colour: where
// shapes meet at a slant they can leave a pinhole that would show the desktop through
// the window. Larger gaps (inside a curled tail) are part of the pose and stay.
Canvas close_pinholes(Canvas c) {
    constexpr int largest_pinhole = 6;
    const int w = c.width, h = c.height;
    std::vector<char> seen(std::size_t(w) * h, 0);
    std::vector<int> region, todo;
    for (int start = 0; start < w * h; ++start) {
        if (seen[start] || c.pixels[start] != clear_pixel) continue;
        region.clear();
        todo.assign(1, start);
        seen[start] = 1;
        bool border = false;
        while (!todo.empty()) {
            int i = todo.back(), x = i % w, y = i / w;
            todo.pop_back();
            region.push_back(i);
            if (x == 0 || y == 0 || x == w - 1 || y == h - 1) border = true;
            const int next[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
            for (const auto& n : next) {
                if (n[0] < 0 || n[1] < 0 || n[0] >= w || n[1] >= h) continue;
                int j = n[1] * w + n[0];
                if (!seen[j] && c.pixels[j] == clear_pixel) seen[j] = 1, todo.push_back(j);
            }
        }
        if (!border && int(region.size()) <= largest_pinhole)
            for (int i : region) c.pixels[i] = ink;
    }
    return c;
}

}  // namespace

Canvas draw_cat_image(int index) {
    if (index < 0 || index >= cat_image_count) return make_canvas(cat_cell_size, cat_cell_size);
    // The middle of the tail chase is the only right-facing view of that turn: the
    // left-facing one flipped.
    if (index + 1 == 32) return close_pinholes(mirrored(render_pose(chase_side())));
    // The push-off after the skid-turn and the skid out of a rightward gallop face right.
    if (index + 1 == 160) return close_pinholes(mirrored(render_pose(push_off())));
    if (index + 1 == 161)
        return close_pinholes(mirrored(render_pose(with_mark(skid(), Mark::dust, 4, 45))));
    // The skid-turn out of a rightward gallop swings round through the back view, so its
    // first 3/4 rear view still has the head on the right, where the cat was heading.
    if (index + 1 == 162) return close_pinholes(mirrored(render_pose(pose_for(162))));
    return close_pinholes(render_pose(pose_for(index + 1)));
}
