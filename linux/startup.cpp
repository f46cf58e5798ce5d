// Start-up and the end of the run: takes the pet shell's open connection, the settings
// file and the monitors, and returns the pet shown in its window with its tick running,
// or, after a failed start, its message shown and nothing of the window left. Also the
// failure routines every part reports through.
#include <cstdlib>

#include "pet.h"
#include "seams.h"

int32_t display_mode = display_stored;
int32_t halted = 0;
int32_t running = 0;
unsigned long pet_x_window = 0;
const PetShell* shell = nullptr;

void error_box(const char* text) { show_box(text, box_error); }

void halt_with_warning(const char* text) {
    // Set first: ticks and drawing that come while the box is open must do nothing.
    halted = 1;
    running = 0;
    show_box(text, box_warning);
}

int start_pet(int argc, char** argv) {
    frame_width = frame_height = 50;
    // Runs to compare (the benchmarks) may give the pet the same behaviour each time.
    engine_seed = seed_from_environment(std::getenv("TUVO_SEED"));
    // The screen is measured before the settings: their margins are checked against it.
    monitor_layout = shell->read_layout();
    build_settings_path();
    load_settings(monitor_layout);
    load_desktop_settings();
    enter_first_world();
    if (!init_engine()) return 0;
    window_width = frame_width * pet_scale;
    window_height = frame_height * pet_scale;
    if (!shell->open_window(argc, argv)) return 0;
    shell->watch_desktop();
    start_loop();
    shell->show_window();
    return 1;
}

void end_pet() {
    close_dialogs();
    stop_loop();
    shell->close_window();
}
