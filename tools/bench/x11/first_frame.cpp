// Starts a program on the display and times its first frame: takes a time limit and the
// command to run, and prints "pid P window W mapped_ms M shown_ms S" once a window of
// that process (its _NET_WM_PID) is mapped and the screen at its place shows its picture,
// with "at X Y", a screen point of that picture (a click there reaches the window).
//   tuvo-first-frame LIMIT_MS PROGRAM [ARGUMENTS...]
// The clock starts just before the program is forked and exec'd. The map is seen as the
// server's MapNotify on the root window (this connection takes the root's substructure
// events), then the window's rectangle on the root is read about every 0.5 ms until any
// pixel differs from a snapshot of the whole screen taken before the start. Afterwards
// the connection is closed, so the server sends it nothing while the program is measured,
// and the helper waits for the program and exits with its status: the caller kills the
// program by the pid printed. Exit status 3 when the limit passed first (the program is
// killed), 4 when the program ended before it showed, 1 without a display.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "launch.h"

namespace {

constexpr int poll_interval_us = 500;  // between two reads of the window's place

Display* display = nullptr;
Atom net_wm_pid = None;

// Windows that went away while we asked about them are no failure here.
int ignore_error(Display*, XErrorEvent*) { return 0; }

bool owned_by(Window window, pid_t pid) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, window, net_wm_pid, 0, 1, False, XA_CARDINAL, &type, &format,
                                          &count, &after, &data);
    bool owned = status == Success && data && format == 32 && count == 1 &&
                 *reinterpret_cast<unsigned long*>(data) == static_cast<unsigned long>(pid);
    if (data) XFree(data);
    return owned;
}

struct Point {
    int x, y;
};

// Whether the screen inside |x, y, w, h| differs from the same place in |before|; |seen|
// becomes the differing pixel nearest the rectangle's centre, a point of the picture.
bool differs(const XImage* before, int x, int y, int w, int h, Point* seen) {
    const int centre_x = x + w / 2, centre_y = y + h / 2;
    const int screen_w = before->width, screen_h = before->height;
    if (x < 0) w += x, x = 0;
    if (y < 0) h += y, y = 0;
    if (x + w > screen_w) w = screen_w - x;
    if (y + h > screen_h) h = screen_h - y;
    if (w <= 0 || h <= 0) return false;
    XImage* now = XGetImage(display, DefaultRootWindow(display), x, y, w, h, AllPlanes, ZPixmap);
    if (!now) return false;
    long nearest = -1;
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            if (XGetPixel(now, i, j) == XGetPixel(const_cast<XImage*>(before), x + i, y + j)) continue;
            const long dx = x + i - centre_x, dy = y + j - centre_y, distance = dx * dx + dy * dy;
            if (nearest >= 0 && distance >= nearest) continue;
            nearest = distance;
            *seen = {x + i, y + j};
        }
    XDestroyImage(now);
    return nearest >= 0;
}

// What is known of the program's window so far; times in ms from the start.
struct Watch {
    pid_t pid;
    double start;
    Window pet;
    int x, y, w, h;  // its place on the root
    double mapped, shown;
    Point seen;
};

// The server's news since the last look: the program's window mapped, or moved.
void take_events(Watch* watch) {
    while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && watch->pet == None && owned_by(event.xmap.window, watch->pid)) {
            watch->mapped = now_ms() - watch->start;
            watch->pet = event.xmap.window;
            XWindowAttributes a = {};
            XGetWindowAttributes(display, watch->pet, &a);
            watch->x = a.x, watch->y = a.y, watch->w = a.width, watch->h = a.height;
        } else if (event.type == ConfigureNotify && event.xconfigure.window == watch->pet) {
            const XConfigureEvent& c = event.xconfigure;
            watch->x = c.x, watch->y = c.y, watch->w = c.width, watch->h = c.height;
        }
    }
}

// Watches until the picture shows, the program ends or the limit passes; false when the
// program ended first.
bool watch_first_frame(const XImage* before, double limit_ms, Watch* watch) {
    while (now_ms() - watch->start < limit_ms) {
        take_events(watch);
        if (watch->pet != None && differs(before, watch->x, watch->y, watch->w, watch->h, &watch->seen)) {
            watch->shown = now_ms() - watch->start;
            return true;
        }
        if (waitpid(watch->pid, nullptr, WNOHANG) == watch->pid) return false;
        // Until the map, the server's events wake us; after it, the screen is read again.
        pollfd wake = {ConnectionNumber(display), POLLIN, 0};
        if (watch->pet == None)
            poll(&wake, 1, 1);
        else
            usleep(poll_interval_us);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: tuvo-first-frame LIMIT_MS PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    const double limit_ms = std::atof(argv[1]);
    display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "tuvo-first-frame: cannot open the display\n");
        return 1;
    }
    fcntl(ConnectionNumber(display), F_SETFD, FD_CLOEXEC);  // the program opens its own
    XSetErrorHandler(ignore_error);
    net_wm_pid = XInternAtom(display, "_NET_WM_PID", False);
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XWindowAttributes screen = {};
    XGetWindowAttributes(display, root, &screen);
    XImage* before = XGetImage(display, root, 0, 0, screen.width, screen.height, AllPlanes, ZPixmap);
    if (!before) return 1;

    Watch watch = {0, now_ms(), None, 0, 0, 0, 0, -1, -1, {0, 0}};
    watch.pid = start_program(argv + 2);
    const bool alive = watch_first_frame(before, limit_ms, &watch);
    XDestroyImage(before);
    XCloseDisplay(display);
    if (!alive) {
        std::printf("pid %d ended before it showed a window\n", int(watch.pid));
        return 4;
    }
    if (watch.shown < 0) {
        std::printf("pid %d window 0x%lx mapped_ms %.1f shown_ms - (no picture within %.0f ms)\n", int(watch.pid),
                    watch.pet, watch.mapped, limit_ms);
        kill(watch.pid, SIGTERM);
        wait_for(watch.pid);
        return 3;
    }
    std::printf("pid %d window 0x%lx mapped_ms %.1f shown_ms %.1f at %d %d\n", int(watch.pid), watch.pet,
                watch.mapped, watch.shown, watch.seen.x, watch.seen.y);
    std::fflush(stdout);
    return wait_for(watch.pid);
}
