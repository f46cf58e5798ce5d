// Full-screen courtesy on X: takes the window manager's active window, its state and its
// place, and the stacking's word on override-redirect windows, and returns the judgement
// whether a full-screen program covers the pet's monitor, for the shared pet side to step
// aside by. Driven by events about the active
// window, never by looking on every tick; without a window manager nobody names an
// active window and nothing happens.
#include <X11/Xatom.h>
#include <unistd.h>

#include "x11.h"

namespace {

bool watching = false;
Window active = None;   // the active window we watch
bool active_covers = false;    // it is full screen on the pet's monitor
bool override_covers = false;  // an override-redirect window of another program covers it
// Something about the active window changed; judged once the events at hand are read, so
// a window dragged about costs one look per batch of its moves.
bool judge_pending = false;

// A property of 32-bit items of |window|; the caller frees the result with XFree. Null
// when the window has none or has gone.
unsigned long* read_longs(Window window, Atom property, Atom type, unsigned long* count) {
    Atom actual = None;
    int format = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    *count = 0;
    constexpr long most_items = 1024;
    const int status = XGetWindowProperty(pet_display, window, property, 0, most_items, False, type, &actual,
                                          &format, count, &after, &data);
    if (status != Success || !data || format != 32) {
        if (data) XFree(data);
        *count = 0;
        return nullptr;
    }
    return reinterpret_cast<unsigned long*>(data);
}

Window read_active_window() {
    unsigned long count = 0;
    unsigned long* value = read_longs(DefaultRootWindow(pet_display), atoms.net_active_window, XA_WINDOW, &count);
    const Window window = value && count > 0 ? Window(value[0]) : None;
    if (value) XFree(value);
    return window;
}

bool holds_atom(Window window, Atom property, Atom wanted) {
    unsigned long count = 0;
    unsigned long* items = read_longs(window, property, XA_ATOM, &count);
    bool found = false;
    for (unsigned long i = 0; i < count; ++i) found = found || items[i] == wanted;
    if (items) XFree(items);
    return found;
}

// Our own windows (the pet, the menu and dialogs on FLTK's connection) are never a
// program to make way for.
bool ours(Window window) {
    if (window == pet_window) return true;
    unsigned long count = 0;
    unsigned long* pid = read_longs(window, atoms.net_wm_pid, XA_CARDINAL, &count);
    const bool same = pid && count > 0 && pid[0] == static_cast<unsigned long>(getpid());
    if (pid) XFree(pid);
    return same;
}

// The window with its frame in root coordinates; false when it is not on screen.
bool window_frame(Window window, ScreenRect* frame) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(pet_display, window, &attributes) || attributes.map_state != IsViewable) return false;
    int x = 0, y = 0;
    Window child = None;
    if (!XTranslateCoordinates(pet_display, window, attributes.root, 0, 0, &x, &y, &child)) return false;
    *frame = {x, y, x + attributes.width, y + attributes.height};
    unsigned long count = 0;
    unsigned long* extents = read_longs(window, atoms.net_frame_extents, XA_CARDINAL, &count);
    if (extents && count >= 4) {  // left, right, top, bottom
        frame->left -= long(extents[0]);
        frame->right += long(extents[1]);
        frame->top -= long(extents[2]);
        frame->bottom += long(extents[3]);
    }
    if (extents) XFree(extents);
    return true;
}

}  // namespace

// The pet's monitor as it is now: a change of the monitors that waits for the pet's
// return has moved or resized it already.
ScreenRect monitor_to_cover() {
    if (!layout_changed) return pet_world.monitor;
    return pet_monitor_now(read_layout(), pet_world, desktop_settings.monitors);
}

namespace {

void judge() {
    ScreenRect frame;
    active_covers = active != None && !ours(active) &&
                    holds_atom(active, atoms.net_wm_state, atoms.net_wm_state_fullscreen) &&
                    window_frame(active, &frame) && covers(frame, monitor_to_cover());
    full_screen_covered = active_covers || override_covers;
}

void follow_active_window() {
    const Window now = read_active_window();
    if (now != active) {
        // A window that has gone makes this fail; the error handler lets it pass.
        if (active != None) XSelectInput(pet_display, active, NoEventMask);
        active = now;
        if (active != None && active != pet_window)
            XSelectInput(pet_display, active, PropertyChangeMask | StructureNotifyMask);
    }
    judge_pending = true;
}

}  // namespace

void set_override_covers(bool covers) {
    override_covers = covers;
    full_screen_covered = active_covers || override_covers;
}

void watch_full_screen() {
    if (!desktop_settings.fullscreen) return;
    watching = true;
    add_root_events(PropertyChangeMask);
    follow_active_window();
    settle_full_screen();
}

bool full_screen_event(const XEvent& event) {
    if (!watching) return false;
    if (event.type == PropertyNotify) {
        const XPropertyEvent& p = event.xproperty;
        if (p.window == DefaultRootWindow(pet_display)) {
            if (p.atom == atoms.net_active_window) follow_active_window();
            return true;
        }
        if (p.window != active) return false;
        if (p.atom == atoms.net_wm_state || p.atom == atoms.net_frame_extents) judge_pending = true;
        return true;
    }
    if (active == None || event.xany.window != active) return false;
    switch (event.type) {
    case DestroyNotify:
        active = None;
        judge_pending = true;
        return true;
    case ConfigureNotify:
    case MapNotify:
    case UnmapNotify:
    case ReparentNotify:
        judge_pending = true;
        return true;
    default:
        return false;
    }
}

void full_screen_world_changed() {
    if (watching) judge_pending = true;
}

void settle_full_screen() {
    if (!judge_pending) return;
    judge_pending = false;
    judge();
}
