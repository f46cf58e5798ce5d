// The settings file's keys, defaults, order and checks.
#include "settings_rules.h"

#include <cstdio>

Settings read_settings(SettingsReader read, MarginsCheck fit, void (*refused)()) {
    Settings s;
    s.mode = read("Mode", default_mode);
    s.top_margin = read("Top Margin", 0);
    s.bottom_margin = read("Bottom Margin", 0);
    s.left_margin = read("Left Margin", 0);
    s.right_margin = read("Right Margin", 0);
    if (!fit(s.top_margin, s.left_margin, s.bottom_margin, s.right_margin)) {
        refused();
        s.top_margin = s.left_margin = s.bottom_margin = s.right_margin = 0;
    }
    s.timer = read("Timer", default_timer);
    // A negative interval is no interval: a timer would read it as some 24 days and the
    // pet would stand frozen. The default stands in. Everything from 0 up is kept as read
    // (timers raise anything below 10 ms to 10 ms).
    if (s.timer < 0) s.timer = default_timer;
    return s;
}

DesktopSettings read_desktop_settings(SettingsReader read) {
    DesktopSettings d;
    d.scale = read("Scale", 0);
    d.monitors = read("Monitors", 1) != 0;
    d.fullscreen = read("Fullscreen", 1) != 0;
    return d;
}

void write_settings(const Settings& settings, SettingsWriter write) {
    const struct {
        const char* key;
        int32_t value;
    } keys[] = {{"Mode", settings.mode},
                {"Top Margin", settings.top_margin},
                {"Bottom Margin", settings.bottom_margin},
                {"Left Margin", settings.left_margin},
                {"Right Margin", settings.right_margin},
                {"Timer", settings.timer}};
    for (const auto& key : keys) {
        char text[20];
        std::snprintf(text, sizeof text, "%d", static_cast<int>(key.value));
        write(key.key, text);
    }
}

bool same_settings(const Settings& a, const Settings& b) {
    return a.mode == b.mode && a.top_margin == b.top_margin && a.left_margin == b.left_margin &&
           a.bottom_margin == b.bottom_margin && a.right_margin == b.right_margin && a.timer == b.timer;
}
