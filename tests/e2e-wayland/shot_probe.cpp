// The screenshot probe of the Wayland tests: takes a screenshot (binary PPM, as grim
// writes it with -t ppm) of a desktop of one known solid colour, and says which of the
// sheet's pictures the pet shows there, where and at which scale, or why none.
//   find SHOT BG SCALE [X Y W H]
//     SHOT  the screenshot; BG the background as RRGGBB; SCALE screen pixels per pet
//           pixel, or 0 to find it (1 to 8); X Y W H the part of the shot to look at.
//   prints  pet PICTURE IMAGE MIRRORED X Y SCALE   (the window's corner in the shot)
//     or    none REASON
// A pet is found only when every pixel of the part is the background except the
// picture's opaque pixels, each exactly the sheet's colour, each pet pixel a solid
// SCALE x SCALE block: no square around the cat, no earlier frame beside it.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "sheet_pictures.h"
#include "shot_judge.h"

int main(int argc, char** argv) {
    if (argc < 5 || std::strcmp(argv[1], "find") != 0 || (argc != 5 && argc != 9)) {
        std::fprintf(stderr, "usage: shot_probe find SHOT.ppm RRGGBB SCALE [X Y W H]\n");
        return 2;
    }
    ShotArea area = {0, 0, 0, 0};
    if (argc == 9) area = {std::atoi(argv[5]), std::atoi(argv[6]), std::atoi(argv[7]), std::atoi(argv[8])};
    Shot shot = {};
    FoundPet pet = {};
    std::string why;
    int status = 1;
    if (!read_ppm(argv[2], &shot)) {
        std::printf("none cannot read the screenshot %s\n", argv[2]);
    } else if (find_pet(shot, area, uint32_t(std::strtoul(argv[3], nullptr, 16)), std::atoi(argv[4]), &pet, &why)) {
        std::printf("pet %d %d %d %d %d %d\n", pet.picture, pet.picture % image_count, pet.picture >= image_count,
                    pet.x, pet.y, pet.scale);
        status = 0;
    } else {
        std::printf("none %s\n", why.c_str());
    }
    std::fflush(stdout);
    return status;
}
