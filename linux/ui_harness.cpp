// A stand-in pet for looking at the menu, the dialogs and the boxes: takes commands on
// standard input and prints what they return, while a square "pet" of its own ticks.
//
// Commands, one a line: menu X Y | options | about | box error|warning TEXT | close |
// scale N | at X Y | set MODE TOP LEFT BOTTOM RIGHT TIMER | settings | ticks | quit.
// A right press on the square opens the menu there, as the pet does.
#include <FL/Fl.H>
#include <X11/Xutil.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "seams.h"
#include "ui.h"
#include "values.h"

namespace {

Display* pet_display = nullptr;
Window pet_window = 0;

}  // namespace

int32_t display_mode = display_stored;
int32_t halted = 0;
int32_t pet_scale = 1;
int32_t window_width = 50;
int32_t window_height = 50;
int32_t dragging = 0;
unsigned long pet_x_window = 0;
Settings saved_settings = {default_mode, 0, 0, 0, 0, default_timer};
DesktopSettings desktop_settings = {0, 1, 1};

namespace {

constexpr ScreenRect screen = {0, 0, 1024, 768};
constexpr int32_t frame = 50;
bool running = true;
long ticks = 0;
std::string pending_input;
const char* settings_path = "/tmp/tuvo-ui-harness.ini";

void say(const char* format, long a = 0, long b = 0) {
    std::printf(format, a, b);
    std::printf("\n");
    std::fflush(stdout);
}

void write_key(const char* key, const char* value) {
    FILE* file = std::fopen(settings_path, "a");
    if (!file) return;
    std::fprintf(file, "%s=%s\n", key, value);
    std::fclose(file);
}

// The square stays put so that it is easy to click; the ticks are only counted, to show
// that they go on while a menu, dialog or box is open.
void on_tick(void*) {
    Fl::repeat_timeout(timer_period_ms(timer_interval) / 1000.0, on_tick);
    if (!halted) ++ticks;
}

void place_pet() {
    pet_world = world_on(screen, pet_scale, {0, 0, 0, 0}, frame);
    window_width = window_height = frame * pet_scale;
    const ScreenPoint at = to_screen(pet_world, window_x, window_y);
    XMoveResizeWindow(pet_display, pet_window, at.x, at.y, window_width, window_height);
    XFlush(pet_display);
}

void make_pet_window() {
    XSetWindowAttributes attributes = {};
    attributes.override_redirect = True;
    attributes.background_pixel = 0xE08030;
    attributes.event_mask = ButtonPressMask | ButtonReleaseMask;
    pet_window = XCreateWindow(pet_display, DefaultRootWindow(pet_display), 0, 0, 50, 50, 0, CopyFromParent,
                               InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel | CWEventMask,
                               &attributes);
    XStoreName(pet_display, pet_window, "Tuvo harness pet");
    pet_x_window = pet_window;
    place_pet();
    XMapRaised(pet_display, pet_window);
    XFlush(pet_display);
}

void on_pet_events(int, void*) {
    while (XPending(pet_display)) {
        XEvent event;
        XNextEvent(pet_display, &event);
        if (event.type != ButtonPress || event.xbutton.button != Button3) continue;
        const int32_t command = pick_menu_command(event.xbutton.x_root, event.xbutton.y_root, pet_scale);
        say("picked %ld", command);
        run_command(command);
    }
}

void run_line(const std::string& line) {
    char word[32] = "";
    long a = 0, b = 0;
    std::sscanf(line.c_str(), "%31s %ld %ld", word, &a, &b);
    const std::string name = word;
    if (name == "menu") {
        say("picked %ld", pick_menu_command(static_cast<int32_t>(a), static_cast<int32_t>(b), pet_scale));
    } else if (name == "options") {
        open_options_dialog();
    } else if (name == "about") {
        open_about_dialog();
    } else if (name == "box") {
        char kind[16] = "";
        int skip = 0;
        std::sscanf(line.c_str(), "%*s %15s %n", kind, &skip);
        show_box(line.c_str() + skip, std::strcmp(kind, "warning") == 0 ? box_warning : box_error);
        say("box closed");
    } else if (name == "close") {
        close_dialogs();
    } else if (name == "scale") {
        pet_scale = static_cast<int32_t>(a);
        place_pet();
    } else if (name == "at") {
        window_x = static_cast<int32_t>(a);
        window_y = static_cast<int32_t>(b);
        place_pet();
    } else if (name == "set") {
        int v[6];
        if (std::sscanf(line.c_str(), "%*s %d %d %d %d %d %d", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]) == 6)
            saved_settings = {v[0], v[1], v[2], v[3], v[4], v[5]};
    } else if (name == "settings") {
        const Settings& s = saved_settings;
        std::printf("settings %d %d %d %d %d %d\n", s.mode, s.top_margin, s.left_margin, s.bottom_margin,
                    s.right_margin, s.timer);
        std::fflush(stdout);
    } else if (name == "ticks") {
        say("ticks %ld", ticks);
    } else if (name == "quit") {
        close_dialogs();
        running = false;
    }
}

// Lines may arrive while a command of an earlier line still runs a nested loop.
void on_input(int fd, void*) {
    char chunk[512];
    const ssize_t got = read(fd, chunk, sizeof chunk);
    if (got <= 0) {
        Fl::remove_fd(fd);
        return;
    }
    pending_input.append(chunk, static_cast<size_t>(got));
    for (size_t end; (end = pending_input.find('\n')) != std::string::npos;) {
        const std::string line = pending_input.substr(0, end);
        pending_input.erase(0, end + 1);
        run_line(line);
    }
}

}  // namespace

void error_box(const char* text) { show_box(text, box_error); }

void run_command(int32_t command) {
    say("run %ld", command);
    if (command == command_options) open_options_dialog();
    if (command == command_about) open_about_dialog();
    if (command == command_exit) {
        close_dialogs();
        running = false;
    }
}

void let_go_of_pointer() {
    XUngrabPointer(pet_display, CurrentTime);
    XFlush(pet_display);
}

void save_settings() {
    std::remove(settings_path);
    write_key("[Setup]", "");
    write_settings(saved_settings, write_key);
    say("saved");
}

bool margins_fit_next_start(int32_t top, int32_t left, int32_t bottom, int32_t right) {
    return margins_fit_on(screen, pet_scale, {top, left, bottom, right}, frame);
}

int32_t scale_at(int32_t, int32_t) { return pet_scale; }

// The harness's square lives on the menu and dialogs' own X screen.
ScreenPoint ui_point(ScreenPoint point) { return point; }

int32_t ui_pet_scale() { return pet_scale; }

int main(int argc, char** argv) {
    if (argc > 1) pet_scale = std::atoi(argv[1]) >= 1 ? std::atoi(argv[1]) : 1;
    if (const char* path = std::getenv("TUVO_HARNESS_INI")) settings_path = path;
    pet_display = XOpenDisplay(nullptr);
    if (!pet_display) {
        std::fprintf(stderr, "tuvo-ui-harness: cannot open display\n");
        return 1;
    }
    // A box before the pet has a window or a scale, as start-up's failures show one.
    if (const char* text = std::getenv("TUVO_HARNESS_START_BOX")) {
        show_box(text, box_error);
        say("box closed");
    }
    screen_width = screen.right;
    screen_height = screen.bottom;
    frame_width = frame_height = frame;
    timer_interval = default_timer;
    if (!init_engine()) return 0;
    window_x = 100;
    window_y = 100;
    make_pet_window();
    Fl::add_fd(ConnectionNumber(pet_display), FL_READ, on_pet_events);
    Fl::add_fd(0, FL_READ, on_input);
    Fl::add_timeout(timer_period_ms(timer_interval) / 1000.0, on_tick);
    say("ready");
    while (running) Fl::wait(1.0);
    XCloseDisplay(pet_display);
    return 0;
}
