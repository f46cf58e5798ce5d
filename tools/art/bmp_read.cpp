// Decoding of the BMP files written by bmp.cpp (and of any plain indexed or 24-bit BMP),
// used by the preview and the tests to look at exactly what was written.
#include "bmp.h"

#include <algorithm>

uint16_t read_u16(const Bytes& b, size_t at) {
    return at + 2 <= b.size() ? uint16_t(b[at] | (b[at + 1] << 8)) : 0;
}

uint32_t read_u32(const Bytes& b, size_t at) {
    return at + 4 <= b.size() ? uint32_t(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
                                         (uint32_t(b[at + 3]) << 24))
                              : 0;
}

bool bmp_read_info(const Bytes& f, BmpInfo* info) {
    if (f.size() < 54 || f[0] != 'B' || f[1] != 'M' || read_u32(f, 14) != 40) return false;
    info->data_offset = read_u32(f, 10);
    info->width = int32_t(read_u32(f, 18));
    info->height = int32_t(read_u32(f, 22));
    info->planes = read_u16(f, 26);
    info->bits = read_u16(f, 28);
    info->compression = read_u32(f, 30);
    info->image_size = read_u32(f, 34);
    info->colours_used = read_u32(f, 46);
    size_t entries = info->colours_used;
    if (entries == 0 && info->bits <= 8) entries = size_t(1) << info->bits;
    info->colours.clear();
    for (size_t i = 0; i < entries; ++i) {
        size_t at = 54 + 4 * i;
        if (at + 4 > f.size()) return false;
        info->colours.push_back(Rgb{f[at + 2], f[at + 1], f[at]});
    }
    size_t table_end = 54 + 4 * entries;
    return info->width > 0 && info->height > 0 && info->data_offset >= table_end &&
           info->data_offset <= f.size();
}

bool rle4_decode(const uint8_t* data, size_t size, int width, int height,
                 std::vector<uint8_t>* pixels, bool* saw_end) {
    pixels->assign(size_t(width) * height, rle4_unreached);
    if (saw_end) *saw_end = false;
    int x = 0, row = 0;  // row counts from the bottom
    bool inside = true;  // false once a code has written past its row or the last row
    auto put = [&](uint8_t p) {
        if (x < width && row < height)
            (*pixels)[size_t(height - 1 - row) * width + x] = p;
        else
            inside = false;
        ++x;
    };
    size_t i = 0;
    while (i + 1 < size) {
        uint8_t count = data[i], value = data[i + 1];
        i += 2;
        if (count > 0) {
            for (int k = 0; k < count; ++k) put(k % 2 ? value & 15 : value >> 4);
            if (!inside) return false;
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++row;
        } else if (value == 1) {  // end of bitmap
            if (saw_end) *saw_end = true;
            return true;
        } else if (value == 2) {  // delta
            if (i + 2 > size) return false;
            x += data[i];
            row += data[i + 1];
            i += 2;
        } else {  // absolute run of value pixels
            int bytes = (value + 1) / 2;
            if (i + bytes > size) return false;
            for (int k = 0; k < value; ++k) put(k % 2 ? data[i + k / 2] & 15 : data[i + k / 2] >> 4);
            if (!inside) return false;
            i += bytes + (bytes % 2);
        }
    }
    return true;
}

bool bmp_decode_indexed(const Bytes& f, IndexedImage* image, bool* saw_end) {
    BmpInfo info;
    if (!bmp_read_info(f, &info)) return false;
    if (info.bits != 1 && info.bits != 4 && info.bits != 8) return false;
    image->width = info.width;
    image->height = info.height;
    image->colours = info.colours;
    const uint8_t* data = f.data() + info.data_offset;
    size_t avail = f.size() - info.data_offset;
    if (info.compression == 2) {
        if (info.bits != 4) return false;
        return rle4_decode(data, std::min<size_t>(avail, info.image_size), info.width,
                           info.height, &image->pixels, saw_end);
    }
    if (info.compression != 0) return false;
    int stride = ((info.width * info.bits + 31) / 32) * 4;
    if (avail < size_t(stride) * info.height) return false;
    image->pixels.assign(size_t(info.width) * info.height, 0);
    for (int y = 0; y < info.height; ++y) {
        const uint8_t* row = data + size_t(info.height - 1 - y) * stride;
        for (int x = 0; x < info.width; ++x) {
            int bit = x * info.bits;
            uint8_t v = uint8_t(row[bit / 8] >> (8 - info.bits - bit % 8)) & ((1 << info.bits) - 1);
            image->pixels[size_t(y) * info.width + x] = v;
        }
    }
    return true;
}

bool bmp_decode_rgb(const Bytes& f, RgbImage* image) {
    BmpInfo info;
    if (!bmp_read_info(f, &info) || info.bits != 24 || info.compression != 0) return false;
    int stride = ((info.width * 24 + 31) / 32) * 4;
    if (f.size() - info.data_offset < size_t(stride) * info.height) return false;
    image->width = info.width;
    image->height = info.height;
    image->pixels.resize(size_t(info.width) * info.height);
    for (int y = 0; y < info.height; ++y)
        for (int x = 0; x < info.width; ++x) {
            const uint8_t* p = f.data() + info.data_offset + size_t(info.height - 1 - y) * stride + 3 * x;
            image->pixels[size_t(y) * info.width + x] = Rgb{p[2], p[1], p[0]};
        }
    return true;
}

namespace {

// Wraps a bare picture (header, table, bits) as a BMP file of the given height and depth
// so that the BMP decoder reads it; bits_at is where the pixel rows start in the picture.
Bytes as_bmp_file(const Bytes& picture, size_t bits_at, int height, int bits, size_t table,
                  const std::vector<Rgb>& colours) {
    Bytes f = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    Bytes head(picture.begin(), picture.begin() + 40);
    for (int i = 0; i < 4; ++i) head[8 + i] = uint8_t(uint32_t(height) >> (8 * i));
    head[14] = uint8_t(bits), head[15] = 0;
    for (int i = 0; i < 12; ++i) head[16 + i] = 0;  // no compression, size, resolution
    for (int i = 0; i < 8; ++i) head[32 + i] = 0;   // full colour table for the depth
    f.insert(f.end(), head.begin(), head.end());
    for (size_t i = 0; i < table; ++i) {
        Rgb c = i < colours.size() ? colours[i] : Rgb{0, 0, 0};
        f.insert(f.end(), {c.b, c.g, c.r, 0});
    }
    uint32_t offset = uint32_t(f.size());
    f.insert(f.end(), picture.begin() + bits_at, picture.end());
    for (int i = 0; i < 4; ++i) f[10 + i] = uint8_t(offset >> (8 * i));
    return f;
}

}  // namespace

bool icon_decode(const Bytes& f, int* type, std::vector<IconEntry>* entries) {
    if (f.size() < 6 || read_u16(f, 0) != 0) return false;
    *type = read_u16(f, 2);
    if (*type != 1 && *type != 2) return false;
    int count = read_u16(f, 4);
    if (f.size() < 6 + 16 * size_t(count)) return false;
    entries->clear();
    for (int k = 0; k < count; ++k) {
        size_t d = 6 + 16 * size_t(k);
        IconEntry e;
        e.width = f[d] ? f[d] : 256;
        e.height = f[d + 1] ? f[d + 1] : 256;
        e.colour_count = f[d + 2];
        e.hot_x = read_u16(f, d + 4);
        e.hot_y = read_u16(f, d + 6);
        e.size = read_u32(f, d + 8);
        e.offset = read_u32(f, d + 12);
        if (e.size < 40 || e.offset > f.size() || f.size() - e.offset < e.size) return false;
        Bytes pic(f.begin() + e.offset, f.begin() + e.offset + e.size);
        if (read_u32(pic, 0) != 40) return false;
        int width = int32_t(read_u32(pic, 4)), height2 = int32_t(read_u32(pic, 8));
        int bits = read_u16(pic, 14);
        if (width <= 0 || height2 <= 0 || height2 % 2 || read_u32(pic, 16) != 0) return false;
        if (bits != 1 && bits != 4 && bits != 8) return false;
        int height = height2 / 2;
        size_t table = read_u32(pic, 32) ? read_u32(pic, 32) : size_t(1) << bits;
        size_t bits_at = 40 + 4 * table;
        size_t colour_bytes = size_t((width * bits + 31) / 32 * 4) * height;
        size_t mask_bytes = size_t((width + 31) / 32 * 4) * height;
        if (pic.size() < bits_at + colour_bytes + mask_bytes) return false;
        // The header with the height as written, the colour table as the picture has it.
        Bytes whole = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        whole.insert(whole.end(), pic.begin(), pic.begin() + bits_at);
        for (int i = 0; i < 4; ++i) whole[10 + i] = uint8_t(uint32_t(14 + bits_at) >> (8 * i));
        if (!bmp_read_info(whole, &e.header)) return false;
        Bytes colour_file = as_bmp_file(pic, bits_at, height, bits, table, e.header.colours);
        IndexedImage mask;
        Bytes mask_file = as_bmp_file(pic, bits_at + colour_bytes, height, 1, 2, {});
        if (!bmp_decode_indexed(colour_file, &e.picture.image) ||
            !bmp_decode_indexed(mask_file, &mask))
            return false;
        e.picture.transparent = mask.pixels;
        entries->push_back(e);
    }
    return true;
}
