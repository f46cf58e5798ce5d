// The pointer on the pet: takes button presses, releases and moves on the pet window, and
// returns the pet picked up, carried (across monitors) and dropped, and the context menu
// opened at the pointer with its command carried out.
#include "held_window.h"
#include "pet.h"

int32_t dragging = 0;
int32_t grab_x = 0;
int32_t grab_y = 0;

namespace {

constexpr unsigned int left_button = Button1;
constexpr unsigned int right_button = Button3;
constexpr long grab_events = ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask;

LeftPress last_left = {0, 0, 0, 0};

int32_t clamp(int32_t value, int32_t high) {
    if (value < 0) return 0;
    return value > high ? high : value;
}

// Ends a drag as the left button's release does, once.
void finish_drag(bool give_back_grab) {
    if (!dragging) return;
    grab_x = 0;
    grab_y = 0;
    if (give_back_grab) XUngrabPointer(pet_display, CurrentTime);
    dragging = 0;
    drag_release();
    leave_held_window();
}

void begin_drag(const XButtonEvent& press) {
    // A press while still held (its release was lost) takes hold again without a second
    // grab of the engine, which would save the held action in place of the real one.
    const bool held = dragging;
    XGrabPointer(pet_display, pet_window, False, grab_events, GrabModeAsync, GrabModeAsync, None, grab_hand_cursor,
                 press.time);
    dragging = 1;
    // Under XWayland the held pet's window covers the screen at once, before the
    // pointer moves (nothing changes on other servers).
    present_frame(false);
    // The grab point in the pet's own pixels.
    grab_x = clamp(press.x / pet_scale, frame_width);
    grab_y = clamp(press.y / pet_scale, frame_height);
    if (!held) drag_grab();
}

void drag_move(int32_t root_x, int32_t root_y) {
    const ScreenPoint pointer = {root_x, root_y};
    follow_pointer(pointer);
    // The same spot of the body stays under the pointer, at whatever scale.
    const ScreenPoint held_at = to_world(pet_world, pointer);
    int32_t x = held_at.x - grab_x;
    int32_t y = held_at.y - grab_y;
    clamp_to_margins(&x, &y);
    set_pet_position(y, x);
    present_frame(false);
}

void open_context_menu(int32_t root_x, int32_t root_y) {
    // The menu takes the pointer: a held pet is let go first, as when the Windows menu
    // takes the capture, and the grab this press began is given up so that the menu's
    // own grab can succeed.
    finish_drag(true);
    XUngrabPointer(pet_display, CurrentTime);
    XFlush(pet_display);
    const int32_t command = pick_menu_command(root_x, root_y, pet_scale);
    claim_error_handlers();
    run_command(command);
    claim_error_handlers();
}

void on_left_press(const XButtonEvent& press) {
    if (is_double_click(last_left, press.time, press.x_root, press.y_root)) {
        // The first click already picked the pet up and let it go; the third click
        // begins anew.
        last_left.valid = 0;
        open_context_menu(press.x_root, press.y_root);
        return;
    }
    last_left = {1, press.time, press.x_root, press.y_root};
    begin_drag(press);
}

// True when the queue already holds a newer pointer position for the pet: only the
// last of a burst of moves is worth carrying the window to.
bool newer_motion_queued() {
    if (XEventsQueued(pet_display, QueuedAlready) == 0) return false;
    XEvent next;
    XPeekEvent(pet_display, &next);
    return next.type == MotionNotify && next.xmotion.window == pet_window;
}

}  // namespace

void on_button_press(const XButtonEvent& press) {
    if (halted) return;
    if (press.button == left_button) on_left_press(press);
    else if (press.button == right_button) open_context_menu(press.x_root, press.y_root);
}

void on_button_release(const XButtonEvent& release) {
    if (release.button == left_button) finish_drag(true);
}

void on_motion(const XMotionEvent& motion) {
    if (!dragging || !(motion.state & Button1Mask) || halted) return;
    if (newer_motion_queued()) return;
    drag_move(motion.x_root, motion.y_root);
}

void on_grab_lost() { finish_drag(false); }
