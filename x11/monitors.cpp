// The pet's side of the desktop: takes the monitors (RandR, else Xinerama, else the
// whole screen), the display's scaling (Xft.dpi) and the margins, and returns the pet's
// scale and the world the engine lives in, carried across monitors while held and put
// back inside its monitor when the monitors change.
#include <X11/Xatom.h>
#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

#include <cstdio>
#include <cstring>

#include "pet.h"

// Until the settings are read: one screen at scale 1.
int32_t pet_scale = 1;
MonitorLayout monitor_layout = {};
Margins screen_margins = {0, 0, 0, 0};
int32_t layout_changed = 0;

namespace {

// RandR's first event number, or -1 without RandR; monitors are asked of RandR only from
// version 1.5 on.
int randr_event_base = -1;
bool randr_monitors = false;

void find_randr() {
    static bool asked = false;
    if (asked) return;
    asked = true;
    int error_base = 0, major = 0, minor = 0;
    if (!XRRQueryExtension(pet_display, &randr_event_base, &error_base)) {
        randr_event_base = -1;
        return;
    }
    if (XRRQueryVersion(pet_display, &major, &minor)) randr_monitors = major > 1 || (major == 1 && minor >= 5);
}

// The resource database as it is now: the root window's property, not the copy Xlib took
// when the connection opened, so a scaling set since then counts at the next change of
// monitors.
int32_t resources_dpi() {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* text = nullptr;
    constexpr long most_words = 1 << 20;
    const int status = XGetWindowProperty(pet_display, DefaultRootWindow(pet_display), XA_RESOURCE_MANAGER,
                                          0, most_words, False, XA_STRING, &type, &format, &count, &after, &text);
    int32_t dpi = 0;
    if (status == Success && text && format == 8) dpi = dpi_from_resources(reinterpret_cast<char*>(text));
    if (text) XFree(text);
    return dpi > 0 ? dpi : default_dpi;
}

int32_t randr_monitor_list(FoundMonitor* found) {
    int count = 0;
    XRRMonitorInfo* monitors = XRRGetMonitors(pet_display, DefaultRootWindow(pet_display), True, &count);
    if (!monitors) return 0;
    if (count > max_monitors) count = max_monitors;
    Atom names[max_monitors];
    char* texts[max_monitors] = {};
    for (int i = 0; i < count; ++i) names[i] = monitors[i].name;
    const bool named = count > 0 && XGetAtomNames(pet_display, names, count, texts);
    for (int i = 0; i < count; ++i) {
        const XRRMonitorInfo& m = monitors[i];
        found[i].rect = {m.x, m.y, m.x + m.width, m.y + m.height};
        found[i].primary = m.primary ? 1 : 0;
        std::snprintf(found[i].name, monitor_name_size, "%s", named && texts[i] ? texts[i] : "");
        if (texts[i]) XFree(texts[i]);
    }
    XRRFreeMonitors(monitors);
    return count;
}

int32_t xinerama_heads(FoundMonitor* found) {
    if (!XineramaIsActive(pet_display)) return 0;
    int count = 0;
    XineramaScreenInfo* heads = XineramaQueryScreens(pet_display, &count);
    if (!heads) return 0;
    if (count > max_monitors) count = max_monitors;
    for (int i = 0; i < count; ++i) {
        const XineramaScreenInfo& h = heads[i];
        found[i].rect = {h.x_org, h.y_org, h.x_org + h.width, h.y_org + h.height};
        found[i].primary = 0;
        std::snprintf(found[i].name, monitor_name_size, "xinerama-%d", h.screen_number);
    }
    XFree(heads);
    return count;
}

World world_at(const MonitorLayout& layout, int32_t index) {
    return world_in(layout, index, desktop_settings.scale, default_dpi, screen_margins, frame_width);
}

// A new world for the pet; when it brings a new scale, the window and its pictures follow.
void move_to_world(const World& world) {
    enter_world(world);
    full_screen_world_changed();
    if (world.scale == pet_scale) return;
    pet_scale = world.scale;
    rescale_display();
}

}  // namespace

MonitorLayout read_layout() {
    find_randr();
    FoundMonitor found[max_monitors] = {};
    int32_t count = randr_monitors ? randr_monitor_list(found) : 0;
    if (count == 0) count = xinerama_heads(found);
    const int screen = DefaultScreen(pet_display);
    const ScreenRect whole = {0, 0, DisplayWidth(pet_display, screen), DisplayHeight(pet_display, screen)};
    return layout_from(found, count, resources_dpi(), whole);
}

void enter_first_world() {
    screen_margins = {margin_top, margin_left, margin_bottom, margin_right};
    const World world = world_at(monitor_layout, monitor_layout.primary);
    pet_scale = world.scale;
    enter_world(world);
}

void watch_layout() {
    find_randr();
    if (randr_event_base < 0) return;
    XRRSelectInput(pet_display, DefaultRootWindow(pet_display),
                   RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask | RROutputChangeNotifyMask);
}

bool layout_event(XEvent* event) {
    if (randr_event_base < 0) return false;
    const int type = event->type - randr_event_base;
    if (type == RRScreenChangeNotify) {
        XRRUpdateConfiguration(event);  // Xlib's idea of the screen's size
        layout_changed = 1;
        return true;
    }
    if (type == RRNotify) {
        layout_changed = 1;
        return true;
    }
    return false;
}

void apply_layout_change() {
    layout_changed = 0;
    monitor_layout = read_layout();
    const int32_t index = pet_monitor_after_change(monitor_layout, pet_world, desktop_settings.monitors);
    const World world = world_at(monitor_layout, index);
    std::memcpy(pet_world.name, world.name, monitor_name_size);
    if (same_rect(world.monitor, pet_world.monitor) && world.scale == pet_scale) return;
    const World from = pet_world;
    move_to_world(world);
    // The pet keeps its place on its monitor, in screen pixels, as far as the new world
    // allows.
    ScreenPoint at = carry_over(from, world, window_x, window_y);
    clamp_to_margins(&at.x, &at.y);
    set_pet_position(at.y, at.x);
    present_frame(false);
}

bool follow_pointer(ScreenPoint pointer) {
    if (!desktop_settings.monitors || contains(pet_world.monitor, pointer)) return false;
    const int32_t under = monitor_at(monitor_layout, pointer);
    if (under < 0 || same_rect(monitor_layout.monitors[under], pet_world.monitor)) return false;
    move_to_world(world_at(monitor_layout, under));
    return true;
}

ScreenPoint pet_on_screen() { return to_screen(pet_world, window_x, window_y); }

ScreenRect pet_rect() {
    const ScreenPoint at = pet_on_screen();
    return {at.x, at.y, at.x + window_width, at.y + window_height};
}

int32_t scale_at(int32_t x, int32_t y) {
    const int32_t index = monitor_at(monitor_layout, {x, y});
    if (index < 0 || same_rect(monitor_layout.monitors[index], pet_world.monitor)) return pet_scale;
    return world_at(monitor_layout, index).scale;
}

bool margins_fit_next_start(int32_t top, int32_t left, int32_t bottom, int32_t right) {
    const MonitorLayout layout = read_layout();
    const int32_t p = primary_index(layout);
    return margins_fit_on_primary(layout.monitors[p], layout.dpis[p], desktop_settings.scale,
                                  {top, left, bottom, right}, frame_width);
}
