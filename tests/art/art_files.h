// The generator's output folder as the build wrote it, and small readers over it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "bmp.h"

inline std::string art_path(const char* name) { return std::string(TUVO_ART_OUTPUT) + "/" + name; }

inline Bytes art_file(const char* name) {
    Bytes b;
    EXPECT_TRUE(read_file(art_path(name), &b)) << art_path(name);
    return b;
}

inline bool same_colour(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
