// The settings file's rules, the same in both shells: takes a reader of the keys of
// section "Setup" and returns the settings in force, and writes the saved settings back
// through a writer, key by key in a fixed order.
#pragma once

#include <cstdint>

struct Settings {
    int32_t mode;
    int32_t top_margin;
    int32_t left_margin;
    int32_t bottom_margin;
    int32_t right_margin;
    int32_t timer;
};

// The desktop's keys, which only the file sets: the Options dialog neither shows nor
// writes them.
struct DesktopSettings {
    int32_t scale;       // "Scale": 1 to 8, or anything else to follow the display
    int32_t monitors;    // "Monitors": 1 lives on any monitor, 0 the primary only
    int32_t fullscreen;  // "Fullscreen": 1 steps aside for full-screen programs
};

constexpr const char* settings_file_name = "tuvo.ini";
constexpr const char* settings_section = "Setup";
constexpr int32_t default_mode = 1;
constexpr int32_t default_timer = 150;

// A shell's reader of one key of "Setup": the key's value, or |fallback| when missing.
typedef int32_t (*SettingsReader)(const char* key, int32_t fallback);
// A shell's writer of one key of "Setup"; a failed write is ignored.
typedef void (*SettingsWriter)(const char* key, const char* value);
// The start-up check of the four margins (screen pixels).
typedef bool (*MarginsCheck)(int32_t top, int32_t left, int32_t bottom, int32_t right);

// Reads "Mode", "Top Margin", "Bottom Margin", "Left Margin", "Right Margin" and "Timer",
// in this order. Margins that |fit| refuses become 0, all four, after |refused| was
// called (the shell's box), and before "Timer" is read. A negative interval stands for
// the default; anything else is kept as read.
Settings read_settings(SettingsReader read, MarginsCheck fit, void (*refused)());
DesktopSettings read_desktop_settings(SettingsReader read);
// Writes all six keys, each as "%d", in the order "Mode", "Top Margin", "Bottom Margin",
// "Left Margin", "Right Margin", "Timer".
void write_settings(const Settings& settings, SettingsWriter write);
bool same_settings(const Settings& a, const Settings& b);
