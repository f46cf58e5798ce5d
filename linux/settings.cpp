// The settings file: takes tuvo.ini (beside the executable, else in the user's
// configuration folder), section "Setup", and returns the display mode, the margins, the
// tick interval and the desktop's keys in force; writes the Options dialog's choice back.
#include "pet.h"
#include "profile.h"
#include "settings_save.h"

Settings saved_settings = {default_mode, 0, 0, 0, 0, default_timer};
DesktopSettings desktop_settings = {0, 1, 1};
std::string settings_path;

namespace {

// The file as read at start-up; every key of one start comes from the same bytes.
ProfileFile start_file = {};
ScreenRect start_primary = {0, 0, 0, 0};
int32_t start_dpi = default_dpi;

int32_t read_key(const char* key, int32_t fallback) {
    return profile_int(start_file, settings_section, key, fallback);
}

void refuse_margins() { show_box("Invalid Margin Values !", box_error); }

// Start-up's check of the margins in the file, by the Options dialog's rule: room on the
// primary monitor at the scale the pet takes there (the file's "Scale", the server's DPI).
bool margins_fit(int32_t top, int32_t left, int32_t bottom, int32_t right) {
    const int32_t setting = read_desktop_settings(read_key).scale;
    return margins_fit_on_primary(start_primary, start_dpi, setting, {top, left, bottom, right}, frame_width);
}

void load_start_file() {
    if (start_file.bytes || start_file.size) return;
    profile_load(settings_path.c_str(), &start_file);  // missing or unreadable: every key's default
}

}  // namespace

void build_settings_path() {
    const std::string program = executable_path();
    const std::string beside =
        (program.empty() ? std::string(".") : directory_of(program)) + "/" + settings_file_name;
    settings_path = settings_location(beside, file_exists(beside), user_config_home());
}

void load_settings(const MonitorLayout& layout) {
    const int32_t p = primary_index(layout);
    if (p >= 0) {
        start_primary = layout.monitors[p];
        start_dpi = layout.dpis[p];
    }
    load_start_file();
    const Settings in_force = read_settings(read_key, margins_fit, refuse_margins);
    display_mode = in_force.mode;
    enter_settings(in_force);
    saved_settings = in_force;
}

void load_desktop_settings() {
    load_start_file();
    desktop_settings = read_desktop_settings(read_key);
    profile_release(&start_file);
}

void save_settings() {
    const std::string failure = save_settings_file(settings_path, saved_settings);
    if (!failure.empty()) show_box(failure.c_str(), box_error);
}
