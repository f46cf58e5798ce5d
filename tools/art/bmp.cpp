// BMP, ICO and CUR writers, and the RLE4 encoder.
#include "bmp.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr uint32_t bi_rgb = 0;
constexpr uint32_t bi_rle4 = 2;
constexpr int32_t pixels_per_metre = 2835;  // 72 dots per inch

void put16(Bytes& b, uint16_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}

void put32(Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}

void patch32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

int stride_of(int width, int bits) { return ((width * bits + 31) / 32) * 4; }

void put_info_header(Bytes& b, int width, int height, int bits, uint32_t compression,
                     uint32_t image_size, uint32_t colours) {
    put32(b, 40);
    put32(b, uint32_t(width));
    put32(b, uint32_t(height));
    put16(b, 1);
    put16(b, uint16_t(bits));
    put32(b, compression);
    put32(b, image_size);
    put32(b, pixels_per_metre);
    put32(b, pixels_per_metre);
    put32(b, colours);
    put32(b, colours);
}

void put_colour_table(Bytes& b, const std::vector<Rgb>& colours, size_t entries) {
    for (size_t i = 0; i < entries; ++i) {
        Rgb c = i < colours.size() ? colours[i] : Rgb{0, 0, 0};
        b.push_back(c.b);
        b.push_back(c.g);
        b.push_back(c.r);
        b.push_back(0);
    }
}

// Uncompressed rows, bottom-up, each padded to a multiple of four bytes.
Bytes pack_rows(const IndexedImage& image, int bits) {
    int stride = stride_of(image.width, bits);
    Bytes out(size_t(stride) * image.height, 0);
    for (int y = 0; y < image.height; ++y) {
        uint8_t* row = &out[size_t(image.height - 1 - y) * stride];
        for (int x = 0; x < image.width; ++x) {
            uint8_t p = image.pixels[size_t(y) * image.width + x] & uint8_t((1 << bits) - 1);
            int bit = x * bits;
            row[bit / 8] |= uint8_t(p << (8 - bits - bit % 8));
        }
    }
    return out;
}

Bytes bitmap_file(const Bytes& header_and_table, const Bytes& bits) {
    Bytes f;
    f.push_back('B');
    f.push_back('M');
    put32(f, uint32_t(14 + header_and_table.size() + bits.size()));
    put32(f, 0);
    put32(f, uint32_t(14 + header_and_table.size()));
    f.insert(f.end(), header_and_table.begin(), header_and_table.end());
    f.insert(f.end(), bits.begin(), bits.end());
    return f;
}

// Length of the run of equal pixels starting at x, at most 255.
int run_length(const uint8_t* row, int width, int x) {
    int n = 1;
    while (x + n < width && n < 255 && row[x + n] == row[x]) ++n;
    return n;
}

void emit_run(Bytes& out, int count, uint8_t colour) {
    out.push_back(uint8_t(count));
    out.push_back(uint8_t((colour << 4) | colour));
}

// Absolute mode: 0, count (3..255), then the nibbles, padded to an even byte count.
void emit_literal(Bytes& out, const uint8_t* pixels, int count) {
    out.push_back(0);
    out.push_back(uint8_t(count));
    int bytes = (count + 1) / 2;
    for (int i = 0; i < bytes; ++i) {
        uint8_t hi = pixels[2 * i];
        uint8_t lo = 2 * i + 1 < count ? pixels[2 * i + 1] : 0;
        out.push_back(uint8_t((hi << 4) | lo));
    }
    if (bytes % 2) out.push_back(0);
}

}  // namespace

Bytes rle4_encode(const IndexedImage& image) {
    // Runs of three or more equal pixels are coded as runs; stretches of shorter runs go
    // out in absolute mode, which needs at least three pixels, so shorter stretches fall
    // back to one- and two-pixel runs.
    constexpr int min_run = 3;
    Bytes out;
    for (int y = image.height - 1; y >= 0; --y) {
        const uint8_t* row = &image.pixels[size_t(y) * image.width];
        int x = 0;
        while (x < image.width) {
            int n = run_length(row, image.width, x);
            if (n >= min_run) {
                emit_run(out, n, row[x]);
                x += n;
                continue;
            }
            int start = x, end = x;
            while (end < image.width && end - start < 255) {
                int m = run_length(row, image.width, end);
                if (m >= min_run) break;
                end += std::min(m, 255 - (end - start));
            }
            int count = end - start;
            if (count >= 3) {
                emit_literal(out, row + start, count);
            } else {
                for (int i = start; i < end; ++i) emit_run(out, 1, row[i]);
            }
            x = end;
        }
        out.push_back(0);
        out.push_back(y == 0 ? 1 : 0);  // end of bitmap after the last row, else end of line
    }
    return out;
}

Bytes bmp_indexed(const IndexedImage& image, int bits, bool rle4) {
    size_t entries = size_t(1) << bits;
    Bytes body = rle4 ? rle4_encode(image) : pack_rows(image, bits);
    Bytes head;
    put_info_header(head, image.width, image.height, bits, rle4 ? bi_rle4 : bi_rgb,
                    uint32_t(body.size()), uint32_t(entries));
    put_colour_table(head, image.colours, entries);
    return bitmap_file(head, body);
}

Bytes bmp_rgb(const RgbImage& image) {
    int stride = stride_of(image.width, 24);
    Bytes body(size_t(stride) * image.height, 0);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            Rgb c = image.pixels[size_t(y) * image.width + x];
            uint8_t* p = &body[size_t(image.height - 1 - y) * stride + 3 * x];
            p[0] = c.b, p[1] = c.g, p[2] = c.r;
        }
    Bytes head;
    put_info_header(head, image.width, image.height, 24, bi_rgb, uint32_t(body.size()), 0);
    return bitmap_file(head, body);
}

namespace {

// The picture of one icon or cursor entry: header with doubled height, colour table,
// colour bits, then the 1-bit transparency mask.
Bytes icon_entry(const IconImage& entry, int bits) {
    const IndexedImage& im = entry.image;
    Bytes colour = pack_rows(im, bits);
    IndexedImage mask{im.width, im.height, entry.transparent, {}};
    Bytes and_bits = pack_rows(mask, 1);
    Bytes b;
    put_info_header(b, im.width, im.height * 2, bits, bi_rgb,
                    uint32_t(colour.size() + and_bits.size()), 0);
    patch32(b, 32, 0);  // colours used: 0 means the full table for this depth
    patch32(b, 36, 0);
    put_colour_table(b, im.colours, size_t(1) << bits);
    b.insert(b.end(), colour.begin(), colour.end());
    b.insert(b.end(), and_bits.begin(), and_bits.end());
    return b;
}

}  // namespace

Bytes ico_file(const std::vector<IconImage>& images) {
    Bytes f;
    put16(f, 0);
    put16(f, 1);  // icon
    put16(f, uint16_t(images.size()));
    std::vector<Bytes> bodies;
    for (const IconImage& e : images) bodies.push_back(icon_entry(e, 8));
    uint32_t offset = uint32_t(6 + 16 * images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const IndexedImage& im = images[i].image;
        f.push_back(uint8_t(im.width >= 256 ? 0 : im.width));
        f.push_back(uint8_t(im.height >= 256 ? 0 : im.height));
        f.push_back(0);  // 256 colours
        f.push_back(0);
        put16(f, 1);
        put16(f, 8);
        put32(f, uint32_t(bodies[i].size()));
        put32(f, offset);
        offset += uint32_t(bodies[i].size());
    }
    for (const Bytes& b : bodies) f.insert(f.end(), b.begin(), b.end());
    return f;
}

Bytes cur_file(const IconImage& image, int hot_x, int hot_y) {
    Bytes body = icon_entry(image, 1);
    Bytes f;
    put16(f, 0);
    put16(f, 2);  // cursor
    put16(f, 1);
    f.push_back(uint8_t(image.image.width));
    f.push_back(uint8_t(image.image.height));
    f.push_back(2);
    f.push_back(0);
    put16(f, uint16_t(hot_x));
    put16(f, uint16_t(hot_y));
    put32(f, uint32_t(body.size()));
    put32(f, 6 + 16);
    f.insert(f.end(), body.begin(), body.end());
    return f;
}

bool write_file(const std::string& path, const Bytes& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

bool read_file(const std::string& path, Bytes* bytes) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    bytes->clear();
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes->insert(bytes->end(), buf, buf + n);
    std::fclose(f);
    return true;
}
