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
