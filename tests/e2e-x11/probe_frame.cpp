// The probe's eye: takes a window's shape and what the screen shows at its place, read
// together under a server grab, and says which of the sprite sheet's 340 pictures (170
// images, plain or mirrored) it shows at a scale, or why none; also lays the probe's
// desktop pattern and finds a point to take hold of.
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/shape.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "probe.h"
#include "sheet_pictures.h"

namespace {

constexpr int side = picture_side;
constexpr int screenshot_margin = 20;           // desktop kept around the window in a screenshot
constexpr int grip_reach = 3;                   // pet pixels of shape wanted around a grip

// What one look saw: the window's place and shape, and the screen around it.
struct Look {
    bool viewable;
    bool shaped;
    Rect window;                 // on the root
    Rect area;                   // what |rgb| covers: the window and a margin, within the screen
    std::vector<uint8_t> inside;  // window.w x window.h: 1 inside the bounding shape
    std::vector<uint32_t> rgb;    // area.w x area.h, 0xRRGGBB
};

// Pixel values and colours of the default visual, which is true colour on every server
// the tests use.
uint32_t channel_to_8(unsigned long pixel, unsigned long mask) {
    if (!mask) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    const unsigned long top = mask >> shift;
    return uint32_t((((pixel & mask) >> shift) * 255 + top / 2) / top);
}

unsigned long channel_from_8(uint32_t value, unsigned long mask) {
    if (!mask) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    const unsigned long top = mask >> shift;
    return ((value * top + 127) / 255) << shift;
}

uint32_t pixel_rgb(const Visual* v, unsigned long pixel) {
    return channel_to_8(pixel, v->red_mask) << 16 | channel_to_8(pixel, v->green_mask) << 8 |
           channel_to_8(pixel, v->blue_mask);
}

uint32_t pattern_rgb(int x, int y) {
    uint8_t c[3];
    backdrop_rgb(x, y, c);
    return uint32_t(c[0]) << 16 | uint32_t(c[1]) << 8 | c[2];
}

void fill_shape(Window window, Look* look) {
    int bounding = 0, clip = 0, x = 0, y = 0, cx = 0, cy = 0;
    unsigned int w = 0, h = 0, cw = 0, ch = 0;
    XShapeQueryExtents(display, window, &bounding, &x, &y, &w, &h, &clip, &cx, &cy, &cw, &ch);
    look->shaped = bounding != 0;
    const int ww = look->window.w, wh = look->window.h;
    look->inside.assign(size_t(ww) * wh, look->shaped ? 0 : 1);
    if (!look->shaped) return;
    int count = 0, ordering = 0;
    XRectangle* rects = XShapeGetRectangles(display, window, ShapeBounding, &count, &ordering);
    for (int i = 0; i < count; ++i)
        for (int j = rects[i].y; j < rects[i].y + rects[i].height; ++j)
            for (int k = rects[i].x; k < rects[i].x + rects[i].width; ++k)
                if (j >= 0 && j < wh && k >= 0 && k < ww) look->inside[size_t(j) * ww + k] = 1;
    if (rects) XFree(rects);
}

void fill_pixels(Look* look, int margin) {
    const int screen_w = DisplayWidth(display, DefaultScreen(display));
    const int screen_h = DisplayHeight(display, DefaultScreen(display));
    const Rect& w = look->window;
    const int left = std::max(0, w.x - margin), top = std::max(0, w.y - margin);
    const int right = std::min(screen_w, w.x + w.w + margin), bottom = std::min(screen_h, w.y + w.h + margin);
    look->area = {left, top, std::max(0, right - left), std::max(0, bottom - top)};
    look->rgb.assign(size_t(look->area.w) * look->area.h, 0);
    if (look->area.w == 0 || look->area.h == 0) return;
    XImage* image = XGetImage(display, root, left, top, look->area.w, look->area.h, AllPlanes, ZPixmap);
    if (!image) return;
    const Visual* visual = DefaultVisual(display, DefaultScreen(display));
    for (int y = 0; y < look->area.h; ++y)
        for (int x = 0; x < look->area.w; ++x)
            look->rgb[size_t(y) * look->area.w + x] = pixel_rgb(visual, XGetPixel(image, x, y));
    XDestroyImage(image);
}

// The window's place, shape and pixels; the caller holds the server, so that nobody
// else's requests run between the reads.
bool take_look(Window window, int margin, Look* look) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) || !window_rect(window, &look->window)) return false;
    look->viewable = attributes.map_state == IsViewable;
    fill_shape(window, look);
    if (look->viewable) fill_pixels(look, margin);
    return true;
}

void hold_server() { XGrabServer(display); }

void let_go_of_server() {
    XUngrabServer(display);
    XSync(display, False);
}

// The screen's colour at the window's pixel (x, y).
uint32_t seen(const Look& look, int x, int y) {
    const int ax = look.window.x + x - look.area.x, ay = look.window.y + y - look.area.y;
    if (ax < 0 || ay < 0 || ax >= look.area.w || ay >= look.area.h) return 0xFF000000;  // off screen
    return look.rgb[size_t(ay) * look.area.w + ax];
}

bool inside(const Look& look, int x, int y) { return look.inside[size_t(y) * look.window.w + x] != 0; }

// "none" and why: the answer when the window shows no picture.
int none(const char* format, ...) {
    std::printf("none ");
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::printf("\n");
    return 1;
}

int found(int p) {
    std::printf("frame %d %d %d\n", p, p % image_count, p >= image_count ? 1 : 0);
    return 0;
}

// The shape as pet pixels, when it is made of whole s x s blocks.
bool shape_in_blocks(const Look& look, int s, std::vector<uint8_t>* mask) {
    mask->assign(size_t(side) * side, 0);
    for (int y = 0; y < side * s; ++y)
        for (int x = 0; x < side * s; ++x) {
            if (inside(look, x, y) != inside(look, x / s * s, y / s * s)) {
                none("the shape is no outline at scale %d: cut inside the block at %d %d", s, x, y);
                return false;
            }
            (*mask)[size_t(y / s) * side + x / s] = inside(look, x, y);
        }
    return true;
}

std::vector<int> pictures_of_outline(const std::vector<uint8_t>& mask) {
    std::vector<int> pictures;
    for (int p = 0; p < picture_count; ++p) {
        bool same = true;
        for (int i = 0; i < side * side && same; ++i) same = picture_opaque(p, i % side, i / side) == (mask[i] != 0);
        if (same) pictures.push_back(p);
    }
    return pictures;
}

// Every pixel inside the shape is a colour of the sheet other than the key, the same
// all over its s x s block.
bool crisp_sprite_pixels(const Look& look, int s) {
    for (int y = 0; y < side * s; ++y)
        for (int x = 0; x < side * s; ++x) {
            if (!inside(look, x, y)) continue;
            const uint32_t c = seen(look, x, y);
            if (c == key_rgb) return !none("key colour at %d %d", x, y);
            if (!sheet_colour(c))
                return !none("colour %u,%u,%u at %d %d is not of the sheet", c >> 16, c >> 8 & 255, c & 255, x, y);
            if (c != seen(look, x / s * s, y / s * s)) return !none("the block at %d %d is not %d x %d", x, y, s, s);
        }
    return true;
}

// Modes 1 and 2: the shape names the outline, the pixels inside it the picture.
int judge_shaped(const Look& look, int s) {
    std::vector<uint8_t> mask;
    if (!shape_in_blocks(look, s, &mask)) return 1;
    const std::vector<int> outlines = pictures_of_outline(mask);
    if (outlines.empty()) return none("the shape is no outline of any picture at scale %d", s);
    if (!crisp_sprite_pixels(look, s)) return 1;
    int nearest = -1, fewest = 0;
    for (int p : outlines) {
        int differ = 0;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                if (mask[size_t(y) * side + x] && seen(look, x * s, y * s) != picture_rgb(p, x, y)) ++differ;
        if (differ == 0) return found(p);
        if (nearest < 0 || differ < fewest) nearest = p, fewest = differ;
    }
    return none("the pixels are no picture of this outline (nearest %d: %d pet pixels differ)", nearest, fewest);
}

// Mode 0: the square shows the picture's opaque pixels and the desktop behind the rest.
// The picture p would show at the window's pixel (x, y).
uint32_t expected_over_desktop(const Look& look, int p, int s, int x, int y) {
    return picture_opaque(p, x / s, y / s) ? picture_rgb(p, x / s, y / s)
                                           : pattern_rgb(look.window.x + x, look.window.y + y);
}

int judge_square(const Look& look, int s) {
    const int n = side * s;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            if (seen(look, x, y) == key_rgb) return none("key colour at %d %d", x, y);
    int nearest = -1, fewest = 0;
    for (int p = 0; p < picture_count; ++p) {
        int differ = 0;
        for (int y = 0; y < n && (nearest < 0 || differ < fewest); ++y)
            for (int x = 0; x < n; ++x)
                if (seen(look, x, y) != expected_over_desktop(look, p, s, x, y)) ++differ;
        if (differ == 0) return found(p);
        if (nearest < 0 || differ < fewest) nearest = p, fewest = differ;
    }
    // Why the nearest picture is not it: its first pixel that differs.
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const uint32_t c = seen(look, x, y), want = expected_over_desktop(look, nearest, s, x, y);
            if (c == want) continue;
            const char* what = !picture_opaque(nearest, x / s, y / s) ? "where the desktop shows"
                               : !sheet_colour(c)                      ? "(not of the sheet) where the picture has"
                               : c != seen(look, x / s * s, y / s * s) ? "(the block is not whole) where the picture has"
                                                                       : "where the picture has";
            return none("nearest picture %d, %d pixels differ; at %d %d %u,%u,%u %s %u,%u,%u", nearest, fewest, x, y,
                        c >> 16, c >> 8 & 255, c & 255, what, want >> 16, want >> 8 & 255, want & 255);
        }
    return 1;
}

// The point of the shape nearest the window's middle with grip_reach pet pixels of
// shape all round it, in root coordinates.
bool grip_point(const Look& look, int scale, int* root_x, int* root_y) {
    const int w = look.window.w, h = look.window.h, reach = grip_reach * scale;
    long best = -1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!inside(look, x, y)) continue;
            const long d = long(2 * x - w) * (2 * x - w) + long(2 * y - h) * (2 * y - h);
            if (best >= 0 && d >= best) continue;
            bool solid = true;
            for (int j = y - reach; j <= y + reach && solid; ++j)
                for (int i = x - reach; i <= x + reach && solid; ++i)
                    solid = i >= 0 && j >= 0 && i < w && j < h && inside(look, i, j);
            if (solid) best = d, *root_x = look.window.x + x, *root_y = look.window.y + y;
        }
    return best >= 0;
}

void write_ppm(const Look& look, const char* path) {
    FILE* file = std::fopen(path, "wb");
    if (!file) return;
    std::fprintf(file, "P6\n%d %d\n255\n", look.area.w, look.area.h);
    for (uint32_t c : look.rgb) {
        const unsigned char bytes[3] = {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)};
        std::fwrite(bytes, 1, 3, file);
    }
    std::fclose(file);
}

}  // namespace

void backdrop_rgb(int x, int y, uint8_t rgb[3]) {
    // Blue stays between 32 and 218: the pattern never shows pure cyan.
    rgb[0] = uint8_t(x & 255);
    rgb[1] = uint8_t(y & 255);
    rgb[2] = uint8_t(32 + ((x >> 8) & 7) * 24 + ((y >> 8) & 3) * 6);
}

int command_backdrop() {
    const int screen = DefaultScreen(display);
    const int w = DisplayWidth(display, screen), h = DisplayHeight(display, screen);
    Visual* visual = DefaultVisual(display, screen);
    XImage* image = XCreateImage(display, visual, DefaultDepth(display, screen), ZPixmap, 0, nullptr, w, h, 32, 0);
    if (!image) return 1;
    image->data = static_cast<char*>(std::calloc(size_t(image->bytes_per_line), size_t(h)));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t c[3];
            backdrop_rgb(x, y, c);
            XPutPixel(image, x, y, channel_from_8(c[0], visual->red_mask) | channel_from_8(c[1], visual->green_mask) |
                                       channel_from_8(c[2], visual->blue_mask));
        }
    const Pixmap pixmap = XCreatePixmap(display, root, w, h, DefaultDepth(display, screen));
    XPutImage(display, pixmap, DefaultGC(display, screen), image, 0, 0, 0, 0, w, h);
    XDestroyImage(image);
    // The root keeps its background after the pixmap's name and our connection are gone.
    XSetWindowBackgroundPixmap(display, root, pixmap);
    XClearWindow(display, root);
    XFreePixmap(display, pixmap);
    XSync(display, False);
    return 0;
}

int command_frame(Window window, int scale, const char* ppm) {
    Look look = {};
    hold_server();
    const bool alive = take_look(window, screenshot_margin, &look);
    let_go_of_server();
    if (scale < 1 || !alive) return std::printf("none no such window\n"), 1;
    if (ppm && look.viewable) write_ppm(look, ppm);
    if (!look.viewable) return std::printf("none the window is not viewable\n"), 1;
    if (look.window.w != side * scale || look.window.h != side * scale) {
        std::printf("none the window is %d x %d, not %d x %d\n", look.window.w, look.window.h, side * scale,
                    side * scale);
        return 1;
    }
    return look.shaped ? judge_shaped(look, scale) : judge_square(look, scale);
}

int command_grip(Window window, int scale, int button, int presses) {
    Look look = {};
    hold_server();
    int x = 0, y = 0;
    bool found = scale >= 1 && take_look(window, 0, &look) && look.viewable && grip_point(look, scale, &x, &y);
    // The point must show the window itself, not another one above it.
    Window child = None;
    int child_x = 0, child_y = 0;
    const bool seen = found && XTranslateCoordinates(display, root, root, x, y, &child_x, &child_y, &child) &&
                      child == window;
    // Pressed while the server is ours: the pet cannot step away between the look and
    // the presses. All but the last press are whole clicks.
    if (seen && button) {
        XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
        for (int i = 1; i <= presses; ++i) {
            XTestFakeButtonEvent(display, unsigned(button), True, CurrentTime);
            if (i < presses) XTestFakeButtonEvent(display, unsigned(button), False, CurrentTime);
        }
    }
    let_go_of_server();
    if (!found) return 1;
    if (!seen) return std::printf("covered at %d %d by 0x%lx\n", x, y, child), 1;
    std::printf("%d %d %d %d\n", x, y, look.window.x, look.window.y);
    return 0;
}
