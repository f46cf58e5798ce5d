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

namespace {

constexpr int poll_interval_us = 500;  // between two reads of the window's place

// Milliseconds on the monotonic clock.
double now_ms() {
    timespec t = {};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

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

pid_t start_program(char** command) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    execvp(command[0], command);
    std::perror(command[0]);
    _exit(127);
}

// The status the helper ends with: the program's own once it has ended.
int wait_for(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) < 0) return 0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 0;
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

    const double start = now_ms();
    const pid_t pid = start_program(argv + 2);
    Window pet = None;
    int x = 0, y = 0, w = 0, h = 0;
    double mapped = -1, shown = -1;
    Point seen = {0, 0};
    while (shown < 0 && now_ms() - start < limit_ms) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && pet == None && owned_by(event.xmap.window, pid)) {
                mapped = now_ms() - start;
                pet = event.xmap.window;
                XWindowAttributes a = {};
                XGetWindowAttributes(display, pet, &a);
                x = a.x, y = a.y, w = a.width, h = a.height;
            } else if (event.type == ConfigureNotify && event.xconfigure.window == pet) {
                x = event.xconfigure.x, y = event.xconfigure.y;
                w = event.xconfigure.width, h = event.xconfigure.height;
            }
        }
        if (pet != None && differs(before, x, y, w, h, &seen)) {
            shown = now_ms() - start;
            break;
        }
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            std::printf("pid %d ended before it showed a window\n", int(pid));
            return 4;
        }
        pollfd wake = {ConnectionNumber(display), POLLIN, 0};
        if (pet == None)
            poll(&wake, 1, 1);
        else
            usleep(poll_interval_us);
    }
    XDestroyImage(before);
    XCloseDisplay(display);
    if (shown < 0) {
        std::printf("pid %d window 0x%lx mapped_ms %.1f shown_ms - (no picture within %.0f ms)\n", int(pid), pet,
                    mapped, limit_ms);
        kill(pid, SIGTERM);
        wait_for(pid);
        return 3;
    }
    std::printf("pid %d window 0x%lx mapped_ms %.1f shown_ms %.1f at %d %d\n", int(pid), pet, mapped, shown,
                seen.x, seen.y);
    std::fflush(stdout);
    return wait_for(pid);
}
