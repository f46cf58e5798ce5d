// The X11 program's rules that need no X server and no files: takes command-line words,
// resource text, paths, button presses, monitor lists and outline runs, and returns what
// the program makes of them. The X and file calls that use them live beside them.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "art_data.h"
#include "desktop.h"
#include "outline.h"

// --- command line ----------------------------------------------------------------------
enum CommandLineAction : int32_t {
    run_pet = 0,
    print_help,
    print_version,
    autostart_on,
    autostart_off,
    bad_option,
};

// Which pet shell runs the pet: the Wayland one where the compositor offers a layer shell,
// else the X11 one (auto); or the one asked for.
enum Backend : int32_t { backend_auto = 0, backend_wayland, backend_x11 };

struct CommandLine {
    CommandLineAction action;
    const char* bad;  // the first word not understood, for bad_option
    Backend backend;  // --backend=auto|wayland|x11; the last one given counts
};

// No words: run the pet. Every word must be an option we know, or the answer is
// bad_option with the first unknown word; otherwise the first word that is not a
// --backend decides.
CommandLine parse_command_line(int argc, const char* const* argv);
extern const char* const usage_text;

// --- files and places ------------------------------------------------------------------
// The folder of |path|, without its last slash: "/usr/bin" for "/usr/bin/tuvo", "/" for
// "/tuvo", "." for a bare name.
std::string directory_of(const std::string& path);
// The user's configuration folder: $XDG_CONFIG_HOME when it is an absolute path, else
// .config in the home folder: $HOME when it is an absolute path, else |account_home| (the
// account's home in the password database) when that is; empty when none is known.
std::string config_home(const char* xdg_config_home, const char* home, const char* account_home);
// The settings file: |beside| (the file next to the executable) when it exists, for
// portable use; otherwise tuvo/tuvo.ini in the configuration folder; empty when there is
// none (a file is never made beside the program, where every user would read it).
std::string settings_location(const std::string& beside, bool beside_exists, const std::string& config);
// The autostart entry: autostart/tuvo.desktop in the configuration folder.
std::string autostart_location(const std::string& config);
// Why an autostart entry cannot run |program|, or null when it can: the entry is UTF-8
// text, and of the control characters it can hold only tab, newline and carriage return
// (as escapes).
const char* autostart_refusal(const std::string& program);
// |text| as a string value of an XDG desktop entry: backslash, newline, tab and carriage
// return as the format's escapes.
std::string desktop_string_value(const std::string& text);
// An XDG desktop entry's Exec value that runs |program| with no arguments, quoted as the
// entry format asks when the path holds a space or a reserved character.
std::string desktop_exec_value(const std::string& program);
// The whole autostart entry for |program|, which autostart_refusal accepts.
std::string autostart_entry(const std::string& program);

// --- a fixed start for the random generator --------------------------------------------
// The seed TUVO_SEED gives: a whole number from 0 to 4294967295, digits only; -1 for no
// variable or anything else, when the pet seeds from the clock as usual.
int64_t seed_from_environment(const char* value);

// --- display scaling -------------------------------------------------------------------
// The DPI the resource database text (RESOURCE_MANAGER, as xrdb loads it) gives for
// "Xft.dpi", rounded to a whole number; 0 when it gives none, or nothing usable.
int32_t dpi_from_resources(const char* resources);

// --- monitors --------------------------------------------------------------------------
struct FoundMonitor {
    ScreenRect rect;
    char name[monitor_name_size];
    int32_t primary;  // the system calls it primary
};

// The layout from the monitors the system listed, each with |dpi|: at most max_monitors,
// empty ones skipped; the primary is the one flagged, else the one whose corner is the
// screen's origin, else the first. No monitor at all: |screen| alone.
MonitorLayout layout_from(const FoundMonitor* found, int32_t count, int32_t dpi, ScreenRect screen);

// --- double click ----------------------------------------------------------------------
constexpr uint32_t double_click_time = 500;   // milliseconds between the two presses
constexpr int32_t double_click_distance = 4;  // screen pixels either way

struct LeftPress {
    int32_t valid;
    Time time;  // the server's milliseconds, which wrap round
    int32_t x, y;  // root coordinates
};

// True when a left press at (x, y) at |time| completes a double click begun by |previous|.
bool is_double_click(const LeftPress& previous, Time time, int32_t x, int32_t y);

// --- pictures --------------------------------------------------------------------------
// The pixel value of |colour| on a true-colour visual with these channel masks, each
// 8-bit channel spread over its mask's bits.
unsigned long true_colour_pixel(ArtRgb colour, unsigned long red_mask, unsigned long green_mask,
                                unsigned long blue_mask);
// Image |image| of |sheet| (cells of cell x cell pixels, |columns| across), mirrored or
// not, as 32-bit pixels at |out|, |line_bytes| apart, each sheet pixel a |scale| square
// of its value in |pixels| (one per colour index).
void cut_frame_words(const ArtIndexedPicture& sheet, int32_t columns, int32_t cell, int32_t image, int32_t mirrored,
                     int32_t scale, const unsigned long* pixels, char* out, size_t line_bytes);

// --- window shapes ---------------------------------------------------------------------
// The rectangles covering exactly the opaque pixels of |image| (mirrored or not) of
// |sheet| (its outline's runs), each pet pixel a |scale| square, in Y-X bands: rows with
// the same spans joined into one band, bands top to bottom, spans left to right without
// touching. Appended to |out|, ready for the X server as YXBanded.
void outline_rectangles(const MaskSheet& sheet, int32_t image, int32_t mirrored, int32_t frame_width,
                        int32_t frame_height, int32_t scale, std::vector<XRectangle>* out);
