// The pet window: takes the pet's place and size, and returns a frameless
// override-redirect window that no window manager handles, of a visual with alpha where
// the server has one, named and typed for those who look (tests, pagers, compositors),
// with the hand cursors.
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <cstring>

#include "art_data.h"
#include "visual.h"
#include "x11.h"

Display* pet_display = nullptr;
Window pet_window = None;
PetAtoms atoms = {};
Cursor open_hand_cursor = None;
Cursor grab_hand_cursor = None;

namespace {

constexpr const char* window_title = "Tuvo";
constexpr long pet_events = ButtonPressMask | ButtonReleaseMask | Button1MotionMask | EnterWindowMask |
                            LeaveWindowMask;

long root_events = NoEventMask;

// A cursor's picture and its mask as X bitmaps: rows of whole bytes, leftmost pixel in
// the lowest bit.
Pixmap cursor_bitmap(const ArtCursor& cursor, bool mask) {
    constexpr int32_t row_bytes = art_cursor_size / 8;
    unsigned char bits[art_cursor_size * row_bytes] = {};
    for (int32_t y = 0; y < cursor.height && y < art_cursor_size; ++y)
        for (int32_t x = 0; x < cursor.width && x < art_cursor_size; ++x) {
            const size_t i = size_t(y) * cursor.width + x;
            const bool set = mask ? cursor.transparent[i] == 0 : cursor.pixels[i] == 1;
            if (set) bits[y * row_bytes + x / 8] |= 1 << (x % 8);
        }
    return XCreateBitmapFromData(pet_display, DefaultRootWindow(pet_display), reinterpret_cast<char*>(bits),
                                 art_cursor_size, art_cursor_size);
}

Cursor make_cursor(const ArtCursor& cursor) {
    const Pixmap source = cursor_bitmap(cursor, false);
    const Pixmap mask = cursor_bitmap(cursor, true);
    if (!source || !mask) return None;
    XColor white = {}, black = {};
    white.red = white.green = white.blue = 0xFFFF;
    white.flags = black.flags = DoRed | DoGreen | DoBlue;
    const Cursor made = XCreatePixmapCursor(pet_display, source, mask, &white, &black, cursor.hot_x, cursor.hot_y);
    XFreePixmap(pet_display, source);
    XFreePixmap(pet_display, mask);
    return made;
}

void set_atoms(Atom property, Atom type, const Atom* values, int count) {
    XChangeProperty(pet_display, pet_window, property, type, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(values), count);
}

// Names, class, type and state for whoever reads them; an override-redirect window is
// handled by no window manager, so none of this changes how it behaves.
void describe_window(int argc, char** argv) {
    XTextProperty name = {};
    char* title = const_cast<char*>(window_title);
    XStringListToTextProperty(&title, 1, &name);
    XWMHints hints = {};
    hints.flags = InputHint | StateHint;
    hints.input = False;  // never focused
    hints.initial_state = NormalState;
    XClassHint class_hint = {const_cast<char*>("tuvo"), const_cast<char*>("Tuvo")};
    XSetWMProperties(pet_display, pet_window, &name, &name, argv, argc, nullptr, &hints, &class_hint);
    if (name.value) XFree(name.value);

    XChangeProperty(pet_display, pet_window, atoms.net_wm_name, atoms.utf8_string, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(window_title), int(std::strlen(window_title)));
    set_atoms(atoms.net_wm_window_type, XA_ATOM, &atoms.net_wm_window_type_utility, 1);
    const Atom state[] = {atoms.net_wm_state_above, atoms.net_wm_state_skip_taskbar, atoms.net_wm_state_skip_pager};
    set_atoms(atoms.net_wm_state, XA_ATOM, state, 3);
    XChangeProperty(pet_display, pet_window, atoms.net_wm_icon, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(art_icon_property), art_icon_property_length);
    const unsigned long pid = static_cast<unsigned long>(getpid());
    XChangeProperty(pet_display, pet_window, atoms.net_wm_pid, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pid), 1);
}

}  // namespace

void intern_atoms() {
    // One round trip for all of them, once.
    const char* names[] = {"_NET_WM_NAME", "UTF8_STRING", "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_UTILITY",
                           "_NET_WM_STATE", "_NET_WM_STATE_ABOVE", "_NET_WM_STATE_SKIP_TASKBAR",
                           "_NET_WM_STATE_SKIP_PAGER", "_NET_WM_STATE_FULLSCREEN", "_NET_WM_ICON",
                           "_NET_WM_PID", "_NET_ACTIVE_WINDOW", "_NET_FRAME_EXTENTS"};
    Atom* slots[] = {&atoms.net_wm_name, &atoms.utf8_string, &atoms.net_wm_window_type,
                     &atoms.net_wm_window_type_utility, &atoms.net_wm_state, &atoms.net_wm_state_above,
                     &atoms.net_wm_state_skip_taskbar, &atoms.net_wm_state_skip_pager,
                     &atoms.net_wm_state_fullscreen, &atoms.net_wm_icon, &atoms.net_wm_pid,
                     &atoms.net_active_window, &atoms.net_frame_extents};
    constexpr int count = sizeof names / sizeof names[0];
    static_assert(count == sizeof slots / sizeof slots[0], "one slot per atom");
    Atom values[count] = {};
    XInternAtoms(pet_display, const_cast<char**>(names), count, False, values);
    for (int i = 0; i < count; ++i) *slots[i] = values[i];
}

bool make_cursors() {
    open_hand_cursor = make_cursor(art_hand_open);
    grab_hand_cursor = make_cursor(art_hand_grab);
    return open_hand_cursor != None && grab_hand_cursor != None;
}

bool create_pet_window(int argc, char** argv) {
    const int screen = DefaultScreen(pet_display);
    choose_visual();
    XSetWindowAttributes attributes = {};
    attributes.override_redirect = True;
    attributes.background_pixmap = None;  // the pictures module gives it its picture
    attributes.border_pixel = 0;
    attributes.event_mask = pet_events;
    attributes.cursor = open_hand_cursor;
    attributes.colormap = pet_colormap;  // a visual other than the root's needs its own
    const ScreenPoint at = pet_on_screen();
    pet_window = XCreateWindow(pet_display, RootWindow(pet_display, screen), at.x, at.y, window_width,
                               window_height, 0, pet_depth, InputOutput, pet_visual,
                               CWOverrideRedirect | CWBackPixmap | CWBorderPixel | CWEventMask | CWCursor |
                                   CWColormap,
                               &attributes);
    if (!pet_window) return false;
    pet_x_window = pet_window;
    describe_window(argc, argv);
    // Told of every top-level window made, mapped, restacked or gone, to stay above them.
    add_root_events(SubstructureNotifyMask);
    return true;
}

void add_root_events(long mask) {
    root_events |= mask;
    XSelectInput(pet_display, DefaultRootWindow(pet_display), root_events);
}

void destroy_pet_window() {
    if (pet_window) XDestroyWindow(pet_display, pet_window);
    pet_window = None;
    pet_x_window = 0;
    release_visual();
    if (open_hand_cursor) XFreeCursor(pet_display, open_hand_cursor);
    if (grab_hand_cursor) XFreeCursor(pet_display, grab_hand_cursor);
    open_hand_cursor = grab_hand_cursor = None;
}
