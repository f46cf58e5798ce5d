// Base poses of the cat that whole families of images are variations of. Every base
// faces left and stands, sits or lies on the shared ground line.
#pragma once

#include "cat_rig.h"

// Lowest row of any paw or body on the ground.
constexpr int ground_row = 47;

Shape ellipse_shape(float cx, float cy, float rx, float ry, float angle,
                    Coat coat = Coat::tabby, uint8_t colour = 2);
Shape capsule_shape(float x0, float y0, float x1, float y1, float r0, float r1,
                    Coat coat = Coat::tabby, uint8_t colour = 2);
Limb make_limb(float x0, float y0, float x1, float y1, float x2, float y2, float r0,
               float r1, bool dark, uint8_t layer = layer_near);
Tail make_tail(float x0, float y0, float xc, float yc, float x1, float y1,
               uint8_t layer = layer_far);
// y of a paw centre whose outline just touches the ground line, for paw radius r1.
float foot_y(float r1 = 2.0f);

// Side views (profile facing left).
Pose side_stand();
Pose side_sit();
Pose side_sit_wrapped();  // sitting, face turned toward the viewer, tail round the paws
Pose side_sphinx();       // lying on the belly, forelegs forward, head up
Pose side_lie();          // lying on its side, legs stretched out
Pose side_loaf();         // lying with every paw tucked under
Pose side_curl();         // curled in a ball, nose to tail
Pose side_on_back();      // on its back, paws folded in the air
Pose side_upright();      // standing up on the hind legs
Pose side_crouch();       // crouched low, hind legs coiled
Pose side_crouch_up();    // crouched, head raised toward something above
Pose side_cello();        // sitting back, one hind leg straight up
Pose side_leap_down();    // in the air, diving down-left: forepaws reaching for the ground
Pose side_leap_up();      // in the air, springing up-left: forepaws reaching for the ledge
// Walk cycle frame 0..5 and gallop frame 0..3.
Pose side_walk(int frame);
Pose side_gallop(int frame);

// Front views (facing the viewer), centred on the cell.
Pose front_stand();
Pose front_sit();
Pose front_upright();
Pose front_lie();
Pose front_bow();  // play bow: chest down, forelegs out, rump and tail up

// Back views (facing away), centred on the cell.
Pose back_stand();
Pose back_sit();
Pose back_upright();
Pose back_climb(bool other);
