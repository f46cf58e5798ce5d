// The application shell: process-wide values, failure routines, the list of open
// modeless dialogs, the settings file, start-up and the pet window's procedure.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "desktop.h"
#include "engine.h"
#include "options_rules.h"
#include "pet_world.h"
#include "settings_rules.h"
#include "seams.h"
#include "values.h"

// Display modes: stored shapes, shapes built per frame, or a square window blended
// over a snapshot of the desktop. Any other value read from the settings is kept.
enum DisplayMode : int32_t { display_blended = 0, display_stored = 1, display_built = 2 };

extern HINSTANCE app_instance;
extern HWND main_window;
extern int32_t window_width;
extern int32_t window_height;
extern int32_t display_mode;
extern int32_t halted;

struct DialogNode {
    DialogNode* next;
    HWND dialog;
};
extern DialogNode* open_dialogs;

// Every message box of the program goes through this one pointer, so tests can record
// boxes instead of blocking on them. The default is MessageBoxA.
typedef int (*MessageBoxFunction)(HWND owner, const char* text, const char* caption, UINT type);
extern MessageBoxFunction message_box;
constexpr const char* box_caption = "Tuvo";

// Zero-filled block, or null after "Out of memory" was shown and the pet window destroyed.
void* alloc_or_quit(size_t bytes);
// Test seam: when positive, the allocation that brings it down to 0 fails.
extern long app_alloc_fail_countdown;
// Test seam: when positive, the system request (a display resource or the timer at
// start-up, a paint's device context) that brings it down to 0 is refused.
extern long system_fail_countdown;
bool system_forced_failure();
void halt_with_warning(HWND window, const char* text);
void register_dialog(HWND dialog);
void unregister_dialog(HWND dialog);
bool route_dialog_message(MSG* message);

// Settings file.
constexpr int path_size = MAX_PATH;
extern Settings saved_settings;
extern char settings_path[path_size];

// Returns 1 when the executable's directory is complete, 0 when it cannot be had whole
// in |path_size| characters (the buffer then holds a guess that is too long to use).
int module_directory(HINSTANCE instance, char* buffer);
// The rule for the settings path given the executable's directory.
void settings_path_for(const char* directory, int directory_complete, char* path);
void build_settings_path();
void load_settings();
void save_settings();
// Start-up's first check of the margins in the file, before the monitors are asked: room
// on the primary screen at scale 1. What leaves no room there leaves none at any scale.
bool margins_fit(int32_t top, int32_t left, int32_t bottom, int32_t right);
// Start-up's second check, once the primary monitor (|primary|, of |dpi|) and "Scale" are
// known: the margins in force must fit there at the scale the pet takes, by the rule the
// Options dialog judges by; else "Invalid Margin Values !" and all four become 0, in force
// and saved, as after the first check.
void judge_start_margins(ScreenRect primary, int32_t dpi);

// Pet window.
extern int32_t dragging;
extern int32_t grab_x;
extern int32_t grab_y;
extern HCURSOR saved_cursor;
constexpr const char* window_class_name = "TuvoWClass";
constexpr const char* window_title = "Tuvo";
constexpr UINT_PTR tick_timer = 1;

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
void begin_drag(HWND window, int32_t x, int32_t y);
void end_drag();
void on_tick(HWND window);

// The dialogs the context menu opens.
void open_options_dialog(HWND owner);
void open_about_dialog(HWND owner);
extern int32_t options_open;
INT_PTR CALLBACK options_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
// One numeric field of the Options dialog: false unless it holds 1 to 4 digits.
bool read_field(HWND dialog, int id, int32_t* value);

// The desktop: the pet's scale and the monitor it lives on, and the settings that govern
// them. On one monitor at 96 DPI the world is the primary screen at scale 1.
extern int32_t pet_scale;      // screen pixels per pet pixel, 1 to 8
extern int32_t scale_setting;  // "Scale": 1 to 8, or anything else to follow the display
extern int32_t roam_monitors;  // "Monitors": 1 lives on any monitor, 0 the primary only
extern int32_t step_aside;     // "Fullscreen": 1 hides the pet while a full-screen program runs
extern Margins screen_margins;  // the margins in force, in screen pixels
extern int32_t stepped_aside;   // 1 while hidden for a full-screen window
extern int32_t layout_pending;  // 1 when the monitors changed while the pet was hidden
// The monitors as the system lists them; tests put a layout of their own in its place.
typedef MonitorLayout (*MonitorReader)();
extern MonitorReader read_monitors;
MonitorLayout system_monitors();
// This process's id, for telling our own windows from others'; a test seam.
typedef DWORD(WINAPI* ProcessIdFunction)();
extern ProcessIdFunction own_process_id;

// The shell's notification state (QUERY_USER_NOTIFICATION_STATE), 0 when unknown; tests
// put a state of their own in its place.
typedef int (*NotificationStateFunction)();
extern NotificationStateFunction notification_state;
int shell_notification_state();
// Where the pointer is on the screen (GetCursorPos); tests put a place of their own in its
// place.
typedef BOOL(WINAPI* PointerFunction)(POINT* at);
extern PointerFunction pointer_position;
// True while the shell reports an exclusive full-screen program or presentation mode.
bool shell_reports_full_screen();

void load_desktop_settings();
// The Options dialog's check: room on the monitor the next start begins on (the primary)
// at the scale it will take there, by the rule start-up applies them with.
bool margins_fit_next_start(int32_t top, int32_t left, int32_t bottom, int32_t right);
// The pet's scale and its first world, the primary monitor, where the margins in force
// are judged at that scale (judge_start_margins); after load_settings and
// load_desktop_settings.
void enter_first_world();
// Where the window stands on the screen for the pet's position.
ScreenPoint pet_on_screen();
// The pet's world on its monitor again at the scale the display has, when the display
// could not take on the monitor's own scale.
void keep_pet_scale();
// The scale the pet takes on the monitor under |point|: its own on its monitor.
int32_t scale_at(ScreenPoint point);
// While held, the pet's world goes with the pointer to the monitor under it. Returns
// true when the world changed.
bool follow_pointer(ScreenPoint pointer);
// The monitors or their scaling changed: the pet's world is read anew (its monitor known
// by name, then by place, and taken whole from there: name, DPI and rectangle), the pet
// put back inside it at the monitor's scale; a held pet keeps the grabbed spot of its
// body under the pointer. While the pet is stepped aside the change waits until it comes
// back.
void on_display_change(HWND window);
// True while the foreground window fills the pet's monitor as a full-screen program does;
// the monitor as it is now, when a change of the monitors waits for the pet's return.
bool full_screen_foreground();
// Hides the pet while a full-screen window has the foreground and shows it again after;
// returns true while it is hidden and on the tick it shows again, when the tick must do
// nothing else.
bool step_aside_for_full_screen(HWND window);

// Start-up: steps up to the shown window; returns 1 when the pet is running, 0 after a
// failed start (its message was shown and nothing of the window is left).
int start_pet(HINSTANCE instance, int show_command);
int run_message_loop();
