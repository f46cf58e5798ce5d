// The screenshot probe's judgement, apart from its command line: takes a screenshot of a
// desktop of one known colour, and says which of the sheet's pictures the pet shows
// there, where and at which scale, or why none.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Shot {
    int w, h;
    std::vector<uint32_t> rgb;  // 0xRRGGBB, row by row
};

struct ShotArea {
    int x, y, w, h;
};

struct FoundPet {
    int picture;  // plain images first, then mirrored ones
    int x, y;     // the window's corner in the shot
    int scale;
};

// A binary PPM (P6, 255), as grim -t ppm writes it.
bool read_ppm(const char* path, Shot* shot);

// The pet in |area| of the shot (the whole shot when empty), at |scale| screen pixels a
// pet pixel, or at the first of 1 to 8 that fits when |scale| is 0. Found only when
// every pixel of the area is |background| except the picture's opaque pixels, each
// exactly the sheet's colour and each pet pixel a solid block; otherwise false, with
// the plainest fault in |why| (a square of black round the cat, more than one picture's
// extent, colours of no picture, the nearest picture's first wrong pixel).
bool find_pet(const Shot& shot, ShotArea area, uint32_t background, int scale, FoundPet* found, std::string* why);

// The pet at |scale| with its window's corner up to |reach| pixels either way from (x, y),
// the rectangle |unseen| (the pointer's cursor drawn over the pet) left out: every other
// pixel of the shot is |background| but the picture's opaque ones, each exactly the
// sheet's colour. False otherwise, with why in |why|.
bool find_pet_near(const Shot& shot, uint32_t background, int scale, int x, int y, int reach, ShotArea unseen,
                   FoundPet* found, std::string* why);

// A pet pixel of picture p well inside the cat (opaque two pixels round), the nearest to
// the picture's middle: a press there lands on the cat. False when there is none.
bool picture_grip(int p, int* x, int* y);
