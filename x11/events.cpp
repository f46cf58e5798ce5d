// The pet connection's events: takes what the X server sends (the pointer on the pet,
// windows made, mapped, restacked and gone, the active window's changes, the monitors'
// and the scaling's news) and hands each to its handler: the shared drag, staying on top,
// full-screen courtesy, the monitors.
#include "x11.h"

namespace {

bool crossing_of_a_grab(const XCrossingEvent& crossing) {
    return crossing.window == pet_window && (crossing.mode == NotifyGrab || crossing.mode == NotifyUngrab);
}

// True when the queue already holds a newer pointer position for the pet: only the
// last of a burst of moves is worth carrying the window to.
bool newer_motion_queued() {
    if (XEventsQueued(pet_display, QueuedAlready) == 0) return false;
    XEvent next;
    XPeekEvent(pet_display, &next);
    return next.type == MotionNotify && next.xmotion.window == pet_window;
}

void on_motion(const XMotionEvent& motion) {
    if (!(motion.state & Button1Mask)) return;
    if (newer_motion_queued()) return;
    pet_motion(motion.x_root, motion.y_root);
}

void handle_event(XEvent& event) {
    switch (event.type) {
    case ButtonPress:
        if (event.xbutton.window == pet_window) {
            const XButtonEvent& b = event.xbutton;
            pet_press(int32_t(b.button), uint32_t(b.time), b.x, b.y, b.x_root, b.y_root);
        }
        return;
    case ButtonRelease:
        if (event.xbutton.window == pet_window) pet_release(int32_t(event.xbutton.button));
        return;
    case MotionNotify:
        if (event.xmotion.window == pet_window) on_motion(event.xmotion);
        return;
    case EnterNotify:
    case LeaveNotify:
        // Someone else's grab began or ours ended without a release: the drag is over.
        if (crossing_of_a_grab(event.xcrossing)) pet_hold_lost();
        return;
    case UnmapNotify:
        if (event.xunmap.window == pet_window) {
            pet_hold_lost();  // hidden by someone while held; our own hiding never is
            return;
        }
        stacking_event(event);
        break;
    case CreateNotify:
    case DestroyNotify:
    case ReparentNotify:
    case CirculateNotify:
    case MapNotify:
    case ConfigureNotify:
        stacking_event(event);
        break;
    default:
        break;
    }
    if (layout_event(&event)) return;
    full_screen_event(event);
}

}  // namespace

void take_x_events(bool read) {
    // The menu or a box may have opened FLTK's connection since, which set its own.
    claim_error_handlers();
    while (running && (read ? XPending(pet_display) : XEventsQueued(pet_display, QueuedAlready)) > 0) {
        XEvent event;
        XNextEvent(pet_display, &event);
        handle_event(event);
    }
}
