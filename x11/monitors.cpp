// The monitors as X tells them: takes RandR 1.5's monitors, else Xinerama's heads, else
// the whole screen, and the display's scaling (Xft.dpi), and returns the layout the pet
// lives in; notes the server's news of a change of either for the loop to apply.
#include <X11/Xatom.h>
#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

#include <cstdio>
#include <cstring>

#include "x11.h"

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
// when the connection opened, so a scaling set since then counts.
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

void watch_layout() {
    // The root's own changes: a new size, and RandR 1.5's monitors set or deleted (the
    // server tells of those only by a ConfigureNotify of the root); and a new resource
    // database, which may bring a new Xft.dpi.
    add_root_events(StructureNotifyMask | PropertyChangeMask);
    find_randr();
    if (randr_event_base < 0) return;
    XRRSelectInput(pet_display, DefaultRootWindow(pet_display),
                   RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask | RROutputChangeNotifyMask);
}

bool layout_event(XEvent* event) {
    const Window root = DefaultRootWindow(pet_display);
    if (event->type == ConfigureNotify && event->xconfigure.window == root) {
        if (randr_event_base >= 0) XRRUpdateConfiguration(event);
        layout_changed = 1;
        return true;
    }
    if (event->type == PropertyNotify && event->xproperty.window == root &&
        event->xproperty.atom == XA_RESOURCE_MANAGER) {
        layout_changed = 1;
        return true;
    }
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

