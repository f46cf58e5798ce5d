// The settings file: takes "tuvo.ini" beside the executable (section "Setup") and
// returns the display mode, the four screen margins and the tick interval in force.
#include <unistd.h>

#include <cstdio>
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

int module_directory(HINSTANCE instance, char* buffer) {
    DWORD length = GetModuleFileNameA(instance, buffer, path_size);
    if (length > 0) {
        // A name that fills the buffer was cut short; older systems leave it unterminated.
        const int complete = length < static_cast<DWORD>(path_size);
        if (!complete) length = path_size - 1;
        buffer[length] = '\0';
        DWORD cut = length;
        while (cut > 0 && buffer[cut - 1] != '\\' && buffer[cut - 1] != ':') --cut;
        if (cut > 0) buffer[cut] = '\0';
        return complete;
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
    // Wide arithmetic: huge margins must not wrap round into a fit.
    const int64_t across = int64_t{screen_width} - frame_width - left - right;
    const int64_t down = int64_t{screen_height} - frame_height - top - bottom;
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

void save_settings() {
    write_key("Mode", saved_settings.mode);
    write_key("Top Margin", saved_settings.top_margin);
    write_key("Bottom Margin", saved_settings.bottom_margin);
    write_key("Left Margin", saved_settings.left_margin);
    write_key("Right Margin", saved_settings.right_margin);
    write_key("Timer", saved_settings.timer);
}
