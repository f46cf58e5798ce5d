// tuvo-embed ARTDIR OUT.cpp: takes the generated pictures, decoded by our own readers, and
// writes the constant tables of x11/art_data.h, exactly the pixels tuvo.exe embeds.
#include <cstdio>
#include <string>

#include "art_data.h"
#include "bmp.h"
#include "png.h"

namespace {

std::string art_dir;
std::string failure;  // the first thing that went wrong

bool fail(const std::string& text) {
    if (failure.empty()) failure = text;
    return false;
}

bool load(const char* name, Bytes* bytes) {
    return read_file(art_dir + "/" + name, bytes) || fail(std::string("cannot read ") + name);
}

// An indexed BMP of exactly the size and colour count the header promises.
bool load_indexed(const char* name, int width, int height, int colours, IndexedImage* image) {
    Bytes file;
    if (!load(name, &file)) return false;
    if (!bmp_decode_indexed(file, image)) return fail(std::string("cannot decode ") + name);
    if (image->width != width || image->height != height ||
        int(image->colours.size()) != colours)
        return fail(std::string(name) + " differs in size or colours from art_data.h");
    return true;
}

bool load_portrait(RgbImage* image) {
    Bytes file;
    if (!load("portrait.bmp", &file)) return false;
    if (!bmp_decode_rgb(file, image)) return fail("cannot decode portrait.bmp");
    if (image->width != art_portrait_width || image->height != art_portrait_height)
        return fail("portrait.bmp differs in size from art_data.h");
    return true;
}

// type 1 for an icon, 2 for a cursor; the pictures' sizes must be those of the header.
bool load_icon_file(const char* name, int want_type, const int32_t* sizes, int count,
                    std::vector<IconEntry>* entries) {
    Bytes file;
    int type = 0;
    if (!load(name, &file)) return false;
    if (!icon_decode(file, &type, entries) || type != want_type)
        return fail(std::string("cannot decode ") + name);
    if (int(entries->size()) != count) return fail(std::string(name) + ": wrong picture count");
    for (int k = 0; k < count; ++k) {
        const IconEntry& e = (*entries)[k];
        if (e.picture.image.width != sizes[k] || e.picture.image.height != sizes[k])
            return fail(std::string(name) + " differs in size from art_data.h");
    }
    return true;
}

// The mask's indices packed as GetDIBits returns a 1-bit bitmap: bottom-up rows of
// art_mask_stride bytes, leftmost pixel in the top bit.
Bytes pack_mask(const IndexedImage& mask) {
    Bytes bits(size_t(art_mask_stride) * mask.height, 0);
    for (int y = 0; y < mask.height; ++y) {
        uint8_t* row = &bits[size_t(mask.height - 1 - y) * art_mask_stride];
        for (int x = 0; x < mask.width; ++x)
            if (mask.pixels[size_t(y) * mask.width + x]) row[x / 8] |= uint8_t(0x80 >> (x % 8));
    }
    return bits;
}

bool black(Rgb c) { return c.r == 0 && c.g == 0 && c.b == 0; }

// --- the C++ text ---------------------------------------------------------------------

constexpr size_t bytes_per_line = 40;
constexpr size_t colours_per_line = 6;
constexpr size_t longs_per_line = 6;

// Printable characters stand for themselves in a string literal; the rest are octal
// escapes. An escape before a digit is written with all three digits so the digit is
// not read as part of it.
bool plain_char(uint8_t b) { return b >= 0x20 && b < 0x7F && b != '"' && b != '\\' && b != '?'; }

// Byte tables are string literals, which the compiler reads far faster than lists of
// numbers. The array has room for the literal's closing zero, which nothing reads.
void put_bytes(std::string& out, const char* name, const Bytes& bytes) {
    out += "const uint8_t " + std::string(name) + "[" + std::to_string(bytes.size() + 1) + "] =";
    if (bytes.empty()) out += " \"\"";
    for (size_t i = 0; i < bytes.size(); ++i) {
        size_t column = i % bytes_per_line;
        if (column == 0) out += i ? "\"\n    \"" : "\n    \"";
        uint8_t b = bytes[i];
        if (plain_char(b)) {
            out += char(b);
            continue;
        }
        bool digit_follows = column + 1 < bytes_per_line && i + 1 < bytes.size() &&
                             bytes[i + 1] >= '0' && bytes[i + 1] <= '9';
        char escape[8];
        std::snprintf(escape, sizeof escape, digit_follows ? "\\%03o" : "\\%o", unsigned(b));
        out += escape;
    }
    if (!bytes.empty()) out += "\"";
    out += ";\n\n";
}

void put_colours(std::string& out, const char* name, const std::vector<Rgb>& colours) {
    out += "const ArtRgb " + std::string(name) + "[" + std::to_string(colours.size()) + "] = {";
    char entry[24];
    for (size_t i = 0; i < colours.size(); ++i) {
        out += i % colours_per_line ? " " : "\n    ";
        std::snprintf(entry, sizeof entry, "{%u, %u, %u},", unsigned(colours[i].r),
                      unsigned(colours[i].g), unsigned(colours[i].b));
        out += entry;
    }
    out += "\n};\n\n";
}

void put_indexed(std::string& out, const char* record, const char* stem, const IndexedImage& image) {
    std::string colours = std::string(stem) + "_colours", pixels = std::string(stem) + "_pixels";
    out += "namespace {\n\n";
    put_colours(out, colours.c_str(), image.colours);
    put_bytes(out, pixels.c_str(), image.pixels);
    out += "}  // namespace\n\n";
    out += "const ArtIndexedPicture " + std::string(record) + " = {" +
           std::to_string(image.width) + ", " + std::to_string(image.height) + ", " +
           std::to_string(image.colours.size()) + ", " + colours + ", " + pixels + "};\n\n";
}

void put_cursor(std::string& out, const char* record, const char* stem, const IconEntry& entry) {
    std::string pixels = std::string(stem) + "_pixels", clear = std::string(stem) + "_transparent";
    out += "namespace {\n\n";
    put_bytes(out, pixels.c_str(), entry.picture.image.pixels);
    put_bytes(out, clear.c_str(), entry.picture.transparent);
    out += "}  // namespace\n\n";
    out += "const ArtCursor " + std::string(record) + " = {" +
           std::to_string(entry.picture.image.width) + ", " +
           std::to_string(entry.picture.image.height) + ", " + std::to_string(entry.hot_x) +
           ", " + std::to_string(entry.hot_y) + ", " + pixels + ", " + clear + "};\n\n";
}

// _NET_WM_ICON's value, and one record per size pointing at its pixels inside it.
void put_icons(std::string& out, const std::vector<IconEntry>& entries) {
    std::vector<unsigned long> property;
    std::vector<size_t> starts;
    for (const IconEntry& e : entries) {
        RgbaImage rgba = rgba_from_icon(e.picture);
        property.push_back(unsigned(rgba.width));
        property.push_back(unsigned(rgba.height));
        starts.push_back(property.size());
        for (size_t i = 0; i < rgba.pixels.size(); i += 4) {
            const uint8_t* p = &rgba.pixels[i];
            property.push_back(uint32_t(p[3]) << 24 | uint32_t(p[0]) << 16 |
                               uint32_t(p[1]) << 8 | p[2]);
        }
    }
    out += "const unsigned long art_icon_property[art_icon_property_length] = {";
    char value[24];
    for (size_t i = 0; i < property.size(); ++i) {
        out += i % longs_per_line ? " " : "\n    ";
        std::snprintf(value, sizeof value, "0x%08lxul,", property[i]);
        out += value;
    }
    out += "\n};\n\nconst ArtIcon art_icons[art_icon_count] = {\n";
    for (size_t k = 0; k < entries.size(); ++k)
        out += "    {" + std::to_string(entries[k].picture.image.width) + ", art_icon_property + " +
               std::to_string(starts[k]) + "},\n";
    out += "};\n";
}

void put_portrait(std::string& out, const RgbImage& image) {
    out += "namespace {\n\n";
    put_colours(out, "portrait_pixels", image.pixels);
    out += "}  // namespace\n\n";
    out += "const ArtRgbPicture art_portrait = {" + std::to_string(image.width) + ", " +
           std::to_string(image.height) + ", portrait_pixels};\n\n";
}

// Decodes every file and writes the whole source text into out; false on the first
// file that is missing, malformed or not what the header promises.
bool build_source(std::string& out) {
    IndexedImage sprites, mask, logo, panel, tile;
    RgbImage portrait;
    std::vector<IconEntry> icons, hand_open, hand_grab;
    const int32_t cursor_sizes[] = {art_cursor_size};
    bool ok =
        load_indexed("sprites.bmp", art_sheet_width, art_sheet_height, art_sheet_colours, &sprites) &&
        load_indexed("mask.bmp", art_sheet_width, art_sheet_height, 2, &mask) &&
        load_indexed("logo.bmp", art_logo_width, art_logo_height, art_logo_colours, &logo) &&
        load_indexed("panel.bmp", art_panel_width, art_panel_height, art_panel_colours, &panel) &&
        load_indexed("tile.bmp", art_tile_width, art_tile_height, art_tile_colours, &tile) &&
        load_portrait(&portrait) &&
        load_icon_file("tuvo.ico", 1, art_icon_sizes, art_icon_count, &icons) &&
        load_icon_file("hand_open.cur", 2, cursor_sizes, 1, &hand_open) &&
        load_icon_file("hand_grab.cur", 2, cursor_sizes, 1, &hand_grab);
    if (!ok) return false;
    for (const IconEntry* hand : {&hand_open[0], &hand_grab[0]})
        if (hand->hot_x != art_cursor_hot_x || hand->hot_y != art_cursor_hot_y)
            return fail("a cursor's hot spot differs from art_data.h");

    out = "// Generated by tuvo-embed from the artwork files; rebuilt with them, never edited.\n"
          "// The tables declared in art_data.h, pixel for pixel as tuvo.exe embeds them.\n"
          "#include \"art_data.h\"\n\n";
    put_indexed(out, "art_sprites", "sprites", sprites);
    out += "namespace {\n\n";
    put_bytes(out, "mask_bits", pack_mask(mask));
    out += "}  // namespace\n\n";
    out += "const ArtMask art_mask = {" + std::to_string(mask.width) + ", " +
           std::to_string(mask.height) + ", art_mask_stride, " +
           (black(mask.colours[0]) ? "0" : "1") + ", mask_bits};\n\n";
    put_indexed(out, "art_logo", "logo", logo);
    put_indexed(out, "art_panel", "panel", panel);
    put_indexed(out, "art_tile", "tile", tile);
    put_portrait(out, portrait);
    put_cursor(out, "art_hand_open", "hand_open", hand_open[0]);
    put_cursor(out, "art_hand_grab", "hand_grab", hand_grab[0]);
    put_icons(out, icons);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: tuvo-embed ARTDIR OUT.cpp\n");
        return 2;
    }
    art_dir = argv[1];
    std::string source;
    if (!build_source(source)) {
        std::fprintf(stderr, "tuvo-embed: %s\n", failure.c_str());
        return 1;
    }
    if (!write_file(argv[2], Bytes(source.begin(), source.end()))) {
        std::fprintf(stderr, "tuvo-embed: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
