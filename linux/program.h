// The native Linux program: its process-wide values and the few operations its two sides
// call across. The pet side (the tick, the drag, the settings, the desktop) runs over a
// pet shell of its own connection, X11 or Wayland; the menu, the Options dialog, the
// About box and the message boxes are FLTK windows on FLTK's X connection. One event
// loop serves both: FLTK's wait, with the pet's connection and tick in it.
#pragma once

#include <cstdint>

#include "desktop.h"
#include "engine.h"
#include "pet_world.h"
#include "settings_rules.h"

// Display modes, as the settings file stores them: shapes made once for every picture,
// shapes made on each change of picture, or a square window blended over a snapshot.
enum DisplayMode : int32_t { display_blended = 0, display_stored = 1, display_built = 2 };

// The context menu's commands, with the Windows program's identifiers.
enum MenuCommand : int32_t {
    command_none = 0,
    command_exit = 40004,
    command_about = 40005,
    command_continue = 40006,
    command_options = 40007,
};

// --- the pet (pet side) ----------------------------------------------------------------
extern int32_t display_mode;
extern int32_t halted;        // set by a fatal failure: ticks and drawing stop
extern int32_t pet_scale;     // screen pixels per pet pixel
extern int32_t window_width;  // the pet window's size in screen pixels: 50 x pet_scale
extern int32_t window_height;
extern int32_t dragging;
// The pet's X window, which its dialogs name as their owner; 0 when the pet is no X window.
extern unsigned long pet_x_window;

// Timers never run faster than this: a shorter interval, 0 included, is raised to it, as
// the Windows timer raises it. The pet's tick and the About box's both go through it.
constexpr int32_t shortest_timer_ms = 10;
constexpr int32_t timer_period_ms(int32_t interval) {
    return interval < shortest_timer_ms ? shortest_timer_ms : interval;
}

// Carries out a command of the context menu.
void run_command(int32_t command);
// The pet's connection gives up any hold it has on the pointer, so that the menu's own
// grab on FLTK's connection can succeed.
void let_go_of_pointer();

// --- settings (pet side) ---------------------------------------------------------------
extern Settings saved_settings;           // what the file holds; the Options dialog edits it
extern DesktopSettings desktop_settings;  // Scale, Monitors, Fullscreen
// Writes the six keys of saved_settings to the settings file in one save, creating its
// directory when needed; a failed save says so in an error box naming the file and why.
void save_settings();
// The Options dialog's check of the margins: room on the monitor the next start begins
// on, at the scale it will take there.
bool margins_fit_next_start(int32_t top, int32_t left, int32_t bottom, int32_t right);
// The scale the pet takes on the monitor holding the screen point (x, y).
int32_t scale_at(int32_t x, int32_t y);
// The menu and dialogs live on FLTK's X display, whose pixels need not be the pet's screen
// pixels (under a Wayland compositor, XWayland's are its logical pixels): a point of the
// pet's screen there, and the pet's scale as the menu and dialogs take it there.
ScreenPoint ui_point(ScreenPoint point);
int32_t ui_pet_scale();

// --- the menu and the dialogs (FLTK side) ----------------------------------------------
// Opens the context menu with its top-left corner at the root point (x, y), its text at
// |scale|, and returns the command chosen, or command_none when it closed without one.
// The pet lives on while it is open.
int32_t pick_menu_command(int32_t x, int32_t y, int32_t scale);
// Modeless; opening one that is open already brings it to the front.
void open_options_dialog();
void open_about_dialog();
// The pet is ending: its dialogs go with it, nothing is saved.
void close_dialogs();
// The X windows of the open menu, dialogs and boxes, at most |room| of them; none before
// the first was opened. The pet stays above other programs' windows, not above these.
int32_t list_own_windows(unsigned long* windows, int32_t room);

enum BoxIcon : int32_t { box_error, box_warning };
// A message box captioned "Tuvo" with one OK button; returns when it is closed. The pet
// lives on while it is open (unless halted).
void show_box(const char* text, BoxIcon icon);
