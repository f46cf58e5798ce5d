// The preview's GIF writer, read back by ImageMagick: the LZW code width has to change
// at exactly the point where decoders change it, and the table has to restart when it
// is full, or the frames decode to garbage.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "gif.h"

namespace {

bool have_convert() { return std::system("convert -version > /dev/null 2>&1") == 0; }

// Pixels of frame k, as ImageMagick decodes them, into raw RGB.
bool decode_frame(const std::string& gif, int k, Bytes* rgb) {
    std::string raw = gif + "." + std::to_string(k) + ".rgb";
    std::string cmd = "convert '" + gif + "[" + std::to_string(k) + "]' -depth 8 rgb:'" + raw + "'";
    if (std::system(cmd.c_str()) != 0) return false;
    bool ok = read_file(raw, rgb);
    std::remove(raw.c_str());
    return ok;
}

TEST(GifWriter, FramesDecodeToTheirPixelsThroughEveryCodeWidth) {
    if (!have_convert()) GTEST_SKIP() << "ImageMagick's convert is not installed";
    // Noise over many colours fills the code table several times over (12-bit codes and
    // restarts); flat areas make long strings (the code reuse path).
    std::mt19937 random(7);
    std::vector<GifFrame> frames;
    for (int k = 0; k < 2; ++k) {
        RgbImage im{160, 120, {}};
        for (int y = 0; y < im.height; ++y)
            for (int x = 0; x < im.width; ++x) {
                bool flat = k == 1 && y > 60;
                uint8_t v = flat ? 40 : uint8_t(random() % 200);
                im.pixels.push_back(Rgb{v, uint8_t(v / 2), uint8_t(255 - v)});
            }
        frames.push_back({im, 10});
    }
    std::string path = ::testing::TempDir() + "/gif_writer_test.gif";
    ASSERT_TRUE(write_gif(path, frames));
    for (int k = 0; k < 2; ++k) {
        Bytes rgb;
        ASSERT_TRUE(decode_frame(path, k, &rgb));
        ASSERT_EQ(rgb.size(), frames[k].image.pixels.size() * 3);
        size_t wrong = 0;
        for (size_t i = 0; i < frames[k].image.pixels.size(); ++i) {
            Rgb c = frames[k].image.pixels[i];
            wrong += rgb[3 * i] != c.r || rgb[3 * i + 1] != c.g || rgb[3 * i + 2] != c.b;
        }
        EXPECT_EQ(wrong, 0u) << "frame " << k;
    }
    std::remove(path.c_str());
}

TEST(GifWriter, RefusesMoreThan256ColoursAndFramesOfDifferentSizes) {
    RgbImage many{300, 1, {}};
    for (int x = 0; x < 300; ++x) many.pixels.push_back(Rgb{uint8_t(x), uint8_t(x >> 8), 0});
    std::string path = ::testing::TempDir() + "/gif_writer_refused.gif";
    EXPECT_FALSE(write_gif(path, {{many, 10}}));
    RgbImage a{2, 2, std::vector<Rgb>(4)}, b{3, 2, std::vector<Rgb>(6)};
    EXPECT_FALSE(write_gif(path, {{a, 10}, {b, 10}}));
}

}  // namespace
