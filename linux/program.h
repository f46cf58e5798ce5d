// The X11 shell: the process-wide values of the native Linux program and the few
// operations its parts call across files. The pet's window, ticks, input, monitors and
// full-screen courtesy run on the pet's own Xlib connection; the menu, the Options
// dialog, the About box and the message boxes are FLTK windows on FLTK's connection.
// One event loop serves both: FLTK's wait, with the pet's connection and tick in it.
#pragma once

#include <X11/Xlib.h>

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
extern Display* pet_display;  // the pet's own connection
extern Window pet_window;
extern int32_t display_mode;
extern int32_t halted;        // set by a fatal failure: ticks and drawing stop
extern int32_t pet_scale;     // screen pixels per pet pixel
extern int32_t window_width;  // the pet window's size in screen pixels: 50 x pet_scale
extern int32_t window_height;
extern int32_t dragging;

// Carries out a command of the context menu.
void run_command(int32_t command);

// --- settings (pet side) ---------------------------------------------------------------
extern Settings saved_settings;           // what the file holds; the Options dialog edits it
extern DesktopSettings desktop_settings;  // Scale, Monitors, Fullscreen
// Writes the six keys of saved_settings to the settings file, creating its directory
// when needed; a failed write is ignored.
void save_settings();
// The Options dialog's check of the margins: room on the monitor the next start begins
// on, at the scale it will take there.
bool margins_fit_next_start(int32_t top, int32_t left, int32_t bottom, int32_t right);
// The scale the pet takes on the monitor holding the screen point (x, y).
int32_t scale_at(int32_t x, int32_t y);

// --- the menu and the dialogs (FLTK side) ----------------------------------------------
// Opens the context menu with its top-left corner at the root point (x, y), its text at
// |scale|, and returns the command chosen, or command_none when it closed without one.
// The pet lives on while it is open.
int32_t pick_menu_command(int32_t x, int32_t y, int32_t scale);
// Modeless; opening one that is open already does nothing.
void open_options_dialog();
void open_about_dialog();
// The pet is ending: its dialogs go with it, nothing is saved.
void close_dialogs();
// The X windows of the open menu, dialogs and boxes, at most |room| of them; none before
// the first was opened. The pet stays above other programs' windows, not above these.
int32_t list_own_windows(Window* windows, int32_t room);

enum BoxIcon : int32_t { box_error, box_warning };
// A message box captioned "Tuvo" with one OK button; returns when it is closed. The pet
// lives on while it is open (unless halted).
void show_box(const char* text, BoxIcon icon);
