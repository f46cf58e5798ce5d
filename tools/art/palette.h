// The cat's sixteen colours. The last entry is the key colour that marks everything that
// is not the cat; no drawing ever uses it.
#pragma once

#include <cstdint>

struct Rgb {
    uint8_t r, g, b;
};

enum : uint8_t {
    ink = 0,          // outline, pupils, dark seams
    coat_dark = 1,    // tabby stripes, far-side limbs
    coat = 2,         // main orange fur
    coat_light = 3,   // light orange
    cream = 4,        // muzzle, chest, belly, paws
    white = 5,        // eye shine, teeth, dust
    pink = 6,         // nose, inner ears, tongue
    mouth_red = 7,    // open mouth
    eye_green = 8,
    mark_blue = 9,    // sleep marks and motion strokes
    grey_light = 10,  // dust puffs
    grey = 11,
    shadow = 12,      // inner ear, shaded fur
    spare_a = 13,
    spare_b = 14,
    key = 15,         // pure cyan, never part of the cat
};

constexpr int palette_size = 16;

constexpr Rgb cat_palette[palette_size] = {
    {44, 26, 20},    {186, 92, 34},  {236, 146, 58},  {248, 184, 110},
    {252, 232, 196}, {255, 255, 255}, {236, 132, 150}, {150, 36, 48},
    {112, 186, 64},  {52, 72, 168},  {214, 214, 206}, {150, 150, 146},
    {150, 70, 40},   {96, 56, 40},    {255, 214, 160}, {0, 255, 255},
};
