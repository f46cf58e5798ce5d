// The screenshot probe of the Wayland tests: takes a screenshot (binary PPM, as grim
// writes it with -t ppm) of a desktop of one known solid colour, and says which of the
// sheet's pictures the pet shows there, where and at which scale, or why none.
//   find SHOT BG SCALE [X Y W H]
//     SHOT  the screenshot; BG the background as RRGGBB; SCALE screen pixels per pet
//           pixel, or 0 to find it (1 to 8); X Y W H the part of the shot to look at.
//   near SHOT BG SCALE X Y R UX UY UW UH
//     the pet with its window's corner up to R pixels from (X, Y), the rectangle UX UY
//     UW UH (the pointer's cursor over the pet) left out.
//   prints  pet PICTURE IMAGE MIRRORED X Y SCALE GX GY   (the window's corner in the
//           shot; GX GY a point of the shot well inside the cat, to press on)
//     or    none REASON
// A pet is found only when every pixel of the part is the background except the
// picture's opaque pixels, each exactly the sheet's colour, each pet pixel a solid
// SCALE x SCALE block: no square around the cat, no earlier frame beside it.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "sheet_pictures.h"
#include "shot_judge.h"

namespace {

int usage() {
    std::fprintf(stderr, "usage: shot_probe find SHOT.ppm RRGGBB SCALE [X Y W H]\n"
                         "       shot_probe near SHOT.ppm RRGGBB SCALE X Y R UX UY UW UH\n");
    return 2;
}

int arg(char** argv, int i) { return std::atoi(argv[i]); }

}  // namespace

int main(int argc, char** argv) {
    const bool find = argc >= 2 && std::strcmp(argv[1], "find") == 0 && (argc == 5 || argc == 9);
    const bool near = argc == 12 && std::strcmp(argv[1], "near") == 0;
    if (!find && !near) return usage();
    Shot shot = {};
    FoundPet pet = {};
    std::string why;
    if (!read_ppm(argv[2], &shot)) {
        std::printf("none cannot read the screenshot %s\n", argv[2]);
        return 1;
    }
    const uint32_t background = uint32_t(std::strtoul(argv[3], nullptr, 16));
    bool found = false;
    if (find) {
        ShotArea area = {0, 0, 0, 0};
        if (argc == 9) area = {arg(argv, 5), arg(argv, 6), arg(argv, 7), arg(argv, 8)};
        found = find_pet(shot, area, background, arg(argv, 4), &pet, &why);
    } else {
        const ShotArea unseen = {arg(argv, 8), arg(argv, 9), arg(argv, 10), arg(argv, 11)};
        found = find_pet_near(shot, background, arg(argv, 4) > 0 ? arg(argv, 4) : 1, arg(argv, 5), arg(argv, 6),
                              arg(argv, 7), unseen, &pet, &why);
    }
    if (!found) {
        std::printf("none %s\n", why.c_str());
        return 1;
    }
    int gx = 0, gy = 0;
    picture_grip(pet.picture, &gx, &gy);
    std::printf("pet %d %d %d %d %d %d %d %d\n", pet.picture, pet.picture % image_count, pet.picture >= image_count,
                pet.x, pet.y, pet.scale, pet.x + gx * pet.scale + pet.scale / 2,
                pet.y + gy * pet.scale + pet.scale / 2);
    return 0;
}
