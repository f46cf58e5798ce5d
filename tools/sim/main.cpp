// tuvo-sim: the headless cat. Takes a seed, a screen, margins, a tick interval and a
// script of pointer events, and prints one line per tick of what the engine shows and
// where, so that behaviour can be checked and compared byte for byte from outside.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine.h"
#include "seams.h"

void error_box(const char* text) { fprintf(stderr, "%s\n", text); }

namespace {

const char usage[] =
    "usage: tuvo-sim [--seed N] [--ticks N] [--screen W H] [--margins TOP LEFT BOTTOM RIGHT] "
    "[--timer MS] [--event TICK:grab|release|move:X:Y]...\n";

enum class EventKind { grab, release, move };

struct Event {
    long tick;
    EventKind kind;
    int32_t x, y;
};

struct Options {
    long long seed = -1;
    long ticks = 1000;
    std::vector<Event> events;
};

// Reads a whole decimal integer within [low, high]; anything else is a bad argument.
bool read_number(const char* text, long long low, long long high, long long* value) {
    if (!text || !*text) return false;
    char* end = nullptr;
    errno = 0;
    long long v = strtoll(text, &end, 10);
    if (errno || *end || v < low || v > high) return false;
    *value = v;
    return true;
}

bool read_int(const char* text, int32_t* value) {
    long long v;
    if (!read_number(text, -1000000, 1000000, &v)) return false;
    *value = static_cast<int32_t>(v);
    return true;
}

bool read_event(const char* text, Event* event) {
    char copy[128];
    if (strlen(text) >= sizeof copy) return false;
    strcpy(copy, text);
    char* colon = strchr(copy, ':');
    if (!colon) return false;
    *colon = '\0';
    long long tick;
    if (!read_number(copy, 1, 2000000000, &tick)) return false;
    event->tick = static_cast<long>(tick);
    const char* what = colon + 1;
    if (strcmp(what, "grab") == 0) {
        event->kind = EventKind::grab;
        return true;
    }
    if (strcmp(what, "release") == 0) {
        event->kind = EventKind::release;
        return true;
    }
    if (strncmp(what, "move:", 5) != 0) return false;
    char* x_text = colon + 6;
    char* y_text = strchr(x_text, ':');
    if (!y_text) return false;
    *y_text++ = '\0';
    event->kind = EventKind::move;
    return read_int(x_text, &event->x) && read_int(y_text, &event->y);
}

bool read_options(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; ++i) {
        const char* flag = argv[i];
        auto has = [&](int n) { return i + n < argc; };
        long long v;
        if (strcmp(flag, "--seed") == 0 && has(1)) {
            if (!read_number(argv[++i], 0, 4294967295LL, &v)) return false;
            options->seed = v;
        } else if (strcmp(flag, "--ticks") == 0 && has(1)) {
            if (!read_number(argv[++i], 0, 2000000000, &v)) return false;
            options->ticks = static_cast<long>(v);
        } else if (strcmp(flag, "--screen") == 0 && has(2)) {
            if (!read_int(argv[i + 1], &screen_width) || !read_int(argv[i + 2], &screen_height))
                return false;
            i += 2;
        } else if (strcmp(flag, "--margins") == 0 && has(4)) {
            if (!read_int(argv[i + 1], &margin_top) || !read_int(argv[i + 2], &margin_left) ||
                !read_int(argv[i + 3], &margin_bottom) || !read_int(argv[i + 4], &margin_right))
                return false;
            i += 4;
        } else if (strcmp(flag, "--timer") == 0 && has(1)) {
            if (!read_int(argv[++i], &timer_interval)) return false;
        } else if (strcmp(flag, "--event") == 0 && has(1)) {
            Event event{};
            if (!read_event(argv[++i], &event)) return false;
            options->events.push_back(event);
        } else {
            return false;
        }
    }
    return true;
}

void print_state(long tick) {
    printf("%ld %d %d %d %d %d %d %d\n", tick, engine->current_action + 1, engine->current_frame,
           engine->mirrored, window_x, window_y, shown_image, shown_mirrored);
}

}  // namespace

int main(int argc, char** argv) {
    screen_width = 1024;
    screen_height = 768;
    Options options;
    if (!read_options(argc, argv, &options)) {
        fputs(usage, stderr);
        return 2;
    }
    engine_seed = options.seed;
    if (!init_engine()) return 1;

    // Events keep their given order within a tick.
    std::vector<Event> events = options.events;
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.tick < b.tick; });

    bool dragging = false;
    size_t next = 0;
    print_state(0);
    for (long tick = 1; tick <= options.ticks; ++tick) {
        for (; next < events.size() && events[next].tick == tick; ++next) {
            const Event& e = events[next];
            if (e.kind == EventKind::grab) {
                dragging = true;
                drag_grab();
            } else if (e.kind == EventKind::release) {
                if (!dragging) continue;
                dragging = false;
                drag_release();
            } else if (dragging) {
                int32_t x = e.x, y = e.y;
                clamp_to_margins(&x, &y);
                set_pet_position(y, x);
            }
        }
        if (dragging)
            drag_tick();
        else
            behaviour_step();
        print_state(tick);
    }
    return 0;
}
