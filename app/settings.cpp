// The settings file: takes "tuvo.ini" beside the executable (section "Setup") and
// returns the display mode, the four screen margins and the tick interval in force.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app.h"

namespace {

// Room the file name needs after the directory, with some to spare.
constexpr int name_room = 13;

int32_t read_key(const char* key, int32_t fallback) {
    // The profile reader returns the value as unsigned; negative numbers come back as
    // their two's complement, which the cast restores.
    return static_cast<int32_t>(GetPrivateProfileIntA(settings_section, key, fallback, settings_path));
}

void write_key(const char* key, const char* value) {
    WritePrivateProfileStringA(settings_section, key, value, settings_path);  // a failed write is ignored
}

void refuse_margins() {
    message_box(nullptr, "Invalid Margin Values !", box_caption, MB_OK | MB_ICONERROR);
}

}  // namespace

Settings saved_settings = {default_mode, 0, 0, 0, 0, default_timer};
char settings_path[path_size] = "";

namespace {

// Cuts a full file name just after its last backslash or colon; returns the length kept.
size_t cut_to_directory(char* name, size_t length) {
    size_t cut = length;
    while (cut > 0 && name[cut - 1] != '\\' && name[cut - 1] != ':') --cut;
    if (cut > 0) name[cut] = '\0';
    return cut > 0 ? cut : length;
}

// The executable's directory when its full name does not fit in |path_size| characters:
// the name is asked for again with a larger buffer until it fits. Returns 0 when it
// cannot be had or the directory itself does not fit in |buffer|.
int long_module_directory(HINSTANCE instance, char* buffer) {
    constexpr DWORD longest_name = 32768;  // the longest path the system knows
    for (DWORD room = 2 * path_size; room <= 2 * longest_name; room *= 2) {
        char* name = static_cast<char*>(std::malloc(room));
        if (!name) return 0;
        const DWORD length = GetModuleFileNameA(instance, name, room);
        if (length < room) {  // it fits, or there is none (0)
            name[length] = '\0';
            const size_t kept = cut_to_directory(name, length);
            const int fits = length > 0 && kept < static_cast<size_t>(path_size);
            if (fits) std::memcpy(buffer, name, kept + 1);
            std::free(name);
            return fits;
        }
        std::free(name);  // still cut short: ask again with twice the room
    }
    return 0;
}

}  // namespace

int module_directory(HINSTANCE instance, char* buffer) {
    DWORD length = GetModuleFileNameA(instance, buffer, path_size);
    if (length >= static_cast<DWORD>(path_size)) {
        // The name was cut short (older systems leave it unterminated): ask again.
        buffer[path_size - 1] = '\0';
        return long_module_directory(instance, buffer);
    }
    if (length > 0) {
        buffer[length] = '\0';
        cut_to_directory(buffer, length);
        return 1;
    }
    if (!getcwd(buffer, path_size)) buffer[0] = '\0';
    size_t used = std::strlen(buffer);
    if (used == 0 || buffer[used - 1] != '\\') {
        if (used + 1 >= static_cast<size_t>(path_size)) return 0;  // no room for the separator
        buffer[used] = '\\';
        buffer[used + 1] = '\0';
    }
    return 1;
}

void settings_path_for(const char* directory, int directory_complete, char* path) {
    const size_t length = std::strlen(directory);
    // Too long a directory: the profile functions keep a bare name in the Windows folder.
    if (!directory_complete || length + name_room >= static_cast<size_t>(path_size)) {
        std::snprintf(path, path_size, "%s", settings_file_name);
        return;
    }
    std::snprintf(path, path_size, "%s%s", directory, settings_file_name);
}

void build_settings_path() {
    char directory[path_size];
    const int complete = module_directory(app_instance, directory);
    settings_path_for(directory, complete, settings_path);
}

bool margins_fit(int32_t top, int32_t left, int32_t bottom, int32_t right) {
    // The screen as start-up measured it: at scale 1 rounding is none, so on one monitor at
    // 96 DPI this is the whole judgement, made before the monitors are asked.
    return margins_fit_on({0, 0, screen_width, screen_height}, 1, {top, left, bottom, right}, frame_width);
}

void judge_start_margins(ScreenRect primary, int32_t dpi) {
    // Margins of 0 were refused already, or have nothing to refuse.
    if (margin_top == 0 && margin_left == 0 && margin_bottom == 0 && margin_right == 0) return;
    const Margins margins = {margin_top, margin_left, margin_bottom, margin_right};
    if (margins_fit_on_primary(primary, dpi, scale_setting, margins, frame_width)) return;
    refuse_margins();
    margin_top = margin_left = margin_bottom = margin_right = 0;
    saved_settings.top_margin = saved_settings.left_margin = 0;
    saved_settings.bottom_margin = saved_settings.right_margin = 0;
}

void load_settings() {
    const Settings in_force = read_settings(read_key, margins_fit, refuse_margins);
    display_mode = in_force.mode;
    enter_settings(in_force);
    saved_settings = in_force;
}

void load_desktop_settings() {
    const DesktopSettings keys = read_desktop_settings(read_key);
    scale_setting = keys.scale;
    roam_monitors = keys.monitors;
    step_aside = keys.fullscreen;
}

void save_settings() { write_settings(saved_settings, write_key); }
