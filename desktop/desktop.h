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
// Room for a monitor's name as the systems give it (a device name such as
// "\\.\DISPLAY2", an output name such as "HDMI-1"), terminator included.
constexpr int32_t monitor_name_size = 32;

// The monitors as the system lists them, in screen pixels; |primary| indexes the one
// whose top-left corner is the screen's origin. A name tells a monitor apart wherever
// it stands (empty when the system gives none); a DPI of 0 means unknown.
struct MonitorLayout {
    int32_t count;
    int32_t primary;
    ScreenRect monitors[max_monitors];
    char names[max_monitors][monitor_name_size];
    int32_t dpis[max_monitors];
};

// One monitor as the engine sees it.
struct World {
    ScreenRect monitor;  // screen pixels
    int32_t scale;       // screen pixels per pet pixel
    int32_t width;       // the monitor's size in pet pixels
    int32_t height;
    Margins margins;  // pet pixels
    char name[monitor_name_size];  // the monitor's name, when the system gives one
};

constexpr int32_t default_dpi = 96;
constexpr int32_t max_scale = 8;
// The least room the pet is given, in its own pixels, before its scale is lowered.
constexpr int32_t min_world_width = 320;
constexpr int32_t min_world_height = 240;

// The display's scaling as a whole number: DPI / 96 rounded to the nearest, 1 to 8.
int32_t scale_for_dpi(int32_t dpi);

// The scale a monitor gives the pet before margins: |setting| 1 to 8 is taken as it is,
// anything else follows |dpi|; then lowered until the monitor leaves a world of at least
// 320 x 240.
int32_t scale_for_monitor(int32_t setting, int32_t dpi, ScreenRect monitor);

// The pet's scale: scale_for_monitor, then lowered further until the margins leave room
// for a frame of |frame| pet pixels.
int32_t choose_scale(int32_t setting, int32_t dpi, ScreenRect monitor, Margins margins, int32_t frame);

// The one rule for margins (screen pixels): true when none is negative and, each rounded
// up to whole pet pixels at |scale|, they leave room for a frame of |frame| pet pixels in
// the world on |monitor|. A band exactly one frame wide is room enough.
bool margins_fit_on(ScreenRect monitor, int32_t scale, Margins margins, int32_t frame);

// The one rule for the margins of the settings file, at start-up and in the Options
// dialog alike: margins_fit_on the primary monitor (|primary|, of |dpi|) at the scale the
// pet takes there before margins (scale_for_monitor with |setting|), the scale the next
// start begins at.
bool margins_fit_on_primary(ScreenRect primary, int32_t dpi, int32_t setting, Margins margins, int32_t frame);

// The world on |monitor| at |scale|: its size rounded down, the margins rounded up. Margins
// that leave no room for the frame on this monitor are dropped (all four become 0).
World world_on(ScreenRect monitor, int32_t scale, Margins margins, int32_t frame);

// The world on monitor |index| of |layout|, at the scale chosen there by |setting| and the
// monitor's own DPI (|fallback_dpi| where the layout does not know it), with its name.
World world_in(const MonitorLayout& layout, int32_t index, int32_t setting, int32_t fallback_dpi,
               Margins margins, int32_t frame);

// Index of the monitor holding |point|, else of the one nearest to it; -1 when none.
int32_t monitor_at(const MonitorLayout& layout, ScreenPoint point);

// After the monitors changed: the index of the pet's monitor, once at |old| and called
// |name|. Known by its name first; then, among monitors at exactly the old rectangle
// (cloned or overlapping monitors), the first; then the one overlapping the old
// rectangle most; else the primary one.
int32_t monitor_after_change(const MonitorLayout& layout, ScreenRect old, const char* name = "");

// Index of the primary monitor of |layout|, or -1 when it lists none.
int32_t primary_index(const MonitorLayout& layout);

// After the monitors changed: the index of the monitor the pet lives on now. With |roam|
// its own, known by |pet|'s name and rectangle as monitor_after_change knows it; else the
// primary one. -1 when the layout lists none. The shells take the name, the DPI and the
// rectangle from this index, never by looking the rectangle up again (a cloned monitor
// shares it with another).
int32_t pet_monitor_after_change(const MonitorLayout& layout, const World& pet, bool roam);

// The pet's monitor as it is in |now|: the rectangle a full-screen window must cover for
// the pet to stay aside, when a change of the monitors is waiting for the pet's return
// (its world still knows the old rectangle). The old one when |now| lists none.
ScreenRect pet_monitor_now(const MonitorLayout& now, const World& pet, bool roam);

// The pet's place in |to| for its place (x, y) in |from|: as many screen pixels from the
// monitor's top-left corner, in |to|'s pet pixels (rounded down); the caller keeps it
// inside the margins. Carries the pet over a change of its monitor's place, size or scale.
ScreenPoint carry_over(const World& from, const World& to, int32_t x, int32_t y);

// Where a held pet stands in |world| with the pointer at |pointer|: the grabbed spot of its
// body (|grab_x|, |grab_y| pet pixels from its corner) under the pointer, whatever the
// world's scale; the caller keeps it inside the margins. The same rule for a pointer move
// and for a world that changed its scale or place under a still pointer.
ScreenPoint held_under(const World& world, ScreenPoint pointer, int32_t grab_x, int32_t grab_y);

bool contains(ScreenRect rect, ScreenPoint point);
// True when |window| covers the whole of |monitor|, as a full-screen program's window does.
bool covers(ScreenRect window, ScreenRect monitor);
bool same_rect(ScreenRect a, ScreenRect b);

// A pet position to the screen and a screen point back to the world (rounded down).
ScreenPoint to_screen(const World& world, int32_t x, int32_t y);
ScreenPoint to_world(const World& world, ScreenPoint point);
