// The pet's part of the event loop: takes the pet connection's events and the tick, and
// returns each tick turned into one behaviour (or drag) step and its presentation, each
// event handed to the shell. FLTK's wait is the loop, so the menu's and dialogs' nested
// loops never stop the pet; a tick sends only requests that need no answer, then flushes.
#include <FL/Fl.H>
#include <time.h>

#include "pet.h"
#include "tick_pace.h"

namespace {

int64_t tick_interval_us = 150000;
int64_t tick_due_us = 0;  // when the tick the timer waits for is due
bool loop_started = false;

void on_tick_timeout(void*);

void wake_at_next_tick(int64_t now) {
    const int64_t wait = tick_due_us > now ? tick_due_us - now : 0;
    Fl::add_timeout(double(wait) / 1e6, on_tick_timeout);
}

void on_tick_timeout(void*) {
    // Rescheduled first and from the time it was due, so the ticks keep their pace
    // whatever a tick or a slow wake-up costs; after a stall, one late tick runs and the
    // missed ones are dropped (FLTK's own repeat would run them back to back).
    const int64_t now = steady_us();
    const TickPlan plan = plan_tick(tick_due_us, now, tick_interval_us);
    tick_due_us = plan.next_due;
    wake_at_next_tick(now);
    if (!plan.run) return;
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

void on_settle_timeout(void*) {
    if (running) drain_events(false);
}

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

int64_t steady_us() {
    timespec now = {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

void settle_after(double seconds) {
    if (!loop_started) return;
    Fl::remove_timeout(on_settle_timeout);
    Fl::add_timeout(seconds, on_settle_timeout);
}

void start_loop() {
    tick_interval_us = int64_t(timer_period_ms(timer_interval)) * 1000;
    Fl::add_fd(shell->connection(), FL_READ, on_connection);
    Fl::add_check(on_check);
    const int64_t now = steady_us();
    tick_due_us = now + tick_interval_us;
    wake_at_next_tick(now);
    loop_started = true;
}

void stop_loop() {
    if (!loop_started) return;
    loop_started = false;
    Fl::remove_timeout(on_tick_timeout);
    Fl::remove_timeout(on_settle_timeout);
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
