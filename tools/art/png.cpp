// PNG encoding: takes RGBA pixels, returns the file's bytes. Rows go unfiltered into one
// zlib stream, as the flat colours of our art compress well without filters.
#include "png.h"

#include <zlib.h>

namespace {

constexpr uint8_t png_signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr uint8_t colour_type_rgba = 6;
constexpr uint8_t filter_none = 0;

void put_u32_be(Bytes& out, uint32_t v) {
    out.insert(out.end(), {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)});
}

// Length, type, data, and the CRC over type and data.
void put_chunk(Bytes& out, const char type[4], const Bytes& data) {
    put_u32_be(out, uint32_t(data.size()));
    size_t type_at = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0L, out.data() + type_at, uInt(4 + data.size()));
    put_u32_be(out, uint32_t(crc));
}

}  // namespace

RgbaImage rgba_from_icon(const IconImage& icon) {
    const IndexedImage& image = icon.image;
    RgbaImage out{image.width, image.height, std::vector<uint8_t>(image.pixels.size() * 4, 0)};
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        if (i < icon.transparent.size() && icon.transparent[i]) continue;
        uint8_t index = image.pixels[i];
        Rgb c = index < image.colours.size() ? image.colours[index] : Rgb{0, 0, 0};
        uint8_t* px = &out.pixels[i * 4];
        px[0] = c.r, px[1] = c.g, px[2] = c.b, px[3] = 255;
    }
    return out;
}

Bytes png_file(const RgbaImage& image) {
    size_t row_bytes = size_t(image.width) * 4;
    Bytes raw;
    raw.reserve((row_bytes + 1) * image.height);
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(filter_none);
        auto row = image.pixels.begin() + y * row_bytes;
        raw.insert(raw.end(), row, row + row_bytes);
    }
    uLongf packed_size = compressBound(uLong(raw.size()));
    Bytes packed(packed_size);
    if (compress2(packed.data(), &packed_size, raw.data(), uLong(raw.size()),
                  Z_DEFAULT_COMPRESSION) != Z_OK)
        return {};
    packed.resize(packed_size);

    Bytes header;
    put_u32_be(header, uint32_t(image.width));
    put_u32_be(header, uint32_t(image.height));
    // Bit depth 8, RGBA, deflate, adaptive filtering (each row says its filter), no interlace.
    header.insert(header.end(), {8, colour_type_rgba, 0, 0, 0});

    Bytes file(png_signature, png_signature + 8);
    put_chunk(file, "IHDR", header);
    put_chunk(file, "IDAT", packed);
    put_chunk(file, "IEND", {});
    return file;
}
