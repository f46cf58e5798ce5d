// The pet's part of the event loop: takes the pet connection's events and the tick, and
// returns each tick turned into one behaviour (or drag) step and its presentation, each
// event handed to its handler. FLTK's wait is the loop, so the menu's and dialogs' nested
// loops never stop the pet; a tick sends only requests that need no answer, then flushes.
#include <FL/Fl.H>

#include "pet.h"

namespace {

// Timers never run faster than this; a shorter interval in the file is raised to it.
constexpr int32_t shortest_tick_ms = 10;

double tick_seconds = 0.15;
bool loop_started = false;

void on_tick_timeout(void*) {
    // Rescheduled first and from the time it was due, so the ticks keep their pace
    // whatever a tick or a slow wake-up costs.
    Fl::repeat_timeout(tick_seconds, on_tick_timeout);
    on_tick();
    XFlush(pet_display);
}

bool crossing_of_a_grab(const XCrossingEvent& crossing) {
    return crossing.window == pet_window && (crossing.mode == NotifyGrab || crossing.mode == NotifyUngrab);
}

void handle_event(XEvent& event) {
    switch (event.type) {
    case ButtonPress:
        if (event.xbutton.window == pet_window) on_button_press(event.xbutton);
        return;
    case ButtonRelease:
        if (event.xbutton.window == pet_window) on_button_release(event.xbutton);
        return;
    case MotionNotify:
        if (event.xmotion.window == pet_window) on_motion(event.xmotion);
        return;
    case EnterNotify:
    case LeaveNotify:
        // Someone else's grab began or ours ended without a release: the drag is over.
        if (crossing_of_a_grab(event.xcrossing)) on_grab_lost();
        return;
    case UnmapNotify:
        if (event.xunmap.window == pet_window) {
            on_grab_lost();  // hidden by someone while held; our own hiding never is
            return;
        }
        break;
    case MapNotify:
    case ConfigureNotify:
        keep_on_top(event);
        break;
    default:
        break;
    }
    if (full_screen_event(event)) return;
    layout_event(&event);
}

// Every event the pet's connection holds; with |read|, also those waiting on its socket.
void drain_events(bool read) {
    while (running && (read ? XPending(pet_display) : XEventsQueued(pet_display, QueuedAlready)) > 0) {
        XEvent event;
        XNextEvent(pet_display, &event);
        handle_event(event);
    }
    // Changes of monitors come in bursts: the layout is read once after the burst, and not
    // while the pet is away (it is read when the pet comes back).
    if (running && layout_changed && !stepped_aside && !halted) apply_layout_change();
    if (running) settle_full_screen();
    XFlush(pet_display);
}

void on_connection(FL_SOCKET, void*) { drain_events(true); }

// Before FLTK waits: events a reply already brought into Xlib's queue would otherwise
// wait for the next wake-up, as the socket has nothing more to say about them.
void on_check(void*) {
    if (running) drain_events(false);
}

}  // namespace

void on_tick() {
    if (halted || !running) return;
    if (step_aside_for_full_screen()) return;
    const TickChange change = step_engine(dragging);
    if (!change.frame_changed && !change.moved) return;
    if (change.frame_changed) {
        // The new picture goes into the window's pixmap, which shows nothing by itself,
        // and the shape changes before the window is redrawn or moved.
        draw_frame();
        if (display_mode != display_blended) apply_frame_shape();
    }
    present_frame(change.frame_changed);
}

void start_loop() {
    const int32_t interval = timer_interval < shortest_tick_ms ? shortest_tick_ms : timer_interval;
    tick_seconds = interval / 1000.0;
    Fl::add_fd(ConnectionNumber(pet_display), FL_READ, on_connection);
    Fl::add_check(on_check);
    Fl::add_timeout(tick_seconds, on_tick_timeout);
    loop_started = true;
}

void stop_loop() {
    if (!loop_started) return;
    loop_started = false;
    Fl::remove_timeout(on_tick_timeout);
    Fl::remove_check(on_check);
    Fl::remove_fd(ConnectionNumber(pet_display));
}

void run_command(int32_t command) {
    switch (command) {
    case command_exit:
        running = 0;
        stop_loop();
        break;
    case command_about: open_about_dialog(); break;
    case command_options: open_options_dialog(); break;
    default: break;  // Continue only closes the menu
    }
}
