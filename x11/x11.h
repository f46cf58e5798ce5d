// The X11 pet shell, between its own files: the pet's Xlib connection and window, its
// atoms and cursors, the pictures, mode 0's blend, the shapes, the monitors as RandR
// tells them and the window manager's full-screen windows. Everything here runs on the
// pet's own connection; x11_shell is what the shared pet side calls.
#pragma once

#include <X11/Xlib.h>

#include <vector>

#include "pet.h"

extern const PetShell x11_shell;

extern Display* pet_display;  // the pet's own connection
extern Window pet_window;
// X errors seen since start; a request refused at start-up fails the start. Later ones
// (windows of other programs that went away while we looked at them) are ignored.
extern long x_errors;

// Xlib's error handlers are the process's, not a connection's, and FLTK sets its own when
// it opens its connection: this puts ours back (FLTK's connection then shares them).
void claim_error_handlers();

// --- monitors (monitors.cpp) -----------------------------------------------------------
// The monitors and the DPI as the server tells them now (round trips: never on a tick).
MonitorLayout read_layout();
// Asks the server to tell us when the monitors change.
void watch_layout();
// Takes an event that tells of a change of the monitors or of the display's scaling
// (RandR's, the root's new size or monitors, a new resource database); true when
// |event| was one.
bool layout_event(XEvent* event);

// --- full-screen courtesy (fullscreen.cpp) ---------------------------------------------
void watch_full_screen();
// Takes a property or structure event about the active window; true when it was one.
bool full_screen_event(const XEvent& event);
// The pet's monitor changed: whether a full-screen program covers it is judged anew.
void full_screen_world_changed();
// After a batch of events: judges whether a full-screen program covers the pet's monitor
// when something about it changed (round trips: never on a tick).
void settle_full_screen();
// The pet's monitor as it is now, which a full-screen window must cover.
ScreenRect monitor_to_cover();
// The stacking's judgement: an override-redirect window of another program (a screen
// locker) covers the pet's monitor, or no longer does.
void set_override_covers(bool covers);

// --- staying on top (stacking.cpp) -----------------------------------------------------
// Takes the root's news of a top-level window made, mapped, moved, restacked or gone.
void stacking_event(const XEvent& event);
// The pet's monitor changed: whether an override-redirect window covers it is judged anew.
void stacking_world_changed();
// After a batch of events, when the stack changed: the pet goes above a window a window
// manager handles that came up over it, and the covering windows are judged; at most a
// few times a second, the last change always answered (round trips: never on a tick).
void settle_stacking();
// Before the pet is first mapped: its place in the stack, above every window a window
// manager handles and below the override-redirect windows of other programs above them.
void place_pet_for_showing();
// The pet was mapped again on a tick: it takes that place once the events at hand are
// read, as no round trip is made on a tick.
void place_pet_soon();

// --- the window (window.cpp) -----------------------------------------------------------
struct PetAtoms {
    Atom net_wm_name, utf8_string, net_wm_window_type, net_wm_window_type_utility;
    Atom net_wm_state, net_wm_state_above, net_wm_state_skip_taskbar, net_wm_state_skip_pager;
    Atom net_wm_state_fullscreen, net_wm_icon, net_wm_pid, net_active_window, net_frame_extents;
};
extern PetAtoms atoms;
extern Cursor open_hand_cursor;
extern Cursor grab_hand_cursor;
void intern_atoms();
// The pet window, unmapped, at the pet's place and size; false when it cannot be made.
bool create_pet_window(int argc, char** argv);
bool make_cursors();
// Adds |mask| to the events this connection takes from the root window.
void add_root_events(long mask);
void destroy_pet_window();

// --- pictures (pictures.cpp) -----------------------------------------------------------
extern int32_t depth_is_direct;  // 1 when pixels are written straight into the image
// The pixel table, the frame's image and the window's background pixmap, and mode 0's
// objects. Returns 1, or 0 after the failure was reported.
int init_display();
// The frame on show into the picture the window shows on its next clear.
void draw_frame();
// After a tick, a drag or a change of monitors: the window shows the frame on show at the
// pet's place and size; |frame_changed| when the frame on show is new.
void present_frame(bool frame_changed);
// The first frame, before the window is first shown.
void show_first_frame();
// Mode 0, coming back from hiding: what lies under the window now, and the frame over it.
void retake_snapshot();
// Every picture of the window at a new pet_scale; the next presentation resizes the window.
void rescale_display();
void release_display();

// --- mode 0 (blend.cpp) ----------------------------------------------------------------
int init_blend();
// The objects at the new window size; the old backdrop is kept for the next move.
int rescale_blend();
// The desktop under the window's place into the backdrop (the window must not be there).
void take_snapshot();
// The old snapshot no longer shows what lies under its square (the pet was away).
void forget_backdrop();
// The backdrop follows the window to the pet's place: the desktop there, and from the
// old snapshot whatever the old square shared with the new one.
void move_backdrop();
// The frame's picture and its clip mask, after a change of frame.
void load_blend_frame(XImage* frame);
// Backdrop, then the frame through its mask, into |target|.
void compose_blended(Pixmap target);
void release_blend();

// --- shapes (shapes.cpp) ---------------------------------------------------------------
extern const MaskSheet mask_sheet;
// The rectangles of the frame on show at pet_scale (built, or stored in mode 1).
const std::vector<XRectangle>& frame_rectangles();
// The window's first shape; returns 0 when start-up must end.
int apply_first_shape();
void apply_frame_shape();
void release_shapes();

// --- events (events.cpp) ---------------------------------------------------------------
// Every event the connection holds, each to its handler; with |read|, also those waiting
// on its socket.
void take_x_events(bool read);
