// The pet side of the X11 shell, between its own files: the run's state, the settings
// file's place, the desktop the pet lives on, the window and its display objects, the
// drag and the tick. Everything here runs on the pet's own Xlib connection.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "files.h"
#include "rules.h"
#include "x11.h"

// --- the run (startup.cpp) -------------------------------------------------------------
extern int32_t running;  // the main loop goes on while set; Exit and fatal failures clear it
// X errors seen since start; a request refused at start-up fails the start. Later ones
// (windows of other programs that went away while we looked at them) are ignored.
extern long x_errors;

// Xlib's error handlers are the process's, not a connection's, and FLTK sets its own when
// it opens its connection: this puts ours back (FLTK's connection then shares them).
void claim_error_handlers();
// Start-up on the open pet_display, in the Windows program's order. Returns 1 when the pet
// is shown, 0 after a failed start (its message was shown).
int start_pet(int argc, char** argv);
// Exit: the dialogs go, then the window and the display objects, then the connection.
void end_pet();
// A fatal failure: ticks and drawing stop, the warning box is shown, the program ends.
void halt_with_warning(const char* text);

// --- settings (settings.cpp) -----------------------------------------------------------
extern std::string settings_path;
void build_settings_path();
// Reads the six keys into the values in force and saved_settings; the margins are
// judged on the primary monitor of |layout| at the scale the pet takes there.
void load_settings(const MonitorLayout& layout);
void load_desktop_settings();

// --- monitors (monitors.cpp) -----------------------------------------------------------
extern MonitorLayout monitor_layout;  // as last read
extern Margins screen_margins;        // the margins in force, in screen pixels
extern int32_t layout_changed;        // a change of monitors noted and not yet applied
// The monitors and the DPI as the server tells them now (round trips: never on a tick).
MonitorLayout read_layout();
// The pet's scale and its first world, the primary monitor; after the settings.
void enter_first_world();
// Asks the server to tell us when the monitors change.
void watch_layout();
// Takes a RandR event; true when |event| was one.
bool layout_event(XEvent* event);
// Applies a noted change of monitors: the pet keeps its monitor and place as far as it
// can, at the scale the monitor gives it now.
void apply_layout_change();
// While held, the pet's world follows the pointer to the monitor under it. True when the
// world changed (its scale may have too).
bool follow_pointer(ScreenPoint pointer);
ScreenPoint pet_on_screen();
// The window's rectangle on the screen for the pet's place and scale.
ScreenRect pet_rect();

// --- full-screen courtesy (fullscreen.cpp) ---------------------------------------------
extern int32_t stepped_aside;  // 1 while hidden for a full-screen program
void watch_full_screen();
// Takes a property or structure event about the active window; true when it was one.
bool full_screen_event(const XEvent& event);
// The pet's monitor changed: whether a full-screen program covers it is judged anew.
void full_screen_world_changed();
// After a batch of events: judges whether a full-screen program covers the pet's monitor
// when something about it changed (round trips: never on a tick).
void settle_full_screen();
// On a tick: hides the pet when a full-screen program covers its monitor and shows it
// again after. True while hidden and on the tick that hides or shows it.
bool step_aside_for_full_screen();

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
// Above every window a window manager handles: when one is mapped or restacked.
void keep_on_top(const XEvent& event);
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

// --- input (input.cpp) -----------------------------------------------------------------
extern int32_t grab_x;  // the held spot, in the pet's own pixels
extern int32_t grab_y;
void on_button_press(const XButtonEvent& event);
void on_button_release(const XButtonEvent& event);
void on_motion(const XMotionEvent& event);
// The pointer grab ended without a release (crossing events of a grab's change, or the
// window unmapped by someone else): the drag ends as a release ends it.
void on_grab_lost();

// --- the loop (loop.cpp) ---------------------------------------------------------------
void on_tick();
// Registers the pet's connection and the tick with FLTK's loop.
void start_loop();
void stop_loop();
