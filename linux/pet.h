// The pet side of the Linux program, shared by its two pet shells: the run's state, the
// settings file's place, the desktop the pet lives on, the drag, the stepping aside and
// the tick, over the seams through which a shell (X11 or Wayland) shows the pet.
#pragma once

#include <cstdint>
#include <string>

#include "files.h"
#include "program.h"
#include "rules.h"

// --- the pet shell ---------------------------------------------------------------------
// What a shell does for the shared pet side, on the pet's own connection. Chosen once at
// start; every entry is set.
struct PetShell {
    const char* name;  // "x11", "wayland"
    // Opens the pet's connection; false, after saying why on stderr, when there is none.
    bool (*connect)();
    // The monitors and their DPIs as the shell tells them now (round trips: never on a
    // tick).
    MonitorLayout (*read_layout)();
    // The cursors, the window (unmapped), its pictures, its first shape and first frame,
    // at the pet's place and size. Returns 1, or 0 after the failure was reported and
    // nothing of the window is left.
    int (*open_window)(int argc, char** argv);
    // Asks to be told of changes of the monitors and of full-screen programs.
    void (*watch_desktop)();
    void (*show_window)();
    // The window and the display objects go, then the connection.
    void (*close_window)();
    // The loop: the connection's descriptor; every event it holds handled (with |read|,
    // also those waiting on its socket); what follows a batch of events; a flush.
    int (*connection)();
    void (*take_events)(bool read);
    void (*settle)();
    void (*flush)();
    // The tick: the frame on show into the window's next picture; the window's shape for
    // it (modes 1 and 2); the window shows the frame at the pet's place and size.
    void (*draw_frame)();
    void (*apply_frame_shape)();
    void (*present_frame)(bool frame_changed);
    // Every picture of the window at a new pet_scale; the next presentation resizes it.
    void (*rescale_display)();
    // Stepping aside for a full-screen program, and coming back where it was.
    void (*hide_pet)();
    void (*show_pet_again)();
    // The pet's monitor changed: whether a full-screen program covers it is judged anew.
    void (*world_changed)();
    // The drag: the pet was picked up by the press at |time| (dragging is set), and the
    // pointer is held for it from then on; the pet was dropped (dragging is clear, the
    // engine told), and the hold is given back when |give_back|; the pointer let go, for a
    // menu's grab.
    void (*begin_hold)(uint32_t time);
    void (*end_hold)(bool give_back);
    void (*release_pointer)();
    // Where the pointer is on the screen now, for a held pet whose world changed under a
    // still pointer (may be a round trip: never on a tick).
    ScreenPoint (*pointer_position)();
    // The menu and dialogs' screen (FLTK's X display): a point of the pet's screen there,
    // and the pet's scale in its pixels.
    ScreenPoint (*ui_point)(ScreenPoint point);
    int32_t (*ui_scale)();
};
extern const PetShell* shell;

// --- the run (startup.cpp) -------------------------------------------------------------
extern int32_t running;  // the main loop goes on while set; Exit and fatal failures clear it
// Start-up on the open connection, in the Windows program's order. Returns 1 when the pet
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

// --- the desktop (world.cpp) -----------------------------------------------------------
extern MonitorLayout monitor_layout;  // as last read
extern Margins screen_margins;        // the margins in force, in screen pixels
extern int32_t layout_changed;        // a change of monitors noted and not yet applied
// The pet's scale and its first world, the primary monitor; after the settings.
void enter_first_world();
// Applies a noted change of monitors: the pet keeps its monitor and place as far as it
// can, at the scale the monitor gives it now.
void apply_layout_change();
// While held, the pet's world follows the pointer to the monitor under it. True when the
// world changed (its scale may have too).
bool follow_pointer(ScreenPoint pointer);
ScreenPoint pet_on_screen();
// The window's rectangle on the screen for the pet's place and scale.
ScreenRect pet_rect();

// --- stepping aside (aside.cpp) --------------------------------------------------------
extern int32_t stepped_aside;        // 1 while hidden for a full-screen program
extern int32_t full_screen_covered;  // the shell's last judgement: one covers the pet's monitor
// On a tick: hides the pet when a full-screen program covers its monitor and shows it
// again after. True while hidden and on the tick that hides or shows it.
bool step_aside_for_full_screen();

// --- the pointer on the pet (drag.cpp) -------------------------------------------------
extern int32_t grab_x;  // the held spot, in the pet's own pixels
extern int32_t grab_y;
enum PetButton : int32_t { button_left = 1, button_right = 3 };
// A press on the pet at (x, y) in the window, (root_x, root_y) on the screen, at |time|
// (the server's milliseconds).
void pet_press(int32_t button, uint32_t time, int32_t x, int32_t y, int32_t root_x, int32_t root_y);
void pet_release(int32_t button);
// The pointer moved to (root_x, root_y) with the left button down.
void pet_motion(int32_t root_x, int32_t root_y);
// The pointer hold ended without a release (another client took it, or the window was
// hidden by someone else): the drag ends as a release ends it.
void pet_hold_lost();

// --- the loop (loop.cpp) ---------------------------------------------------------------
void on_tick();
// Registers the pet's connection and the tick with FLTK's loop.
void start_loop();
void stop_loop();
// A shell that put something off until a quiet moment: the loop takes the connection's
// events and settles again after |seconds|.
void settle_after(double seconds);
// Microseconds of a clock that no change of the system's time moves.
int64_t steady_us();
