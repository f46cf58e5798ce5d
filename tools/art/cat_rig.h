// The cat as a small rig: one pose record says where every part of the cat is and what
// its face does; one renderer turns a pose into a 50 x 50 picture. The 170 images are a
// table of poses built from a few base poses, so that frames of one family share
// everything except what moves.
#pragma once

#include <cstdint>

#include "raster.h"

// Which way the head looks: profile (facing left), toward the viewer, or away.
enum class HeadView : uint8_t { side, front, back };
enum class Eyes : uint8_t { open, half, closed, wide, happy };
enum class Mouth : uint8_t { closed, open, yawn, tongue, meow, lick };
enum class Ears : uint8_t { up, back, flat, twitch };

// A body part: an ellipse (a, b centre; c, d radii; e angle) or a tapered capsule
// (a, b to c, d; radii e to f).
enum class ShapeKind : uint8_t { none, ellipse, capsule };
struct Shape {
    ShapeKind kind = ShapeKind::none;
    float a = 0, b = 0, c = 0, d = 0, e = 0, f = 0;
    Coat coat = Coat::tabby;
    uint8_t colour = 2;
};

// Drawing layers, back to front.
enum Layer : uint8_t { layer_far = 0, layer_near = 1, layer_top = 2 };

// A leg: top joint, middle joint, paw centre; radius r0 at the top, r1 at the paw.
struct Limb {
    bool on = false;
    float x[3] = {0, 0, 0};
    float y[3] = {0, 0, 0};
    float r0 = 2.6f, r1 = 2.0f;
    bool dark = false;       // the far side of the cat, in shade
    uint8_t layer = layer_near;
    float paw_angle = 0;     // tilt of the paw ellipse
    bool pads = false;       // sole seen from below: pink pads
};

struct Tail {
    bool on = false;
    float x0 = 0, y0 = 0, xc = 0, yc = 0, x1 = 0, y1 = 0;
    float r0 = 2.3f, r1 = 1.7f;
    uint8_t layer = layer_far;
};

struct Head {
    bool on = true;
    float x = 0, y = 0;
    float scale = 1.0f;
    float tilt = 0;          // degrees, clockwise on screen
    HeadView view = HeadView::side;
    float turn = 0;          // front view only: -1 looks to the viewer's left, 1 right
    Eyes eyes = Eyes::open;
    Mouth mouth = Mouth::closed;
    Ears ears = Ears::up;
    float look_x = 0, look_y = 0;  // pupil offset, pixels
    bool upside_down = false;  // flipped top to bottom: lying on the back, chin up
    uint8_t layer = layer_near;
};

enum class Mark : uint8_t { none, sleep_small, sleep_large, dust, motion, shake, sweat,
                            speed_up, alarm };

constexpr int max_shapes = 6;
constexpr int max_limbs = 4;

struct Pose {
    Shape body[max_shapes];  // drawn in order between the far and the near layer
    Limb limbs[max_limbs];
    Tail tail;
    Head head;
    bool thigh = false;      // sitting: a fold line round the front of the haunch (body[2])
    Mark mark = Mark::none;
    float mark_x = 0, mark_y = 0;
};

// Draws the pose on a fresh clear 50 x 50 canvas.
Canvas render_pose(const Pose& pose);

// Pose between a and b: every position and size blended by t (0 = a, 1 = b); discrete
// choices (eyes, mouth, view, layers) come from the nearer of the two.
Pose blend_poses(const Pose& a, const Pose& b, float t);

// Moves every part of the pose by (dx, dy).
void shift_pose(Pose& pose, float dx, float dy);
