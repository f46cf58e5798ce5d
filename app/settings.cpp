// The settings file: takes "tuvo.ini" beside the executable (section "Setup") and
// returns the display mode, the four screen margins and the tick interval in force.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app.h"

namespace {

constexpr const char* settings_file = "tuvo.ini";
constexpr const char* section = "Setup";
// Room the file name needs after the directory, with some to spare.
constexpr int name_room = 13;
constexpr int32_t default_timer = 150;

int32_t read_key(const char* key, int32_t fallback) {
    // The profile reader returns the value as unsigned; negative numbers come back as
    // their two's complement, which the cast restores.
    return static_cast<int32_t>(GetPrivateProfileIntA(section, key, fallback, settings_path));
}

void write_key(const char* key, int32_t value) {
    char text[20];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    WritePrivateProfileStringA(section, key, text, settings_path);  // a failed write is ignored
}

}  // namespace

Settings saved_settings = {display_stored, 0, 0, 0, 0, default_timer};
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
        std::snprintf(path, path_size, "%s", settings_file);
        return;
    }
    std::snprintf(path, path_size, "%s%s", directory, settings_file);
}

void build_settings_path() {
    char directory[path_size];
    const int complete = module_directory(app_instance, directory);
    settings_path_for(directory, complete, settings_path);
}

bool margins_fit(int32_t top, int32_t left, int32_t bottom, int32_t right) {
    if (top < 0 || left < 0 || bottom < 0 || right < 0) return false;
    // In screen pixels: the pet's world and frame at the pet's scale. Wide arithmetic:
    // huge margins must not wrap round into a fit.
    const int64_t across = (int64_t{screen_width} - frame_width) * pet_scale - left - right;
    const int64_t down = (int64_t{screen_height} - frame_height) * pet_scale - top - bottom;
    return across >= 0 && down >= 0;
}

void load_settings() {
    display_mode = read_key("Mode", display_stored);
    saved_settings.mode = display_mode;
    margin_top = read_key("Top Margin", 0);
    margin_bottom = read_key("Bottom Margin", 0);
    margin_left = read_key("Left Margin", 0);
    margin_right = read_key("Right Margin", 0);
    if (!margins_fit(margin_top, margin_left, margin_bottom, margin_right)) {
        message_box(nullptr, "Invalid Margin Values !", box_caption, MB_OK | MB_ICONERROR);
        margin_top = margin_left = margin_bottom = margin_right = 0;
    }
    saved_settings.top_margin = margin_top;
    saved_settings.left_margin = margin_left;
    saved_settings.bottom_margin = margin_bottom;
    saved_settings.right_margin = margin_right;
    timer_interval = read_key("Timer", default_timer);
    // A negative interval is no interval: the timer would read it as some 24 days and the
    // pet would stand frozen. The default stands in. Everything from 0 up is kept as read
    // (the timer itself raises anything below 10 ms to 10 ms).
    if (timer_interval < 0) timer_interval = default_timer;
    saved_settings.timer = timer_interval;
}

// The desktop's keys, which only the file sets: the Options dialog neither shows nor
// writes them.
void load_desktop_settings() {
    scale_setting = read_key("Scale", 0);
    roam_monitors = read_key("Monitors", 1) != 0;
    step_aside = read_key("Fullscreen", 1) != 0;
}

void save_settings() {
    write_key("Mode", saved_settings.mode);
    write_key("Top Margin", saved_settings.top_margin);
    write_key("Bottom Margin", saved_settings.bottom_margin);
    write_key("Left Margin", saved_settings.left_margin);
    write_key("Right Margin", saved_settings.right_margin);
    write_key("Timer", saved_settings.timer);
}
