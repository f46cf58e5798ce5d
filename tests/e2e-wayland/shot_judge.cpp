// The screenshot probe's eye: takes a screenshot, the desktop's colour and a scale, and
// returns the picture of the sheet the pet shows and the corner of its window, or the
// plainest reason why what is there is no one picture, crisp, alone on the desktop.
#include "shot_judge.h"

#include <cstdio>
#include <cstring>

#include "sheet_pictures.h"

namespace {

int ppm_number(FILE* file) {
    int c = std::fgetc(file);
    while (c == '#' || c == ' ' || c == '\t' || c == '\n' || c == '\r') {
        if (c == '#')
            while (c != '\n' && c != EOF) c = std::fgetc(file);
        c = std::fgetc(file);
    }
    int value = 0;
    bool any = false;
    while (c >= '0' && c <= '9') {
        value = value * 10 + (c - '0');
        any = true;
        c = std::fgetc(file);
    }
    return any ? value : -1;  // the one whitespace after the number is eaten
}

uint32_t at(const Shot& shot, int x, int y) { return shot.rgb[size_t(y) * shot.w + x]; }

// What lies in the area besides the background.
struct Others {
    long count = 0, black = 0, strange = 0;  // strange: of no colour of the sheet
    int left = 0, top = 0, right = 0, bottom = 0;
    int strange_x = 0, strange_y = 0;
    uint32_t strange_rgb = 0;
};

Others others_in(const Shot& shot, ShotArea area, uint32_t background) {
    Others o;
    for (int y = area.y; y < area.y + area.h; ++y)
        for (int x = area.x; x < area.x + area.w; ++x) {
            const uint32_t c = at(shot, x, y);
            if (c == background) continue;
            if (o.count == 0 || x < o.left) o.left = x;
            if (o.count == 0 || y < o.top) o.top = y;
            if (o.count == 0 || x + 1 > o.right) o.right = x + 1;
            if (o.count == 0 || y + 1 > o.bottom) o.bottom = y + 1;
            ++o.count;
            if (c == 0) ++o.black;
            if (!sheet_colour(c)) {
                if (o.strange == 0) o.strange_x = x, o.strange_y = y, o.strange_rgb = c;
                ++o.strange;
            }
        }
    return o;
}

// What picture p would show at the shot's pixel (x, y) with its window's corner at
// (cx, cy): its colour where it is opaque, the background elsewhere.
uint32_t expected(int p, int s, int cx, int cy, int x, int y, uint32_t background) {
    const int px = (x - cx) / s, py = (y - cy) / s;
    if (x < cx || y < cy || px >= picture_side || py >= picture_side) return background;
    return picture_opaque(p, px, py) ? picture_rgb(p, px, py) : background;
}

// Pixels of the window's square within the area that differ from picture p at corner
// (cx, cy), counting up to |enough|; the first one's place in |first_x|, |first_y|.
// (Outside the square nothing can differ once the others' extent fits in it.)
long differences(const Shot& shot, ShotArea area, int p, int s, int cx, int cy, uint32_t background, long enough,
                 int* first_x, int* first_y) {
    long differ = 0;
    const int left = cx > area.x ? cx : area.x, top = cy > area.y ? cy : area.y;
    const int right = cx + picture_side * s < area.x + area.w ? cx + picture_side * s : area.x + area.w;
    const int bottom = cy + picture_side * s < area.y + area.h ? cy + picture_side * s : area.y + area.h;
    for (int y = top; y < bottom && differ < enough; ++y)
        for (int x = left; x < right; ++x)
            if (at(shot, x, y) != expected(p, s, cx, cy, x, y, background)) {
                if (differ == 0) *first_x = x, *first_y = y;
                if (++differ >= enough) break;
            }
    return differ;
}

std::string rgb_text(uint32_t c) {
    char text[16];
    std::snprintf(text, sizeof text, "%u,%u,%u", c >> 16, c >> 8 & 255, c & 255);
    return text;
}

// The picture at scale s whose opaque extent is the others' extent and which explains
// every pixel; -1 when none does, with the nearest's first wrong pixel in |why|.
int match_at_scale(const Shot& shot, ShotArea area, const Others& o, int s, uint32_t background, int* cx, int* cy,
                   std::string* why) {
    long fewest = -1;
    for (int p = 0; p < picture_count; ++p) {
        int l = 0, t = 0, r = 0, b = 0;
        if (!picture_extent(p, &l, &t, &r, &b)) continue;
        if ((r - l) * s != o.right - o.left || (b - t) * s != o.bottom - o.top) continue;
        const int x0 = o.left - l * s, y0 = o.top - t * s;
        int fx = 0, fy = 0;
        const long differ = differences(shot, area, p, s, x0, y0, background, fewest < 0 ? 1L << 30 : fewest, &fx, &fy);
        if (differ == 0) {
            *cx = x0, *cy = y0;
            return p;
        }
        if (fewest >= 0 && differ >= fewest) continue;
        fewest = differ;
        const uint32_t seen = at(shot, fx, fy), want = expected(p, s, x0, y0, fx, fy, background);
        const int bx = x0 + (fx - x0) / s * s, by = y0 + (fy - y0) / s * s;
        const bool whole_block = seen == at(shot, bx, by);
        char text[200];
        std::snprintf(text, sizeof text, "nearest picture %d at %d %d scale %d: %ld pixels differ; at %d %d %s%s, %s wanted",
                      p, x0, y0, s, differ, fx, fy, rgb_text(seen).c_str(),
                      whole_block ? "" : " (the block is not whole: not crisp)", rgb_text(want).c_str());
        *why = text;
    }
    return -1;
}

}  // namespace

bool read_ppm(const char* path, Shot* shot) {
    FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    char magic[3] = {};
    const bool p6 = std::fread(magic, 1, 2, file) == 2 && std::strcmp(magic, "P6") == 0;
    const int w = p6 ? ppm_number(file) : -1, h = p6 ? ppm_number(file) : -1, top = p6 ? ppm_number(file) : -1;
    bool read = w > 0 && h > 0 && top == 255;
    if (read) {
        std::vector<uint8_t> bytes(size_t(w) * h * 3);
        read = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
        shot->w = w;
        shot->h = h;
        shot->rgb.resize(size_t(w) * h);
        for (size_t i = 0; read && i < shot->rgb.size(); ++i)
            shot->rgb[i] = uint32_t(bytes[3 * i]) << 16 | uint32_t(bytes[3 * i + 1]) << 8 | bytes[3 * i + 2];
    }
    std::fclose(file);
    return read;
}

bool find_pet(const Shot& shot, ShotArea area, uint32_t background, int scale, FoundPet* found, std::string* why) {
    if (area.w <= 0 || area.h <= 0) area = {0, 0, shot.w, shot.h};
    if (area.x < 0 || area.y < 0 || area.x + area.w > shot.w || area.y + area.h > shot.h)
        return *why = "the part is not inside the screenshot", false;
    const Others o = others_in(shot, area, background);
    if (o.count == 0) return *why = "only the background", false;
    const int w = o.right - o.left, h = o.bottom - o.top;
    std::string nearest;
    for (int s = scale ? scale : 1; s <= (scale ? scale : 8); ++s) {
        int cx = 0, cy = 0;
        const int p = match_at_scale(shot, area, o, s, background, &cx, &cy, &nearest);
        if (p < 0) continue;
        *found = {p, cx, cy, s};
        return true;
    }
    // Why not: the plainest fault first.
    char text[200];
    const int side = picture_side * (scale ? scale : 1);
    if (o.black) {
        std::snprintf(text, sizeof text, "%ld black pixels among the %ld beside the background, %d x %d at %d %d",
                      o.black, o.count, w, h, o.left, o.top);
    } else if (w > side || h > side) {
        std::snprintf(text, sizeof text,
                      "what is not the background spans %d x %d at %d %d, more than one picture's %d x %d", w, h,
                      o.left, o.top, side, side);
    } else if (o.strange) {
        std::snprintf(text, sizeof text, "%ld pixels of no colour of the sheet, the first %s at %d %d", o.strange,
                      rgb_text(o.strange_rgb).c_str(), o.strange_x, o.strange_y);
    } else if (!nearest.empty()) {
        std::snprintf(text, sizeof text, "%s", nearest.c_str());
    } else {
        std::snprintf(text, sizeof text,
                      "what is not the background, %d x %d at %d %d, is no one picture%s: another frame beside it?",
                      w, h, o.left, o.top, scale ? "" : " at any scale");
    }
    *why = text;
    return false;
}

bool find_pet_near(const Shot& shot, uint32_t background, int scale, int x, int y, int reach, ShotArea unseen,
                   FoundPet* found, std::string* why) {
    auto seen = [&](int sx, int sy) {
        return !(sx >= unseen.x && sx < unseen.x + unseen.w && sy >= unseen.y && sy < unseen.y + unseen.h);
    };
    // The extent of what is not the desktop, outside the unseen rectangle.
    int left = shot.w, top = shot.h, right = 0, bottom = 0;
    for (int sy = 0; sy < shot.h; ++sy)
        for (int sx = 0; sx < shot.w; ++sx)
            if (seen(sx, sy) && at(shot, sx, sy) != background) {
                if (sx < left) left = sx;
                if (sy < top) top = sy;
                if (sx + 1 > right) right = sx + 1;
                if (sy + 1 > bottom) bottom = sy + 1;
            }
    const int side = picture_side * scale;
    for (int cy = y - reach; cy <= y + reach; ++cy)
        for (int cx = x - reach; cx <= x + reach; ++cx) {
            // Everything seen that is not the desktop lies in the window's square.
            if (right > left && (left < cx || top < cy || right > cx + side || bottom > cy + side)) continue;
            for (int p = 0; p < picture_count; ++p) {
                bool same = true;
                for (int sy = cy; sy < cy + side && same; ++sy)
                    for (int sx = cx; sx < cx + side && same; ++sx) {
                        const bool inside = sx >= 0 && sy >= 0 && sx < shot.w && sy < shot.h;
                        const uint32_t want = expected(p, scale, cx, cy, sx, sy, background);
                        if (!inside) same = want == background;
                        else if (seen(sx, sy)) same = at(shot, sx, sy) == want;
                    }
                if (same) {
                    *found = {p, cx, cy, scale};
                    return true;
                }
            }
        }
    char text[120];
    std::snprintf(text, sizeof text, "no picture at scale %d has its corner within %d of %d %d", scale, reach, x, y);
    *why = text;
    return false;
}

bool picture_grip(int p, int* x, int* y) {
    long nearest = -1;
    const int middle = picture_side / 2;
    for (int py = 2; py < picture_side - 2; ++py)
        for (int px = 2; px < picture_side - 2; ++px) {
            bool solid = true;
            for (int j = -2; j <= 2 && solid; ++j)
                for (int i = -2; i <= 2 && solid; ++i) solid = picture_opaque(p, px + i, py + j);
            const long d = long(px - middle) * (px - middle) + long(py - middle) * (py - middle);
            if (solid && (nearest < 0 || d < nearest)) nearest = d, *x = px, *y = py;
        }
    return nearest >= 0;
}
