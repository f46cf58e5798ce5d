// The X11 pet shell: takes the shared pet side's requests (start, tick, drag, stepping
// aside, end) and returns them carried out on the pet's own Xlib connection, with the
// failure messages of the start and the X errors they meet.
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>

#include "held_window.h"
#include "x11.h"

long x_errors = 0;

namespace {

constexpr const char* no_window = "Fail to create the main window";
constexpr const char* no_cursor = "Fail to load the cursor image";
constexpr const char* no_bitmap = "Insufficient memory to create bitmap image";
constexpr long grab_events = ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask;

// Errors are counted, never fatal: the requests about other programs' windows may name
// windows that have gone by the time the server reads them.
int note_x_error(Display*, XErrorEvent*) {
    ++x_errors;
    return 0;
}

int lost_display(Display*) {
    std::fprintf(stderr, "tuvo: lost the connection to the display\n");
    std::exit(1);
}

// Every request so far has been carried out without an error.
bool server_agreed() {
    claim_error_handlers();  // a box shown since may have opened FLTK's connection
    XSync(pet_display, False);
    return x_errors == 0;
}

// A failed start leaves nothing behind.
int abandon_start() {
    release_display();
    destroy_pet_window();
    return 0;
}

bool connect() {
    pet_display = XOpenDisplay(nullptr);
    if (!pet_display) {
        std::fprintf(stderr, "tuvo: cannot open display '%s'\n", XDisplayName(nullptr));
        return false;
    }
    claim_error_handlers();
    intern_atoms();
    return true;
}

int open_window(int argc, char** argv) {
    if (!make_cursors()) {
        halt_with_warning(no_cursor);
        return abandon_start();
    }
    if (!create_pet_window(argc, argv) || !server_agreed()) {
        halt_with_warning(no_window);
        return abandon_start();
    }
    if (!init_display()) return abandon_start();
    if (!apply_first_shape()) return abandon_start();
    show_first_frame();
    if (!server_agreed()) {
        halt_with_warning(no_bitmap);
        return abandon_start();
    }
    return 1;
}

void watch_desktop() {
    watch_layout();
    watch_full_screen();
}

void show_window() {
    place_pet_for_showing();
    XMapWindow(pet_display, pet_window);
    XFlush(pet_display);
}

void close_window() {
    if (!pet_display) return;
    release_display();
    destroy_pet_window();
    XCloseDisplay(pet_display);
    pet_display = nullptr;
}

int connection() { return ConnectionNumber(pet_display); }

void flush() { XFlush(pet_display); }

// Hidden, the old snapshot of mode 0 stops showing what lies under the window: whatever
// the full-screen program leaves behind is taken anew on the way back.
void hide_pet() {
    forget_backdrop();
    XUnmapWindow(pet_display, pet_window);
}

// Mapped where it was in the stack, below every window that came since, and put in its
// place right after the tick.
void show_pet_again() {
    if (display_mode == display_blended) retake_snapshot();
    XMapWindow(pet_display, pet_window);
    place_pet_soon();
}

void begin_hold(uint32_t time) {
    XGrabPointer(pet_display, pet_window, False, grab_events, GrabModeAsync, GrabModeAsync, None, grab_hand_cursor,
                 time);
    // Under XWayland the held pet's window covers the screen at once, before the pointer
    // moves (nothing changes on other servers).
    present_frame(false);
}

void end_hold(bool give_back) {
    if (give_back) XUngrabPointer(pet_display, CurrentTime);
    leave_held_window();
}

void release_pointer() { XUngrabPointer(pet_display, CurrentTime); }

ScreenPoint pointer_position() {
    Window root = None, child = None;
    int x = 0, y = 0, window_x = 0, window_y = 0;
    unsigned int buttons = 0;
    XQueryPointer(pet_display, DefaultRootWindow(pet_display), &root, &child, &x, &y, &window_x, &window_y, &buttons);
    return {x, y};
}

void settle() {
    settle_full_screen();
    settle_stacking();
}

void world_changed() {
    full_screen_world_changed();
    stacking_world_changed();
}

// The menu and dialogs share the pet's X screen.
ScreenPoint same_point(ScreenPoint point) { return point; }

int32_t same_scale() { return pet_scale; }

}  // namespace

const PetShell x11_shell = {
    "x11",        connect,          read_layout,   open_window,       watch_desktop,
    show_window,  close_window,     connection,    take_x_events,     settle,
    flush,        draw_frame,       apply_frame_shape, present_frame, rescale_display,
    hide_pet,     show_pet_again,   world_changed, begin_hold,        end_hold,
    release_pointer, pointer_position, same_point, same_scale,
};

void claim_error_handlers() {
    XSetErrorHandler(note_x_error);
    XSetIOErrorHandler(lost_display);
}
