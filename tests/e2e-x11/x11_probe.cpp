// The X11 end-to-end probe: takes a command and the ids of the windows it looks at, and
// prints what another client of the display sees of the running pets, their menu and
// dialogs, one fact per line. Exit status 0 when the fact holds or the deed was done.
//   pets                     one line per pet: pet ID PID X Y W H viewable|unmapped override
//   window ID                class, names, pid, override-redirect, map state, input hint,
//                            type, state atoms, geometry and shape of one window
//   frame ID SCALE [PPM]     which of the 340 pictures the window shows at SCALE, or why none
//   grip ID SCALE            a root point well inside the window's shape, and the window's
//                            corner: X Y LEFT TOP
//   press ID SCALE BUTTON [N]  the same, and the pointer to that point and BUTTON pressed
//                            there (N times, all but the last released: 2 is a double
//                            click held down) before the window can move or change
//   menu                     menu ID X Y W H of each open pop-up menu; status 1 when none
//   dialogs                  dialog ID X Y W H TITLE of each of the program's FLTK windows
//   fullscreen | maximised   a window of our own asking the window manager for the whole
//                            screen (or to be maximised) and the focus, kept until killed
//   unmap ID | map ID        unmaps or maps a window, as any client may
//   backdrop                 covers the root window with the probe's pattern
//   watch ID MS              moves, restacks and changes of shape of the window during MS
//   await-map ID SCALE MS    waits for the window to be mapped, then its place and picture
//   changes X Y W H MS       how often what the screen shows in that area changed
//   await-size ID W MS       waits for the window to become W wide: its place and size
//                            just before, and then
//   override | catcher | plain X Y W H | raiser X Y W H MS
//                            a window of our own there, kept until killed: override-redirect,
//                            the same input-only, handled by the window manager, or raising
//                            itself for MS
//   above ID1 ID2            status 0 when the first window stands above the second
//   stall PID ID MS          stops the process for MS, then the times of its window's moves
//                            in the 60 ms after it goes on
#include "probe.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

Display* display = nullptr;
Window root = None;

namespace {

int ignore_error(Display*, XErrorEvent*) { return 0; }

std::string atom_name(Atom value) {
    char* name = value ? XGetAtomName(display, value) : nullptr;
    std::string text = name ? name : "None";
    if (name) XFree(name);
    return text;
}

bool class_is_tuvo(Window window) {
    XClassHint hint = {};
    if (!XGetClassHint(display, window, &hint)) return false;
    const bool tuvo = hint.res_name && std::strcmp(hint.res_name, "tuvo") == 0;
    if (hint.res_name) XFree(hint.res_name);
    if (hint.res_class) XFree(hint.res_class);
    return tuvo;
}

}  // namespace

std::vector<Window> children_of(Window parent) {
    Window root_return = None, parent_return = None, *list = nullptr;
    unsigned int count = 0;
    std::vector<Window> children;
    if (XQueryTree(display, parent, &root_return, &parent_return, &list, &count) && list)
        children.assign(list, list + count);
    if (list) XFree(list);
    return children;
}

namespace {

bool viewable_override(Window window, bool* override_redirect) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return false;
    *override_redirect = attributes.override_redirect;
    return attributes.map_state == IsViewable;
}

unsigned long pid_of(Window window) {
    const std::vector<unsigned long> pid = read_longs(window, "_NET_WM_PID", XA_CARDINAL);
    return pid.empty() ? 0 : pid[0];
}

int list_pets() {
    for (Window window : children_of(root)) {
        if (!is_pet(window)) continue;
        Rect r;
        bool override_redirect = false;
        const bool viewable = viewable_override(window, &override_redirect);
        if (!window_rect(window, &r)) continue;
        std::printf("pet 0x%lx %lu %d %d %d %d %s %d\n", window, pid_of(window), r.x, r.y, r.w, r.h,
                    viewable ? "viewable" : "unmapped", override_redirect ? 1 : 0);
    }
    return 0;
}

}  // namespace

void print_shape(Window window) {
    int bounding = 0, clip = 0, x = 0, y = 0, cx = 0, cy = 0;
    unsigned int w = 0, h = 0, cw = 0, ch = 0;
    XShapeQueryExtents(display, window, &bounding, &x, &y, &w, &h, &clip, &cx, &cy, &cw, &ch);
    int count = 0, ordering = 0;
    XRectangle* rects = XShapeGetRectangles(display, window, ShapeBounding, &count, &ordering);
    int left = 0, top = 0, right = 0, bottom = 0;
    uint32_t digest = 2166136261u;  // FNV-1a over the rectangles: two shapes told apart
    for (int i = 0; i < count; ++i) {
        const XRectangle& r = rects[i];
        for (int value : {int(r.x), int(r.y), int(r.width), int(r.height)}) digest = (digest ^ uint32_t(value)) * 16777619u;
        if (i == 0 || r.x < left) left = r.x;
        if (i == 0 || r.y < top) top = r.y;
        if (i == 0 || r.x + r.width > right) right = r.x + r.width;
        if (i == 0 || r.y + r.height > bottom) bottom = r.y + r.height;
    }
    if (rects) XFree(rects);
    std::printf("shape %s %d %d %d %d %d %08x\n", bounding ? "shaped" : "unshaped", count, left, top, right, bottom,
                digest);
}

namespace {

int describe_window(Window window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) {
        std::printf("gone\n");
        return 1;
    }
    XClassHint hint = {};
    if (XGetClassHint(display, window, &hint)) {
        std::printf("class %s %s\n", hint.res_name ? hint.res_name : "", hint.res_class ? hint.res_class : "");
        if (hint.res_name) XFree(hint.res_name);
        if (hint.res_class) XFree(hint.res_class);
    }
    char* name = nullptr;
    if (XFetchName(display, window, &name) && name) {
        std::printf("name %s\n", name);
        XFree(name);
    }
    std::printf("title %s\n", read_title(window).c_str());
    std::printf("pid %lu\n", pid_of(window));
    Window root_return = None, parent = None, *list = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, window, &root_return, &parent, &list, &count) && list) XFree(list);
    std::printf("parent %s\n", parent == root ? "root" : "other");
    std::printf("override %d\n", attributes.override_redirect ? 1 : 0);
    std::printf("map %s\n", attributes.map_state == IsViewable ? "viewable" : "unmapped");
    XWMHints* hints = XGetWMHints(display, window);
    if (hints && (hints->flags & InputHint)) std::printf("input %d\n", hints->input ? 1 : 0);
    else std::printf("input none\n");
    if (hints) XFree(hints);
    std::printf("type");
    for (unsigned long type : read_longs(window, "_NET_WM_WINDOW_TYPE", XA_ATOM))
        std::printf(" %s", atom_name(Atom(type)).c_str());
    std::printf("\nstate");
    for (unsigned long state : read_longs(window, "_NET_WM_STATE", XA_ATOM))
        std::printf(" %s", atom_name(Atom(state)).c_str());
    Rect r;
    if (window_rect(window, &r)) std::printf("\ngeometry %d %d %d %d\n", r.x, r.y, r.w, r.h);
    else std::printf("\n");
    print_shape(window);
    return 0;
}

// FLTK's pop-up menus: override-redirect windows typed as menus, larger than the
// one-pixel window the menu opens from.
int list_menus() {
    int found = 0;
    for (Window window : children_of(root)) {
        bool override_redirect = false;
        Rect r;
        if (!viewable_override(window, &override_redirect) || !override_redirect || is_pet(window)) continue;
        const std::vector<unsigned long> type = read_longs(window, "_NET_WM_WINDOW_TYPE", XA_ATOM);
        if (type.empty() || Atom(type[0]) != atom("_NET_WM_WINDOW_TYPE_MENU")) continue;
        if (!window_rect(window, &r) || r.w <= 1 || r.h <= 1) continue;
        std::printf("menu 0x%lx %d %d %d %d\n", window, r.x, r.y, r.w, r.h);
        ++found;
    }
    return found ? 0 : 1;
}

// The program's managed windows, found below a window manager's frames too.
void list_dialogs_under(Window parent, int depth) {
    for (Window window : children_of(parent)) {
        bool override_redirect = false;
        const bool viewable = viewable_override(window, &override_redirect);
        if (viewable && !override_redirect && class_is_tuvo(window) && !is_pet(window)) {
            Rect r;
            if (window_rect(window, &r))
                std::printf("dialog 0x%lx %d %d %d %d %s\n", window, r.x, r.y, r.w, r.h, read_title(window).c_str());
            continue;
        }
        if (viewable && depth < 3) list_dialogs_under(window, depth + 1);
    }
}

int map_window(Window window, bool map) {
    if (map) XMapWindow(display, window);
    else XUnmapWindow(display, window);
    XSync(display, False);
    return 0;
}

int usage() {
    std::fprintf(stderr, "usage: x11_probe pets | window ID | frame ID SCALE [PPM] | grip ID SCALE |\n"
                         "       press ID SCALE BUTTON [N] | menu | dialogs |\n"
                         "       fullscreen | maximised | unmap ID | map ID | backdrop | watch ID MS |\n"
                         "       await-map ID SCALE MS | changes X Y W H MS | await-size ID W MS |\n"
                         "       override | catcher | plain X Y W H | raiser X Y W H MS | above ID1 ID2 |\n"
                         "       stall PID ID MS\n");
    return 2;
}

}  // namespace

Atom atom(const char* name) { return XInternAtom(display, name, False); }

std::vector<unsigned long> read_longs(Window window, const char* property, Atom type) {
    Atom actual = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> items;
    const int status = XGetWindowProperty(display, window, atom(property), 0, 1024, False, type, &actual, &format,
                                          &count, &after, &data);
    if (status == Success && data && format == 32) {
        const unsigned long* values = reinterpret_cast<const unsigned long*>(data);
        items.assign(values, values + count);
    }
    if (data) XFree(data);
    return items;
}

std::string read_title(Window window) {
    Atom actual = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display, window, atom("_NET_WM_NAME"), 0, 1024, False, atom("UTF8_STRING"), &actual,
                           &format, &count, &after, &data) == Success && data && format == 8)
        title.assign(reinterpret_cast<char*>(data), count);
    if (data) XFree(data);
    if (!title.empty()) return title;
    char* name = nullptr;
    if (XFetchName(display, window, &name) && name) {
        title = name;
        XFree(name);
    }
    return title;
}

bool window_rect(Window window, Rect* rect) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return false;
    int x = 0, y = 0;
    Window child = None;
    if (!XTranslateCoordinates(display, window, root, 0, 0, &x, &y, &child)) return false;
    *rect = {x, y, attributes.width, attributes.height};
    return true;
}

bool is_pet(Window window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) || !attributes.override_redirect) return false;
    const std::vector<unsigned long> type = read_longs(window, "_NET_WM_WINDOW_TYPE", XA_ATOM);
    return !type.empty() && Atom(type[0]) == atom("_NET_WM_WINDOW_TYPE_UTILITY") && class_is_tuvo(window);
}

Window window_argument(const char* text) { return Window(std::strtoul(text, nullptr, 0)); }

double now_ms() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "x11_probe: cannot open display\n");
        return 2;
    }
    root = DefaultRootWindow(display);
    // Windows may go while we look at them: a request about one that has gone fails
    // quietly and the command says what it could.
    XSetErrorHandler(ignore_error);
    const std::string command = argv[1];
    const auto arg = [&](int i) { return i < argc ? argv[i] : "0"; };
    int status = 2;
    if (command == "pets") status = list_pets();
    else if (command == "window" && argc == 3) status = describe_window(window_argument(argv[2]));
    else if (command == "frame" && argc >= 4) status = command_frame(window_argument(argv[2]), std::atoi(argv[3]),
                                                                     argc > 4 ? argv[4] : nullptr);
    else if (command == "grip" && argc == 4) status = command_grip(window_argument(argv[2]), std::atoi(argv[3]), 0, 0);
    else if (command == "press" && (argc == 5 || argc == 6))
        status = command_grip(window_argument(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
                              argc == 6 ? std::atoi(argv[5]) : 1);
    else if (command == "menu") status = list_menus();
    else if (command == "dialogs") list_dialogs_under(root, 0), status = 0;
    else if (command == "fullscreen") status = command_cover(true);
    else if (command == "maximised") status = command_cover(false);
    else if (command == "unmap" && argc == 3) status = map_window(window_argument(argv[2]), false);
    else if (command == "map" && argc == 3) status = map_window(window_argument(argv[2]), true);
    else if (command == "backdrop") status = command_backdrop();
    else if (command == "watch" && argc == 4) status = command_watch(window_argument(argv[2]), std::atoi(argv[3]));
    else if (command == "await-map" && argc == 5)
        status = command_await_map(window_argument(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]));
    else if (command == "changes" && argc == 7)
        status = command_changes({std::atoi(arg(2)), std::atoi(arg(3)), std::atoi(arg(4)), std::atoi(arg(5))},
                                 std::atoi(arg(6)));
    else if (((command == "override" || command == "catcher" || command == "plain") && argc == 6) ||
             (command == "raiser" && argc == 7))
        status = command_window_of_ours({std::atoi(arg(2)), std::atoi(arg(3)), std::atoi(arg(4)), std::atoi(arg(5))},
                                        argv[1], std::atoi(arg(6)));
    else if (command == "await-size" && argc == 5)
        status = command_await_size(window_argument(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]));
    else if (command == "above" && argc == 4) status = command_above(window_argument(argv[2]), window_argument(argv[3]));
    else if (command == "stall" && argc == 5)
        status = command_stall(std::atoi(argv[2]), window_argument(argv[3]), std::atoi(argv[4]));
    else return usage();
    std::fflush(stdout);
    XCloseDisplay(display);
    return status;
}
