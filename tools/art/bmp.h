// Writers for the Windows picture formats the program embeds (BMP with or without
// RLE4 compression, ICO, CUR) and a reader that decodes them again, so that what was
// written can be checked pixel for pixel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "palette.h"

typedef std::vector<uint8_t> Bytes;

// Pixel indices, row-major, top row first; one byte per pixel whatever the depth.
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
    std::vector<Rgb> colours;  // colour table, at most 2^bits entries
};

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;  // row-major, top row first
};

// RLE4 body of a 4-bit image (rows bottom-up, each row ended by an end-of-line code, the
// last by the end-of-bitmap code).
Bytes rle4_encode(const IndexedImage& image);

// Complete BMP files. bits is 1, 4 or 8 for indexed images; rle4 only with 4 bits.
Bytes bmp_indexed(const IndexedImage& image, int bits, bool rle4);
Bytes bmp_rgb(const RgbImage& image);

// One entry of an icon or cursor file: an 8-bit (icon) or 1-bit (cursor) picture and its
// transparency (1 = see-through).
struct IconImage {
    IndexedImage image;
    std::vector<uint8_t> transparent;
};
Bytes ico_file(const std::vector<IconImage>& images);
Bytes cur_file(const IconImage& image, int hot_x, int hot_y);

bool write_file(const std::string& path, const Bytes& bytes);
bool read_file(const std::string& path, Bytes* bytes);

// --- decoding ------------------------------------------------------------------------

struct BmpInfo {
    int32_t width = 0;
    int32_t height = 0;
    uint16_t planes = 0;
    uint16_t bits = 0;
    uint32_t compression = 0;
    uint32_t image_size = 0;
    uint32_t colours_used = 0;
    uint32_t data_offset = 0;
    std::vector<Rgb> colours;
};

// Reads a BMP file's headers and colour table; false when they are malformed.
bool bmp_read_info(const Bytes& file, BmpInfo* info);
// Decodes the pixels of an indexed BMP (1, 4, 8 bits; BI_RGB or BI_RLE4) into one index per
// pixel, top row first. For RLE4 also reports whether the end-of-bitmap code was seen.
bool bmp_decode_indexed(const Bytes& file, IndexedImage* image, bool* saw_end = nullptr);
bool bmp_decode_rgb(const Bytes& file, RgbImage* image);
// Decodes a bare RLE4 stream of the given size. Pixels no code reached are set to
// rle4_unreached; a code that writes past the end of its row or above the last row makes
// the stream invalid (false), as does a truncated code.
constexpr uint8_t rle4_unreached = 0xFF;
bool rle4_decode(const uint8_t* data, size_t size, int width, int height,
                 std::vector<uint8_t>* pixels, bool* saw_end);

uint16_t read_u16(const Bytes& b, size_t at);
uint32_t read_u32(const Bytes& b, size_t at);

// One picture of an icon or cursor file as its directory describes it, and decoded.
struct IconEntry {
    int width = 0, height = 0;   // from the directory (0 there means 256)
    int colour_count = 0;        // directory's colour count (0: 256 or more)
    int hot_x = 0, hot_y = 0;    // cursors: hot spot; icons: planes and bit count
    uint32_t size = 0, offset = 0;
    BmpInfo header;              // the picture's own header (height doubled)
    IconImage picture;           // colour indices, table and transparency
};

// Decodes an ICO (type 1) or CUR (type 2) file with uncompressed indexed pictures;
// false when the directory or a picture is malformed or lies outside the file.
bool icon_decode(const Bytes& file, int* type, std::vector<IconEntry>* entries);
