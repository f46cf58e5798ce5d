// The pet's part of the event loop: takes the pet connection's events and the tick, and
// returns each tick turned into one behaviour (or drag) step and its presentation, each
// event handed to the shell. FLTK's wait is the loop, so the menu's and dialogs' nested
// loops never stop the pet; a tick sends only requests that need no answer, then flushes.
#include <FL/Fl.H>

#include "pet.h"

namespace {

double tick_seconds = 0.15;
bool loop_started = false;

void on_tick_timeout(void*) {
    // Rescheduled first and from the time it was due, so the ticks keep their pace
    // whatever a tick or a slow wake-up costs.
    Fl::repeat_timeout(tick_seconds, on_tick_timeout);
    on_tick();
    shell->flush();
}

// Every event the pet's connection holds; with |read|, also those waiting on its socket.
void drain_events(bool read) {
    shell->take_events(read);
    // Changes of monitors come in bursts: the layout is read once after the burst, and not
    // while the pet is away (it is read when the pet comes back).
    if (running && layout_changed && !stepped_aside && !halted) apply_layout_change();
    if (running) shell->settle();
    shell->flush();
}

void on_connection(FL_SOCKET, void*) { drain_events(true); }

// Before FLTK waits: events a reply already brought into the connection's queue would
// otherwise wait for the next wake-up, as the socket has nothing more to say about them.
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
        // The new picture goes into the window's next picture, which shows nothing by
        // itself yet, and the shape changes before the window is redrawn or moved.
        shell->draw_frame();
        if (display_mode != display_blended) shell->apply_frame_shape();
    }
    shell->present_frame(change.frame_changed);
}

void start_loop() {
    tick_seconds = timer_period_ms(timer_interval) / 1000.0;
    Fl::add_fd(shell->connection(), FL_READ, on_connection);
    Fl::add_check(on_check);
    Fl::add_timeout(tick_seconds, on_tick_timeout);
    loop_started = true;
}

void stop_loop() {
    if (!loop_started) return;
    loop_started = false;
    Fl::remove_timeout(on_tick_timeout);
    Fl::remove_check(on_check);
    Fl::remove_fd(shell->connection());
}

void run_command(int32_t command) {
    switch (command) {
    case command_exit:
        running = 0;
        stop_loop();
        // The menu may have been opened from inside a message box's loop, which would keep
        // main's loop, and the end of the pet, waiting until the box was closed.
        close_dialogs();
        break;
    case command_about: open_about_dialog(); break;
    case command_options: open_options_dialog(); break;
    default: break;  // Continue only closes the menu
    }
}
