// The probe over time: takes the events the server sends about a window, or what the
// screen shows again and again, and prints what happened during a while; also the window
// of our own that a window manager makes full screen or maximised.
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>
#include <sys/select.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "probe.h"

namespace {

constexpr int poll_ms = 5;           // between two looks at the screen
constexpr double one_change_ms = 40;  // changes closer than this are one redraw seen in parts
constexpr long source_pager = 2;     // _NET_ACTIVE_WINDOW from a pager: no focus-stealing rules

}  // namespace

bool wait_for_events(double ms) {
    if (XPending(display)) return true;
    if (ms <= 0) return false;
    const int fd = ConnectionNumber(display);
    fd_set read;
    FD_ZERO(&read);
    FD_SET(fd, &read);
    timeval wait = {long(ms / 1000), long(ms * 1000) % 1000000};
    return select(fd + 1, &read, nullptr, nullptr, &wait) > 0 && XPending(display);
}

namespace {

int shape_event_base() {
    int event_base = 0, error_base = 0;
    return XShapeQueryExtension(display, &event_base, &error_base) ? event_base : -1;
}

void watch_window(Window window) {
    XSelectInput(display, window, StructureNotifyMask);
    XShapeSelectInput(display, window, ShapeNotifyMask);
    XSync(display, False);
}

unsigned long colour_pixel(const char* name) {
    XColor colour = {};
    const Colormap map = DefaultColormap(display, DefaultScreen(display));
    if (XParseColor(display, map, name, &colour) && XAllocColor(display, map, &colour)) return colour.pixel;
    return BlackPixel(display, DefaultScreen(display));
}

void ask_to_activate(Window window) {
    XEvent message = {};
    message.xclient.type = ClientMessage;
    message.xclient.window = window;
    message.xclient.message_type = atom("_NET_ACTIVE_WINDOW");
    message.xclient.format = 32;
    message.xclient.data.l[0] = source_pager;
    message.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &message);
    XFlush(display);
}

}  // namespace

int command_cover(bool full_screen) {
    // A colour of its own, so that a snapshot that kept it would show.
    const Window window = XCreateSimpleWindow(display, root, 100, 100, 400, 300, 0, 0, colour_pixel("rgb:80/20/40"));
    XStoreName(display, window, full_screen ? "probe full screen" : "probe maximised");
    XClassHint hint = {const_cast<char*>("probe"), const_cast<char*>("Probe")};
    XSetClassHint(display, window, &hint);
    Atom state[2] = {atom("_NET_WM_STATE_FULLSCREEN"), None};
    if (!full_screen) state[0] = atom("_NET_WM_STATE_MAXIMIZED_VERT"), state[1] = atom("_NET_WM_STATE_MAXIMIZED_HORZ");
    XChangeProperty(display, window, atom("_NET_WM_STATE"), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(state), full_screen ? 1 : 2);
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && event.xmap.window == window) break;
    }
    ask_to_activate(window);
    std::printf("cover 0x%lx\n", window);
    std::fflush(stdout);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
    }
}

int command_watch(Window window, int ms) {
    const int shape_base = shape_event_base();
    Rect r;
    if (!window_rect(window, &r)) return std::printf("gone\n"), 1;
    watch_window(window);
    int moves = 0, shapes = 0, maps = 0, restacks = 0;
    int min_x = r.x, max_x = r.x, min_y = r.y, max_y = r.y;
    Rect last = r;
    const double end = now_ms() + ms;
    while (wait_for_events(end - now_ms())) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.xany.window != window) continue;
        if (event.type == ConfigureNotify) {
            const XConfigureEvent& c = event.xconfigure;
            ++moves;
            // The same place and size: only its place in the stack changed.
            if (c.x == last.x && c.y == last.y && c.width == last.w && c.height == last.h) ++restacks;
            last = {c.x, c.y, c.width, c.height};
            min_x = std::min(min_x, c.x), max_x = std::max(max_x, c.x);
            min_y = std::min(min_y, c.y), max_y = std::max(max_y, c.y);
        } else if (event.type == MapNotify || event.type == UnmapNotify) {
            ++maps;
        } else if (shape_base >= 0 && event.type == shape_base + ShapeNotify) {
            ++shapes;
        }
    }
    std::printf("watch moves %d shapes %d maps %d x %d %d y %d %d restacks %d\n", moves, shapes, maps, min_x, max_x,
                min_y, max_y, restacks);
    return 0;
}

int command_await_size(Window window, int width, int ms) {
    Rect r;
    watch_window(window);
    if (!window_rect(window, &r)) return std::printf("gone\n"), 1;
    if (r.w == width) return std::printf("already %d wide\n", width), 1;
    std::printf("ready\n");
    std::fflush(stdout);
    const double end = now_ms() + ms;
    while (wait_for_events(end - now_ms())) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != ConfigureNotify || event.xconfigure.window != window) continue;
        const XConfigureEvent& c = event.xconfigure;
        if (c.width != width) {
            r = {c.x, c.y, c.width, c.height};
            continue;
        }
        std::printf("before %d %d %d %d\nafter %d %d %d %d\n", r.x, r.y, r.w, r.h, c.x, c.y, c.width, c.height);
        return 0;
    }
    return std::printf("not resized\n"), 1;
}

int command_await_map(Window window, int scale, int ms) {
    const int shape_base = shape_event_base();
    watch_window(window);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return std::printf("gone\n"), 1;
    if (attributes.map_state == IsViewable) return std::printf("already viewable\n"), 1;
    std::printf("ready\n");
    std::fflush(stdout);
    const double end = now_ms() + ms;
    bool mapped = false;
    while (!mapped && wait_for_events(end - now_ms())) {
        XEvent event;
        XNextEvent(display, &event);
        mapped = event.type == MapNotify && event.xmap.window == window;
    }
    if (!mapped) return std::printf("not mapped\n"), 1;
    // Held from here until the window has been looked at: whatever the pet did between
    // its mapping and now is in our queue, and it does nothing more until we let go.
    XGrabServer(display);
    XSync(display, False);
    bool late = false;
    while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.xany.window != window) continue;
        late = late || event.type == ConfigureNotify || (shape_base >= 0 && event.type == shape_base + ShapeNotify);
    }
    Rect r;
    if (window_rect(window, &r)) std::printf("geometry %d %d %d %d\n", r.x, r.y, r.w, r.h);
    print_shape(window);
    if (late) std::printf("late: the window moved or changed its shape before the look\n");
    const int status = command_frame(window, scale, nullptr);  // lets go of the server
    return late ? 1 : status;
}

int command_changes(Rect area, int ms) {
    std::vector<char> last;
    std::vector<double> times;
    const double end = now_ms() + ms;
    while (now_ms() < end) {
        XImage* image = XGetImage(display, root, area.x, area.y, area.w, area.h, AllPlanes, ZPixmap);
        if (!image) return std::printf("changes none: the area is not on the screen\n"), 1;
        const size_t bytes = size_t(image->bytes_per_line) * area.h;
        const double at = now_ms();
        if (!last.empty() && std::memcmp(last.data(), image->data, bytes) != 0 &&
            (times.empty() || at - times.back() >= one_change_ms))
            times.push_back(at);
        last.assign(image->data, image->data + bytes);
        XDestroyImage(image);
        wait_for_events(poll_ms);
    }
    const double interval = times.size() > 1 ? (times.back() - times.front()) / double(times.size() - 1) : 0;
    std::printf("changes %zu interval %.0f\n", times.size(), interval);
    return 0;
}
