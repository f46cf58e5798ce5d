// The X11 probe's parts between its files: takes the display the probe opened and the
// windows its commands name, and gives what each command looks at and prints.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <string>
#include <vector>

extern Display* display;
extern Window root;

struct Rect {
    int x, y, w, h;
};

// --- properties and places (x11_probe.cpp) ---------------------------------------------
Atom atom(const char* name);
// The 32-bit items of |property| of |type|; empty when the window has none.
std::vector<unsigned long> read_longs(Window window, const char* property, Atom type);
// The window's title in UTF-8: _NET_WM_NAME, else WM_NAME.
std::string read_title(Window window);
// The window's place on the root and its size; false when it has gone.
bool window_rect(Window window, Rect* rect);
// A pet: a top-level override-redirect window of class "tuvo" typed as a utility window.
bool is_pet(Window window);
// shape shaped|unshaped COUNT LEFT TOP RIGHT BOTTOM DIGEST of the bounding shape.
void print_shape(Window window);
// A window id as the command line gives it (decimal or 0x...).
Window window_argument(const char* text);
// Milliseconds of a steady clock.
double now_ms();
// The children of |parent|, bottom to top.
std::vector<Window> children_of(Window parent);

// --- pictures (probe_frame.cpp) --------------------------------------------------------
// The probe's desktop pattern at a root pixel: never the key colour, each pixel telling
// where it is.
void backdrop_rgb(int x, int y, uint8_t rgb[3]);
// Covers the root window with the pattern.
int command_backdrop();
// Which picture the window shows at |scale|, or why none; writes what was looked at,
// with a margin of desktop around it, to |ppm| when given.
int command_frame(Window window, int scale, const char* ppm);
// A root point well inside the window's shape, nearest its middle, where no other
// window covers it; with a button, the pointer goes there and presses it |presses|
// times, releasing all but the last, all while the server is held.
int command_grip(Window window, int scale, int button, int presses);

// --- events (probe_watch.cpp) ----------------------------------------------------------
// A window of our own that asks the window manager for the whole screen (or to be
// maximised) and the focus; kept until killed.
int command_cover(bool full_screen);
// Counts the window's moves and changes of shape for |ms|.
int command_watch(Window window, int ms);
// Waits up to |ms| for the window to be mapped and tells its place and picture then.
int command_await_map(Window window, int scale, int ms);
// Waits up to |ms| for the window to become |width| wide: where it was just before, and
// where it is then.
int command_await_size(Window window, int width, int ms);
// Counts the changes of what the screen shows in |area| for |ms|.
int command_changes(Rect area, int ms);
// Waits up to |ms| for the connection to bring something; false when nothing came.
bool wait_for_events(double ms);

// --- among other windows (probe_stack.cpp) ---------------------------------------------
// A window of ours at |area|, kept until killed: "override" is override-redirect (as a
// screen locker's), "catcher" an input-only override-redirect one, "plain" one a window
// manager handles, "raiser" a plain one that raises itself again and again for |raise_ms|.
int command_window_of_ours(Rect area, const char* kind, int raise_ms);
// Whether |upper| (or the frame round it) stands above |lower|.
int command_above(Window upper, Window lower);
// Stops the process |pid| for |ms|, lets it go on, and tells when its window moved in the
// moments after.
int command_stall(int pid, Window window, int ms);
