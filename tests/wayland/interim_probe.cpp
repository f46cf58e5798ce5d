// The native Wayland tests' screenshot probe until the shared Wayland test bed lands: takes
// a screenshot (binary PPM, as grim -t ppm writes it) of a desktop of one known colour and
// says which of the sheet's pictures the pet shows there, where and at which scale.
//   find SHOT BG SCALE [X Y W H]
//     BG the background as RRGGBB; SCALE device pixels per pet pixel, 0 to find it (1 to
//     8); X Y W H the part of the shot to look at.
//   prints  pet PICTURE IMAGE MIRRORED X Y SCALE GX GY   (the picture's corner in the
//           shot; GX GY a point of the shot well inside the cat, to take hold of it)
//     or    none REASON
//   at SHOT BG SCALE X Y EX EY EW EH
//     the same answer when the pet shows with its corner exactly at (X, Y) and nothing
//     else is on the desktop, the rectangle EX EY EW EH (the pointer's cursor) unlooked at
//   near SHOT BG SCALE X Y R EX EY EW EH
//     the same, its corner anywhere up to R pixels from (X, Y) either way
// A pet is found only when every pixel of the part is the background but the picture's
// opaque pixels, each exactly the sheet's colour and each pet pixel a solid block.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "art_data.h"

namespace {

constexpr int cell = art_cell_size;
constexpr int cells = art_sheet_columns * (art_sheet_height / art_cell_size);

struct Shot {
    int w = 0, h = 0;
    std::vector<uint32_t> rgb;
};

int ppm_number(FILE* f) {
    int c = std::fgetc(f);
    while (c == '#' || c == ' ' || c == '\t' || c == '\n' || c == '\r') {
        if (c == '#')
            while (c != '\n' && c != EOF) c = std::fgetc(f);
        c = std::fgetc(f);
    }
    int value = -1;
    while (c >= '0' && c <= '9') {
        value = (value < 0 ? 0 : value * 10) + (c - '0');
        c = std::fgetc(f);
    }
    return value;
}

bool read_ppm(const char* path, Shot* shot) {
    FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    char magic[3] = {};
    bool ok = std::fread(magic, 1, 2, f) == 2 && std::strcmp(magic, "P6") == 0;
    const int w = ok ? ppm_number(f) : -1, h = ok ? ppm_number(f) : -1, top = ok ? ppm_number(f) : -1;
    ok = ok && w > 0 && h > 0 && top == 255;
    if (ok) {
        std::vector<uint8_t> bytes(size_t(w) * size_t(h) * 3);
        ok = std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size();
        shot->w = w, shot->h = h;
        shot->rgb.resize(size_t(w) * size_t(h));
        for (size_t i = 0; ok && i < shot->rgb.size(); ++i)
            shot->rgb[i] = uint32_t(bytes[3 * i]) << 16 | uint32_t(bytes[3 * i + 1]) << 8 | bytes[3 * i + 2];
    }
    std::fclose(f);
    return ok;
}

int sheet_index(int picture, int x, int y) {
    const int image = picture % cells, mirrored = picture / cells;
    const int sx = (image % art_sheet_columns) * cell + (mirrored ? cell - 1 - x : x);
    const int sy = (image / art_sheet_columns) * cell + y;
    return art_sprites.pixels[size_t(sy) * size_t(art_sprites.width) + size_t(sx)];
}

uint32_t colour(int index) {
    const ArtRgb c = art_sprites.colours[index];
    return uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
}

struct Box {
    int left, top, right, bottom;  // right and bottom past the last
};

Box opaque_box(int picture) {
    Box box = {cell, cell, 0, 0};
    for (int y = 0; y < cell; ++y)
        for (int x = 0; x < cell; ++x)
            if (sheet_index(picture, x, y) != art_key_index) {
                box.left = x < box.left ? x : box.left;
                box.top = y < box.top ? y : box.top;
                box.right = x + 1 > box.right ? x + 1 : box.right;
                box.bottom = y + 1 > box.bottom ? y + 1 : box.bottom;
            }
    return box;
}

// The opaque pet pixel nearest the picture's middle whose neighbours two pixels round are
// opaque too: a press there lands on the cat whatever a pixel's rounding.
void grip(int picture, int* gx, int* gy) {
    long best = -1;
    for (int y = 2; y < cell - 2; ++y)
        for (int x = 2; x < cell - 2; ++x) {
            bool solid = true;
            for (int j = -2; j <= 2 && solid; ++j)
                for (int i = -2; i <= 2 && solid; ++i) solid = sheet_index(picture, x + i, y + j) != art_key_index;
            const long d = long(x - cell / 2) * (x - cell / 2) + long(y - cell / 2) * (y - cell / 2);
            if (solid && (best < 0 || d < best)) best = d, *gx = x, *gy = y;
        }
}

// Pixels of |found| in the shot that differ from |picture| at |scale| placed there.
long mismatches(const Shot& shot, const Box& found, int picture, const Box& p, int scale, uint32_t background) {
    long bad = 0;
    for (int y = found.top; y < found.bottom; ++y)
        for (int x = found.left; x < found.right; ++x) {
            const int index = sheet_index(picture, p.left + (x - found.left) / scale, p.top + (y - found.top) / scale);
            const uint32_t want = index == art_key_index ? background : colour(index);
            bad += shot.rgb[size_t(y) * size_t(shot.w) + size_t(x)] != want;
        }
    return bad;
}

void print_pet(int picture, int x, int y, int scale) {
    int gx = 0, gy = 0;
    grip(picture, &gx, &gy);
    std::printf("pet %d %d %d %d %d %d %d %d\n", picture, picture % cells, picture / cells, x, y, scale,
                x + gx * scale + scale / 2, y + gy * scale + scale / 2);
}

bool inside(const Box& b, int x, int y) { return x >= b.left && x < b.right && y >= b.top && y < b.bottom; }

// Whether |picture| at |scale| with its corner at (x, y) matches the shot outside |except|.
bool matches_at(const Shot& shot, uint32_t background, int scale, int x, int y, const Box& except, int picture) {
    for (int py = 0; py < cell * scale; ++py)
        for (int px = 0; px < cell * scale; ++px) {
            const int sx = x + px, sy = y + py;
            if (inside(except, sx, sy)) continue;
            const int index = sheet_index(picture, px / scale, py / scale);
            const bool off = sx < 0 || sy < 0 || sx >= shot.w || sy >= shot.h;
            if (off) {
                if (index != art_key_index) return false;
                continue;
            }
            const uint32_t want = index == art_key_index ? background : colour(index);
            if (shot.rgb[size_t(sy) * size_t(shot.w) + size_t(sx)] != want) return false;
        }
    return true;
}

// The pet with its corner up to |reach| pixels from (x, y): some picture whose every pixel
// outside |except| matches, and the background everywhere else outside |except|.
int find_near(const Shot& shot, uint32_t background, int scale, int x, int y, int reach, const Box& except) {
    Box other = {shot.w, shot.h, 0, 0};
    for (int sy = 0; sy < shot.h; ++sy)
        for (int sx = 0; sx < shot.w; ++sx)
            if (!inside(except, sx, sy) && shot.rgb[size_t(sy) * size_t(shot.w) + size_t(sx)] != background) {
                other.left = sx < other.left ? sx : other.left;
                other.top = sy < other.top ? sy : other.top;
                other.right = sx + 1 > other.right ? sx + 1 : other.right;
                other.bottom = sy + 1 > other.bottom ? sy + 1 : other.bottom;
            }
    for (int cy = y - reach; cy <= y + reach; ++cy)
        for (int cx = x - reach; cx <= x + reach; ++cx) {
            const Box window = {cx, cy, cx + cell * scale, cy + cell * scale};
            if (other.right > other.left && (other.left < window.left || other.top < window.top ||
                                             other.right > window.right || other.bottom > window.bottom))
                continue;
            for (int picture = 0; picture < 2 * cells; ++picture)
                if (matches_at(shot, background, scale, cx, cy, except, picture))
                    return print_pet(picture, cx, cy, scale), 0;
        }
    return std::printf("none no picture has its corner within %d of %d,%d\n", reach, x, y), 0;
}

}  // namespace

int main(int argc, char** argv) {
    const bool at = argc == 11 && std::strcmp(argv[1], "at") == 0;
    const bool near = argc == 12 && std::strcmp(argv[1], "near") == 0;
    if (!at && !near && (argc < 5 || std::strcmp(argv[1], "find") != 0)) {
        std::fprintf(stderr,
                     "usage: %s find SHOT RRGGBB SCALE [X Y W H] | at SHOT RRGGBB SCALE X Y EX EY EW EH |\n"
                     "       near SHOT RRGGBB SCALE X Y R EX EY EW EH\n",
                     argv[0]);
        return 2;
    }
    Shot shot;
    if (!read_ppm(argv[2], &shot)) return std::printf("none unreadable shot %s\n", argv[2]), 0;
    const uint32_t background = uint32_t(std::strtoul(argv[3], nullptr, 16));
    const int asked = std::atoi(argv[4]);
    if (at || near) {
        const int reach = near ? std::atoi(argv[7]) : 0, e = near ? 8 : 7;
        const int ex = std::atoi(argv[e]), ey = std::atoi(argv[e + 1]);
        const Box except = {ex, ey, ex + std::atoi(argv[e + 2]), ey + std::atoi(argv[e + 3])};
        return find_near(shot, background, asked > 0 ? asked : 1, std::atoi(argv[5]), std::atoi(argv[6]), reach,
                         except);
    }
    Box area = {0, 0, shot.w, shot.h};
    if (argc >= 9) {
        area = {std::atoi(argv[5]), std::atoi(argv[6]), 0, 0};
        area.right = area.left + std::atoi(argv[7]);
        area.bottom = area.top + std::atoi(argv[8]);
        if (area.left < 0 || area.top < 0 || area.right > shot.w || area.bottom > shot.h)
            return std::printf("none the part lies outside the %dx%d shot\n", shot.w, shot.h), 0;
    }
    Box found = {area.right, area.bottom, area.left, area.top};
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (shot.rgb[size_t(y) * size_t(shot.w) + size_t(x)] != background) {
                found.left = x < found.left ? x : found.left;
                found.top = y < found.top ? y : found.top;
                found.right = x + 1 > found.right ? x + 1 : found.right;
                found.bottom = y + 1 > found.bottom ? y + 1 : found.bottom;
            }
    if (found.right <= found.left) return std::printf("none only the background\n"), 0;
    const int w = found.right - found.left, h = found.bottom - found.top;
    long best = -1;
    int best_picture = -1, best_scale = 0;
    for (int scale = asked > 0 ? asked : 1; scale <= (asked > 0 ? asked : 8); ++scale)
        for (int picture = 0; picture < 2 * cells; ++picture) {
            const Box p = opaque_box(picture);
            if ((p.right - p.left) * scale != w || (p.bottom - p.top) * scale != h) continue;
            const long bad = mismatches(shot, found, picture, p, scale, background);
            if (bad == 0) {
                print_pet(picture, found.left - p.left * scale, found.top - p.top * scale, scale);
                return 0;
            }
            if (best < 0 || bad < best) best = bad, best_picture = picture, best_scale = scale;
        }
    if (best < 0)
        std::printf("none no picture fits the %dx%d box of other pixels at %d,%d\n", w, h, found.left, found.top);
    else
        std::printf("none the %dx%d box at %d,%d is picture %d at scale %d but for %ld pixels\n", w, h, found.left,
                    found.top, best_picture, best_scale, best);
    return 0;
}
