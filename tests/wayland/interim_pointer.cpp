// The native Wayland tests' pointer until the shared Wayland test bed lands: takes commands
// (each argument one, or one a line on stdin) and turns them into a virtual pointer's
// events on the compositor's seat, answering "ok" once the compositor took each.
//   move X Y              to the point (X, Y) of the output layout, logical pixels
//   by DX DY              by an amount from where the pointer is
//   glide X Y [STEP MS]   to (X, Y) from the last point moved to, in steps of STEP pixels
//                         (2), one every MS milliseconds (8), as a mouse reports a move
//   press B | release B | click B    B: left or right
//   quit
#include <linux/input-event-codes.h>
#include <wayland-client.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"
#include "xdg-output-unstable-v1-client-protocol.h"

namespace {

struct Output {
    uint32_t name;
    wl_output* output;
    zxdg_output_v1* xdg;
    int32_t x, y, w, h;
};

wl_display* display = nullptr;
wl_seat* seat = nullptr;
zwlr_virtual_pointer_manager_v1* manager = nullptr;
zxdg_output_manager_v1* output_manager = nullptr;
zwlr_virtual_pointer_v1* pointer = nullptr;
std::vector<Output*> outputs;
double last_x = 0, last_y = 0;

uint32_t now_ms() {
    timespec t = {};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return uint32_t(t.tv_sec * 1000 + t.tv_nsec / 1000000);
}

void on_position(void* data, zxdg_output_v1*, int32_t x, int32_t y) {
    static_cast<Output*>(data)->x = x;
    static_cast<Output*>(data)->y = y;
}
void on_size(void* data, zxdg_output_v1*, int32_t w, int32_t h) {
    static_cast<Output*>(data)->w = w;
    static_cast<Output*>(data)->h = h;
}
void on_done(void*, zxdg_output_v1*) {}
void on_name(void*, zxdg_output_v1*, const char*) {}
void on_description(void*, zxdg_output_v1*, const char*) {}
const zxdg_output_v1_listener xdg_listener = {on_position, on_size, on_done, on_name, on_description};

void watch(Output* o) {
    if (o->xdg || !output_manager) return;
    o->xdg = zxdg_output_manager_v1_get_xdg_output(output_manager, o->output);
    zxdg_output_v1_add_listener(o->xdg, &xdg_listener, o);
}

void on_global(void*, wl_registry* r, uint32_t name, const char* interface, uint32_t version) {
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !seat) {
        seat = static_cast<wl_seat*>(wl_registry_bind(r, name, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(r, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    } else if (std::strcmp(interface, zxdg_output_manager_v1_interface.name) == 0) {
        output_manager = static_cast<zxdg_output_manager_v1*>(
            wl_registry_bind(r, name, &zxdg_output_manager_v1_interface, std::min(version, 3u)));
        for (Output* o : outputs) watch(o);
    } else if (std::strcmp(interface, wl_output_interface.name) == 0) {
        Output* o = new Output{name, nullptr, nullptr, 0, 0, 0, 0};
        o->output = static_cast<wl_output*>(wl_registry_bind(r, name, &wl_output_interface, 1));
        outputs.push_back(o);
        watch(o);
    }
}

void on_global_remove(void*, wl_registry*, uint32_t name) {
    for (size_t i = 0; i < outputs.size(); ++i)
        if (outputs[i]->name == name) {
            if (outputs[i]->xdg) zxdg_output_v1_destroy(outputs[i]->xdg);
            wl_output_destroy(outputs[i]->output);
            delete outputs[i];
            outputs.erase(outputs.begin() + long(i));
            return;
        }
}
const wl_registry_listener registry_listener = {on_global, on_global_remove};

// An absolute move is against the smallest box holding every output.
bool move_to(double x, double y) {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool first = true;
    for (const Output* o : outputs) {
        if (o->w <= 0 || o->h <= 0) continue;
        left = first ? o->x : std::min(left, o->x);
        top = first ? o->y : std::min(top, o->y);
        right = first ? o->x + o->w : std::max(right, o->x + o->w);
        bottom = first ? o->y + o->h : std::max(bottom, o->y + o->h);
        first = false;
    }
    if (first || x < left || y < top || x >= right || y >= bottom) return false;
    zwlr_virtual_pointer_v1_motion_absolute(pointer, now_ms(), uint32_t(x - left), uint32_t(y - top),
                                            uint32_t(right - left), uint32_t(bottom - top));
    zwlr_virtual_pointer_v1_frame(pointer);
    last_x = x, last_y = y;
    return true;
}

bool glide(double x, double y, double step, double ms) {
    const double dx = x - last_x, dy = y - last_y, from_x = last_x, from_y = last_y;
    const int steps = std::max(1, int(std::ceil(std::max(std::abs(dx), std::abs(dy)) / (step > 0 ? step : 1))));
    const timespec pause = {time_t(ms / 1000), long(std::fmod(ms, 1000.0) * 1e6)};
    for (int i = 1; i <= steps; ++i) {
        if (!move_to(std::round(from_x + dx * i / steps), std::round(from_y + dy * i / steps))) return false;
        wl_display_flush(display);
        nanosleep(&pause, nullptr);
    }
    return true;
}

bool run(const char* line) {
    char verb[16] = {}, word[16] = {};
    double a = 0, b = 0, step = 2, ms = 8;
    wl_display_roundtrip(display);  // outputs come and go between commands
    if (std::sscanf(line, "move %lf %lf", &a, &b) == 2) {
        if (!move_to(a, b)) return false;
    } else if (std::sscanf(line, "glide %lf %lf %lf %lf", &a, &b, &step, &ms) >= 2) {
        if (!glide(a, b, step, ms)) return false;
    } else if (std::sscanf(line, "by %lf %lf", &a, &b) == 2) {
        zwlr_virtual_pointer_v1_motion(pointer, now_ms(), wl_fixed_from_double(a), wl_fixed_from_double(b));
        zwlr_virtual_pointer_v1_frame(pointer);
    } else if (std::sscanf(line, "%15s %15s", verb, word) == 2) {
        const uint32_t code = std::strcmp(word, "left") == 0 ? BTN_LEFT : std::strcmp(word, "right") == 0 ? BTN_RIGHT : 0;
        const bool press = std::strcmp(verb, "press") == 0 || std::strcmp(verb, "click") == 0;
        const bool release = std::strcmp(verb, "release") == 0 || std::strcmp(verb, "click") == 0;
        if (!code || (!press && !release)) return false;
        if (press) zwlr_virtual_pointer_v1_button(pointer, now_ms(), code, WL_POINTER_BUTTON_STATE_PRESSED);
        if (press) zwlr_virtual_pointer_v1_frame(pointer);
        if (release) zwlr_virtual_pointer_v1_button(pointer, now_ms(), code, WL_POINTER_BUTTON_STATE_RELEASED);
        if (release) zwlr_virtual_pointer_v1_frame(pointer);
    } else {
        return false;
    }
    return wl_display_roundtrip(display) >= 0;
}

int answer(const char* line) {
    const bool done = run(line);
    std::printf(done ? "ok\n" : "error: %s\n", line);
    std::fflush(stdout);
    return done ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    display = wl_display_connect(nullptr);
    if (!display) return 2;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, nullptr);
    wl_display_roundtrip(display);
    wl_display_roundtrip(display);
    if (!manager) return 2;
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
