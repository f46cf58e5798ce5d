// Start-up and the end of the run: takes the open pet connection, the settings file and
// the monitors, and returns the pet shown in its window with its tick running, or, after
// a failed start, its message shown and nothing of the window left. Also the failure
// routines every part reports through.
#include <cstdio>
#include <cstdlib>

#include "pet.h"

int32_t display_mode = display_stored;
int32_t halted = 0;
int32_t running = 0;
long x_errors = 0;

namespace {

constexpr const char* no_window = "Fail to create the main window";
constexpr const char* no_cursor = "Fail to load the cursor image";
constexpr const char* no_bitmap = "Insufficient memory to create bitmap image";

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

}  // namespace

void error_box(const char* text) { show_box(text, box_error); }

void halt_with_warning(const char* text) {
    // Set first: ticks and drawing that come while the box is open must do nothing.
    halted = 1;
    running = 0;
    show_box(text, box_warning);
}

void claim_error_handlers() {
    XSetErrorHandler(note_x_error);
    XSetIOErrorHandler(lost_display);
}

int start_pet(int argc, char** argv) {
    claim_error_handlers();
    frame_width = frame_height = 50;
    intern_atoms();
    // The screen is measured before the settings: their margins are checked against it.
    monitor_layout = read_layout();
    build_settings_path();
    load_settings(monitor_layout);
    load_desktop_settings();
    enter_first_world();
    if (!init_engine()) return 0;
    window_width = frame_width * pet_scale;
    window_height = frame_height * pet_scale;
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
    watch_layout();
    watch_full_screen();
    start_loop();
    XMapRaised(pet_display, pet_window);
    XFlush(pet_display);
    return 1;
}

void end_pet() {
    close_dialogs();
    stop_loop();
    if (!pet_display) return;
    release_display();
    destroy_pet_window();
    XCloseDisplay(pet_display);
    pet_display = nullptr;
}
