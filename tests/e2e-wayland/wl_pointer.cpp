// The Wayland tests' pointer: takes commands (each argument one, or else one a line on
// stdin) and turns them into a virtual pointer's events on the compositor's seat,
// answering "ok" on stdout once the compositor has taken each (or "error ...").
//   move X Y            to the point (X, Y) of the output layout, in logical pixels
//   by DX DY            by an amount from where the pointer is
//   glide X Y [STEP MS] from the last place moved to, to (X, Y), as a mouse reports a
//                       steady move: steps of at most STEP pixels (2), one every MS
//                       milliseconds (8, a mouse's 125 reports a second)
//   press B | release B | click B    B: left, right or middle; with X Y after B, moved
//                       there first in the same command (nothing comes between, such as
//                       a compositor hiding an idle cursor and the pointer's focus with it)
//   outputs             one line per output: output NAME X Y W H (the layout's logical
//                       places), then the layout's extent: layout X Y W H
//   quit
// A headless compositor has no input device of its own: this is the only pointer.
#include <linux/input-event-codes.h>
#include <wayland-client.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"
#include "xdg-output-unstable-v1-client-protocol.h"

namespace {

// One wl_output and what xdg-output tells of its place in the layout.
struct Output {
    uint32_t name;  // the registry's
    wl_output* output;
    zxdg_output_v1* xdg;
    std::string label;
    int32_t x, y, w, h;
};

wl_display* display = nullptr;
wl_registry* registry = nullptr;
wl_seat* seat = nullptr;
zwlr_virtual_pointer_manager_v1* manager = nullptr;
zxdg_output_manager_v1* output_manager = nullptr;
zwlr_virtual_pointer_v1* pointer = nullptr;
std::vector<Output*> outputs;

double last_x = 0, last_y = 0;  // where the last absolute move went

uint32_t now_ms() {
    timespec t = {};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return uint32_t(t.tv_sec * 1000 + t.tv_nsec / 1000000);
}

// --- what xdg-output says of each output -----------------------------------------------
void on_position(void* data, zxdg_output_v1*, int32_t x, int32_t y) {
    static_cast<Output*>(data)->x = x;
    static_cast<Output*>(data)->y = y;
}
void on_size(void* data, zxdg_output_v1*, int32_t w, int32_t h) {
    static_cast<Output*>(data)->w = w;
    static_cast<Output*>(data)->h = h;
}
void on_done(void*, zxdg_output_v1*) {}
void on_name(void* data, zxdg_output_v1*, const char* name) { static_cast<Output*>(data)->label = name; }
void on_description(void*, zxdg_output_v1*, const char*) {}
const zxdg_output_v1_listener xdg_output_listener = {on_position, on_size, on_done, on_name, on_description};

void watch_output(Output* out) {
    if (out->xdg || !output_manager) return;
    out->xdg = zxdg_output_manager_v1_get_xdg_output(output_manager, out->output);
    zxdg_output_v1_add_listener(out->xdg, &xdg_output_listener, out);
}

// --- the registry ----------------------------------------------------------------------
uint32_t capped(uint32_t offered, uint32_t ours) { return offered < ours ? offered : ours; }

void on_global(void*, wl_registry* r, uint32_t name, const char* interface, uint32_t version) {
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !seat) {
        seat = static_cast<wl_seat*>(wl_registry_bind(r, name, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(r, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    } else if (std::strcmp(interface, zxdg_output_manager_v1_interface.name) == 0) {
        output_manager = static_cast<zxdg_output_manager_v1*>(
            wl_registry_bind(r, name, &zxdg_output_manager_v1_interface, capped(version, 3)));
        for (Output* out : outputs) watch_output(out);
    } else if (std::strcmp(interface, wl_output_interface.name) == 0) {
        Output* out = new Output{name, nullptr, nullptr, "", 0, 0, 0, 0};
        out->output = static_cast<wl_output*>(wl_registry_bind(r, name, &wl_output_interface, 1));
        outputs.push_back(out);
        watch_output(out);
    }
}

void on_global_remove(void*, wl_registry*, uint32_t name) {
    for (size_t i = 0; i < outputs.size(); ++i) {
        Output* out = outputs[i];
        if (out->name != name) continue;
        if (out->xdg) zxdg_output_v1_destroy(out->xdg);
        wl_output_destroy(out->output);
        delete out;
        outputs.erase(outputs.begin() + long(i));
        return;
    }
}
const wl_registry_listener registry_listener = {on_global, on_global_remove};

// --- commands --------------------------------------------------------------------------
struct Box {
    int32_t x, y, w, h;
};

// The smallest rectangle holding every output: what an absolute move spans when the
// device is mapped to no output in particular.
Box layout_box() {
    Box box = {0, 0, 0, 0};
    bool first = true;
    for (const Output* out : outputs) {
        if (out->w <= 0 || out->h <= 0) continue;
        const int32_t right = first ? out->x + out->w : std::max(box.x + box.w, out->x + out->w);
        const int32_t bottom = first ? out->y + out->h : std::max(box.y + box.h, out->y + out->h);
        box.x = first ? out->x : std::min(box.x, out->x);
        box.y = first ? out->y : std::min(box.y, out->y);
        box.w = right - box.x;
        box.h = bottom - box.y;
        first = false;
    }
    return box;
}

bool button_code(const char* name, uint32_t* code) {
    if (std::strcmp(name, "left") == 0) *code = BTN_LEFT;
    else if (std::strcmp(name, "right") == 0) *code = BTN_RIGHT;
    else if (std::strcmp(name, "middle") == 0) *code = BTN_MIDDLE;
    else return false;
    return true;
}

// An absolute move to (x, y) of the layout; false when it lies outside.
bool move_to(double x, double y, std::string* why) {
    const Box box = layout_box();
    if (box.w <= 0 || box.h <= 0) return *why = "no outputs", false;
    const double ax = x - box.x, ay = y - box.y;
    if (ax < 0 || ay < 0 || ax >= box.w || ay >= box.h) return *why = "outside the layout", false;
    zwlr_virtual_pointer_v1_motion_absolute(pointer, now_ms(), uint32_t(ax), uint32_t(ay), uint32_t(box.w),
                                            uint32_t(box.h));
    zwlr_virtual_pointer_v1_frame(pointer);
    last_x = x, last_y = y;
    return true;
}

bool glide(double x, double y, double step, double ms, std::string* why) {
    const double dx = x - last_x, dy = y - last_y;
    const double longest = std::max(std::abs(dx), std::abs(dy));
    const int steps = int(std::ceil(longest / (step > 0 ? step : 1)));
    const double from_x = last_x, from_y = last_y;
    const timespec pause = {time_t(ms / 1000), long(std::fmod(ms, 1000.0) * 1e6)};
    for (int i = 1; i <= steps; ++i) {
        if (!move_to(std::round(from_x + dx * i / steps), std::round(from_y + dy * i / steps), why)) return false;
        wl_display_flush(display);
        nanosleep(&pause, nullptr);
    }
    return true;
}

void button(uint32_t code, bool down) {
    zwlr_virtual_pointer_v1_button(pointer, now_ms(), code,
                                   down ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED);
    zwlr_virtual_pointer_v1_frame(pointer);
}

// Carries out one command line; false with |why| set when it was not understood.
bool run(const char* line, std::string* why) {
    char verb[16] = {}, word[16] = {};
    double a = 0, b = 0, step = 2, ms = 8;
    uint32_t code = 0;
    // The latest layout first: outputs come and go while the client waits for commands.
    wl_display_roundtrip(display);
    if (std::sscanf(line, "move %lf %lf", &a, &b) == 2) {
        if (!move_to(a, b, why)) return false;
    } else if (std::sscanf(line, "glide %lf %lf %lf %lf", &a, &b, &step, &ms) >= 2) {
        if (!glide(a, b, step, ms, why)) return false;
    } else if (std::sscanf(line, "by %lf %lf", &a, &b) == 2) {
        zwlr_virtual_pointer_v1_motion(pointer, now_ms(), wl_fixed_from_double(a), wl_fixed_from_double(b));
        zwlr_virtual_pointer_v1_frame(pointer);
    } else if (std::sscanf(line, "%15s %15s", verb, word) == 2 && button_code(word, &code)) {
        if (std::sscanf(line, "%*15s %*15s %lf %lf", &a, &b) == 2 && !move_to(a, b, why)) return false;
        if (std::strcmp(verb, "press") == 0) button(code, true);
        else if (std::strcmp(verb, "release") == 0) button(code, false);
        else if (std::strcmp(verb, "click") == 0) button(code, true), button(code, false);
        else return *why = "unknown command", false;
    } else if (std::strcmp(line, "outputs") == 0) {
        for (const Output* out : outputs)
            std::printf("output %s %d %d %d %d\n", out->label.c_str(), out->x, out->y, out->w, out->h);
        const Box box = layout_box();
        std::printf("layout %d %d %d %d\n", box.x, box.y, box.w, box.h);
    } else {
        return *why = "unknown command", false;
    }
    wl_display_roundtrip(display);
    return true;
}

int answer(const char* line) {
    std::string why;
    const bool done = run(line, &why);
    if (done) std::printf("ok\n");
    else std::printf("error %s: %s\n", why.c_str(), line);
    std::fflush(stdout);
    return done ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "wl_pointer: cannot connect to the Wayland display\n");
        return 2;
    }
    registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, nullptr);
    wl_display_roundtrip(display);
    wl_display_roundtrip(display);  // the outputs' places
    if (!manager) {
        std::fprintf(stderr, "wl_pointer: the compositor offers no virtual pointer\n");
        return 2;
    }
    pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, seat);
    wl_display_roundtrip(display);
    int status = 0;
    if (argc > 1) {
        for (int i = 1; i < argc && status == 0; ++i) status = answer(argv[i]);
    } else {
        char line[256];
        while (std::fgets(line, sizeof line, stdin)) {
            line[std::strcspn(line, "\r\n")] = 0;
            if (std::strcmp(line, "quit") == 0) break;
            if (line[0]) status |= answer(line);
        }
    }
    zwlr_virtual_pointer_v1_destroy(pointer);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return status;
}
