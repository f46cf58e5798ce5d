// The PNG encoder read back by a small zlib-based reader and by ImageMagick, and the
// desktop icons it wrote: the icon file's own pictures, and the large face.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>

#include "art_files.h"
#include "icons.h"
#include "png.h"

namespace {

uint32_t be32(const Bytes& b, size_t at) {
    return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}

// Walks the chunks, checking every CRC, and inflates the image data. Enough for what our
// encoder writes (8-bit RGBA, unfiltered rows); anything else fails the read.
bool read_png(const Bytes& f, RgbaImage* image, std::string* why) {
    const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (f.size() < 8 || !std::equal(signature, signature + 8, f.begin()))
        return *why = "signature", false;
    Bytes packed;
    std::string last;
    for (size_t at = 8; at + 12 <= f.size();) {
        uint32_t length = be32(f, at);
        if (at + 12 + length > f.size()) return *why = "chunk past the end", false;
        std::string type(f.begin() + at + 4, f.begin() + at + 8);
        if (crc32(0L, f.data() + at + 4, 4 + length) != be32(f, at + 8 + length))
            return *why = "CRC of " + type, false;
        const uint8_t* data = f.data() + at + 8;
        if (type == "IHDR") {
            if (length != 13 || data[8] != 8 || data[9] != 6 || data[10] || data[11] || data[12])
                return *why = "IHDR", false;
            image->width = int(be32(f, at + 8));
            image->height = int(be32(f, at + 12));
        }
        if (type == "IDAT") packed.insert(packed.end(), data, data + length);
        last = type;
        at += 12 + length;
    }
    if (last != "IEND") return *why = "no IEND last", false;
    size_t row = size_t(image->width) * 4;
    uLongf size = uLongf((row + 1) * image->height);
    Bytes raw(size);
    if (uncompress(raw.data(), &size, packed.data(), uLong(packed.size())) != Z_OK ||
        size != raw.size())
        return *why = "inflate", false;
    image->pixels.clear();
    for (int y = 0; y < image->height; ++y) {
        if (raw[y * (row + 1)] != 0) return *why = "filtered row", false;
        auto start = raw.begin() + y * (row + 1) + 1;
        image->pixels.insert(image->pixels.end(), start, start + row);
    }
    return true;
}

RgbaImage read_art_png(int size) {
    std::string name = "icon-" + std::to_string(size) + ".png", why;
    RgbaImage image;
    EXPECT_TRUE(read_png(art_file(name.c_str()), &image, &why)) << name << ": " << why;
    return image;
}

// ImageMagick's own decoding of a PNG into raw RGBA bytes; false when it is missing.
bool imagemagick_rgba(const std::string& path, Bytes* rgba) {
    if (std::system("command -v convert >/dev/null 2>&1") != 0) return false;
    FILE* pipe = popen(("convert '" + path + "' -depth 8 rgba:-").c_str(), "r");
    if (!pipe) return false;
    uint8_t buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        rgba->insert(rgba->end(), buffer, buffer + got);
    return pclose(pipe) == 0;
}

uint8_t alpha(const RgbaImage& image, int x, int y) {
    return image.pixels[(size_t(y) * image.width + x) * 4 + 3];
}

TEST(Png, PicturesRoundTripThroughZlibWithValidChunks) {
    const int sizes[][2] = {{1, 1}, {3, 2}, {17, 5}, {300, 40}};
    for (const auto& s : sizes) {
        SCOPED_TRACE(s[0]);
        RgbaImage in{s[0], s[1], {}};
        for (int i = 0; i < s[0] * s[1] * 4; ++i) in.pixels.push_back(uint8_t(i * 37 + i / 7));
        RgbaImage out;
        std::string why;
        ASSERT_TRUE(read_png(png_file(in), &out, &why)) << why;
        EXPECT_EQ(out.width, in.width);
        EXPECT_EQ(out.height, in.height);
        EXPECT_EQ(out.pixels, in.pixels);
    }
}

TEST(DesktopIcons, SmallSizesAreTheIconFilesPicturesWithTransparencyAsAlpha) {
    int type = 0;
    std::vector<IconEntry> entries;
    ASSERT_TRUE(icon_decode(art_file("tuvo.ico"), &type, &entries));
    for (const IconEntry& e : entries) {
        const IconImage& p = e.picture;
        SCOPED_TRACE(p.image.width);
        RgbaImage png = read_art_png(p.image.width);
        ASSERT_EQ(png.width, p.image.width);
        ASSERT_EQ(png.height, p.image.height);
        size_t wrong = 0;
        for (size_t i = 0; i < p.image.pixels.size(); ++i) {
            const uint8_t* px = &png.pixels[i * 4];
            Rgb c = p.image.colours[p.image.pixels[i]];
            bool clear = p.transparent[i];
            wrong += px[3] != (clear ? 0 : 255) ||
                     (!clear && !same_colour(Rgb{px[0], px[1], px[2]}, c));
        }
        EXPECT_EQ(wrong, 0u);
    }
}

TEST(DesktopIcons, LargeFaceHasTheShapeOfThe48WithSmoothEdges) {
    RgbaImage large = read_art_png(large_icon_size), small = read_art_png(48);
    ASSERT_EQ(large.width, 256);
    ASSERT_EQ(large.height, 256);
    ASSERT_EQ(small.width, 48);
    // Sampled on the 48's grid, the solid part of the large face covers the same pixels
    // but for the staircase of the small face's edges.
    size_t agree = 0, partial = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x) {
            int lx = x * 256 / 48 + 2, ly = y * 256 / 48 + 2;
            agree += (alpha(large, lx, ly) >= 128) == (alpha(small, x, y) == 255);
        }
    EXPECT_GT(agree, size_t(48 * 48 * 95 / 100));
    for (size_t i = 3; i < large.pixels.size(); i += 4) partial += large.pixels[i] % 255 != 0;
    EXPECT_GT(partial, 300u);  // edges are blended, not stepped
    EXPECT_EQ(alpha(large, 0, 0), 0);
    EXPECT_EQ(alpha(large, 128, 128), 255);
}

TEST(DesktopIcons, ImageMagickReadsEveryIconAsOurReaderDoes) {
    for (int size : {16, 32, 48, large_icon_size}) {
        SCOPED_TRACE(size);
        Bytes rgba;
        std::string path = art_path(("icon-" + std::to_string(size) + ".png").c_str());
        if (!imagemagick_rgba(path, &rgba)) GTEST_SKIP() << "ImageMagick's convert is not available";
        EXPECT_EQ(rgba, read_art_png(size).pixels);
    }
}

}  // namespace
