// The probe among other programs' windows: takes a place on the screen, a window or a
// pet's process, and gives windows of our own that stand where a screen locker or an
// ordinary program would (one raising itself without end), which of two windows stands
// above the other, and what a pet does in the moments after it was stalled.
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/types.h>
#include <time.h>

#include <cstdio>

#include "probe.h"

namespace {

constexpr int raise_pause_us = 1000;  // between two raises of the raiser
constexpr double after_stall_ms = 60;  // how long the moves after a stall are timed

void pause_ms(double ms) {
    timespec wait = {time_t(ms / 1000), long(ms * 1e6) % 1000000000L};
    nanosleep(&wait, nullptr);
}

// A window of ours at |area|, mapped (by the window manager too, when it handles it); an
// input-only one shows nothing.
Window open_window(Rect area, bool override_redirect, bool input_only, const char* name) {
    XSetWindowAttributes attributes = {};
    attributes.override_redirect = override_redirect;
    attributes.background_pixel = BlackPixel(display, DefaultScreen(display));
    attributes.event_mask = StructureNotifyMask;
    const unsigned long mask = CWOverrideRedirect | CWEventMask | (input_only ? 0 : CWBackPixel);
    const Window window = XCreateWindow(display, root, area.x, area.y, area.w, area.h, 0, input_only ? 0 : CopyFromParent,
                                        input_only ? InputOnly : InputOutput, CopyFromParent, mask, &attributes);
    XStoreName(display, window, name);
    XClassHint hint = {const_cast<char*>("probe"), const_cast<char*>("Probe")};
    XSetClassHint(display, window, &hint);
    XMapWindow(display, window);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && event.xmap.window == window) break;
    }
    std::printf("%s 0x%lx\n", name, window);
    std::fflush(stdout);
    return window;
}

// The root's child that holds |window|: the window itself, or a window manager's frame.
Window top_level(Window window) {
    for (int depth = 0; window && depth < 8; ++depth) {
        Window root_found = None, parent = None, *children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display, window, &root_found, &parent, &children, &count)) return None;
        if (children) XFree(children);
        if (parent == root) return window;
        window = parent;
    }
    return None;
}

}  // namespace

int command_window_of_ours(Rect area, const char* kind, int raise_ms) {
    const std::string what = kind;
    const Window window = open_window(area, what == "override" || what == "catcher", what == "catcher", kind);
    // A raiser raises itself again and again, as a program that wants to be on top of
    // everything does; a raise of a window already on top changes nothing and tells
    // nobody.
    const double end = now_ms() + (what == "raiser" ? raise_ms : 0);
    int raises = 0;
    while (now_ms() < end) {
        XRaiseWindow(display, window);
        XSync(display, False);
        ++raises;
        pause_ms(raise_pause_us / 1000.0);
    }
    if (what == "raiser") {
        std::printf("quiet after %d raises\n", raises);
        std::fflush(stdout);
    }
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
    }
}

int command_above(Window upper, Window lower) {
    const Window a = top_level(upper), b = top_level(lower);
    if (!a || !b) return std::printf("gone\n"), 2;
    std::vector<Window> order = children_of(root);  // bottom to top
    int at_a = -1, at_b = -1;
    for (size_t i = 0; i < order.size(); ++i) {
        if (order[i] == a) at_a = int(i);
        if (order[i] == b) at_b = int(i);
    }
    const bool above = at_a > at_b;
    std::printf("%s\n", above ? "above" : "below");
    return above ? 0 : 1;
}

int command_stall(int pid, Window window, int ms) {
    XSelectInput(display, window, StructureNotifyMask);
    XSync(display, False);
    if (kill(pid, SIGSTOP) != 0) return std::printf("no process %d\n", pid), 2;
    pause_ms(ms);
    // What the pet did before it stopped is not what is timed.
    XSync(display, False);
    while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
    }
    Rect corner;
    if (!window_rect(window, &corner)) return std::printf("gone\n"), 2;
    const double resumed = now_ms();
    kill(pid, SIGCONT);
    std::printf("stall moves");
    double last = -1;
    while (wait_for_events(resumed + after_stall_ms - now_ms())) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != ConfigureNotify || event.xconfigure.window != window) continue;
        // A move: a new corner (a restack leaves it where it was).
        const XConfigureEvent& c = event.xconfigure;
        if (c.x == corner.x && c.y == corner.y) continue;
        corner.x = c.x, corner.y = c.y;
        const double at = now_ms() - resumed;
        if (at > after_stall_ms) break;
        std::printf(" %.1f", at);
        last = at;
    }
    std::printf("\n");
    return last < 0 ? 1 : 0;
}
