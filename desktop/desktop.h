// The pet's place on the desktop: takes the monitors, the display's scale and the margins
// in screen pixels, and returns the world the behaviour engine lives in (one monitor seen
// at the pet's scale, with its origin at (0, 0) and the margins inside it) together with
// the mapping between that world and the screen. Plain integers; no platform calls.
#pragma once

#include <cstdint>

struct ScreenRect {
    int32_t left, top, right, bottom;
};

struct ScreenPoint {
    int32_t x, y;
};

struct Margins {
    int32_t top, left, bottom, right;
};

constexpr int32_t max_monitors = 16;

// The monitors as the system lists them, in screen pixels; |primary| indexes the one
// whose top-left corner is the screen's origin.
struct MonitorLayout {
    int32_t count;
    int32_t primary;
    ScreenRect monitors[max_monitors];
};

// One monitor as the engine sees it.
struct World {
    ScreenRect monitor;  // screen pixels
    int32_t scale;       // screen pixels per pet pixel
    int32_t width;       // the monitor's size in pet pixels
    int32_t height;
    Margins margins;  // pet pixels
};

constexpr int32_t default_dpi = 96;
constexpr int32_t max_scale = 8;
// The least room the pet is given, in its own pixels, before its scale is lowered.
constexpr int32_t min_world_width = 320;
constexpr int32_t min_world_height = 240;

// The display's scaling as a whole number: DPI / 96 rounded to the nearest, 1 to 8.
int32_t scale_for_dpi(int32_t dpi);

// The pet's scale: |setting| 1 to 8 is taken as it is, anything else follows |dpi|; then
// lowered until the monitor leaves a world of at least 320 x 240 and room for a frame of
// |frame| pet pixels inside the margins.
int32_t choose_scale(int32_t setting, int32_t dpi, ScreenRect monitor, Margins margins, int32_t frame);

// The world on |monitor| at |scale|: its size rounded down, the margins rounded up. Margins
// that leave no room for the frame on this monitor are dropped (all four become 0).
World world_on(ScreenRect monitor, int32_t scale, Margins margins, int32_t frame);

// Index of the monitor holding |point|, else of the one nearest to it; -1 when none.
int32_t monitor_at(const MonitorLayout& layout, ScreenPoint point);

// After the monitors changed: the index of the monitor that now stands where |old| stood
// (the one holding its top-left corner), else the primary one.
int32_t monitor_after_change(const MonitorLayout& layout, ScreenRect old);

bool contains(ScreenRect rect, ScreenPoint point);
// True when |window| covers the whole of |monitor|, as a full-screen program's window does.
bool covers(ScreenRect window, ScreenRect monitor);
bool same_rect(ScreenRect a, ScreenRect b);

// A pet position to the screen and a screen point back to the world (rounded down).
ScreenPoint to_screen(const World& world, int32_t x, int32_t y);
ScreenPoint to_world(const World& world, ScreenPoint point);
