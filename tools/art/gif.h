// A small animated GIF writer for the previews: full frames over one global colour
// table of at most 256 colours, looping forever.
#pragma once

#include <string>
#include <vector>

#include "bmp.h"

struct GifFrame {
    RgbImage image;
    int delay_cs = 15;  // hundredths of a second
};

// False when the frames differ in size, use more than 256 colours, or the file cannot
// be written.
bool write_gif(const std::string& path, const std::vector<GifFrame>& frames);
