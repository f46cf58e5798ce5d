// Starts a program beside a Wayland compositor and times its first frame there: takes a
// time limit and the command to run, and prints "pid P shown_ms S frames N box X Y W H"
// once the compositor's output shows a pixel that it did not show before the start.
//   tuvo-wl-first-frame LIMIT_MS PROGRAM [ARGUMENTS...]
// A client cannot see other clients' surfaces, but a wlroots compositor copies what its
// output shows for a client that asks (wlr screen copy): one copy of the first output is
// taken before the start, then, from just before the program is forked and exec'd, the
// helper asks again and again for a copy of the next frame in which something changed
// (copy with damage), and compares the changed part with the copy from before. The time
// is the frame's presentation time on the compositor's clock (CLOCK_MONOTONIC in
// wlroots), so it counts to the frame the user sees, not to the program's request; the
// box is where the differing pixels lie, in the output's buffer pixels. Afterwards the
// connection is closed, so the compositor copies nothing while the program is measured,
// and the helper waits for the program and exits with its status: the caller kills the
// program by the pid printed. Exit status 3 when the limit passed first (the program is
// killed), 4 when the program ended before it showed, 1 without a compositor that copies
// (or when the connection to it broke: the program is killed).
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>
#include <wayland-client.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "launch.h"
#include "wlr-screencopy-unstable-v1-client-protocol.h"

namespace {

constexpr uint32_t colour_bits = 0x00ffffff;  // of a 32-bit pixel: the fourth byte may be padding

wl_display* display = nullptr;
wl_shm* shm = nullptr;
wl_output* output = nullptr;
zwlr_screencopy_manager_v1* manager = nullptr;
uint32_t manager_version = 0;

void on_global(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
    if (std::strcmp(interface, wl_shm_interface.name) == 0) {
        shm = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
    } else if (std::strcmp(interface, wl_output_interface.name) == 0 && !output) {
        output = static_cast<wl_output*>(wl_registry_bind(registry, name, &wl_output_interface, 1));
    } else if (std::strcmp(interface, zwlr_screencopy_manager_v1_interface.name) == 0) {
        manager_version = version < 3 ? version : 3;
        manager = static_cast<zwlr_screencopy_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_screencopy_manager_v1_interface, manager_version));
    }
}
void on_global_remove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener registry_listener = {on_global, on_global_remove};

// The one shared-memory buffer every copy goes into.
struct Buffer {
    wl_buffer* buffer;
    uint32_t* pixels;
    uint32_t format, width, height, stride;
};
Buffer target = {nullptr, nullptr, 0, 0, 0, 0};

bool make_buffer(uint32_t format, uint32_t width, uint32_t height, uint32_t stride) {
    const size_t size = size_t(stride) * height;
    const int fd = memfd_create("tuvo-first-frame", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, off_t(size)) != 0) return false;
    void* data = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (data == MAP_FAILED) return close(fd), false;
    wl_shm_pool* pool = wl_shm_create_pool(shm, fd, int32_t(size));
    target = {wl_shm_pool_create_buffer(pool, 0, int32_t(width), int32_t(height), int32_t(stride), format),
              static_cast<uint32_t*>(data), format, width, height, stride};
    wl_shm_pool_destroy(pool);
    close(fd);
    return true;
}

// One copy asked of the compositor, and what it answered.
struct Copy {
    zwlr_screencopy_frame_v1* frame;
    bool with_damage, asked, ready, failed, y_invert;
    uint32_t x0, y0, x1, y1;  // the changed part, when the compositor said
    double shown;              // presentation time, ms on the monotonic clock
};

void ask(Copy* copy) {
    if (!target.buffer || copy->asked) return;
    copy->asked = true;
    if (copy->with_damage)
        zwlr_screencopy_frame_v1_copy_with_damage(copy->frame, target.buffer);
    else
        zwlr_screencopy_frame_v1_copy(copy->frame, target.buffer);
}

void on_buffer(void* data, zwlr_screencopy_frame_v1*, uint32_t format, uint32_t width, uint32_t height,
               uint32_t stride) {
    Copy* copy = static_cast<Copy*>(data);
    if (!target.buffer && !make_buffer(format, width, height, stride)) {
        copy->failed = true;
        return;
    }
    if (format != target.format || width != target.width || height != target.height || stride != target.stride) {
        copy->failed = true;  // the output changed under the measurement
        return;
    }
    if (manager_version < 3) ask(copy);  // before version 3 no buffer_done follows
}
void on_flags(void* data, zwlr_screencopy_frame_v1*, uint32_t flags) {
    static_cast<Copy*>(data)->y_invert = flags & ZWLR_SCREENCOPY_FRAME_V1_FLAGS_Y_INVERT;
}
void on_ready(void* data, zwlr_screencopy_frame_v1*, uint32_t sec_hi, uint32_t sec_lo, uint32_t nsec) {
    Copy* copy = static_cast<Copy*>(data);
    copy->ready = true;
    copy->shown = (double(uint64_t(sec_hi) << 32 | sec_lo)) * 1e3 + nsec / 1e6;
}
void on_failed(void* data, zwlr_screencopy_frame_v1*) { static_cast<Copy*>(data)->failed = true; }
void on_damage(void* data, zwlr_screencopy_frame_v1*, uint32_t x, uint32_t y, uint32_t w, uint32_t h) {
    Copy* copy = static_cast<Copy*>(data);
    if (copy->x1 == 0) {
        copy->x0 = x, copy->y0 = y, copy->x1 = x + w, copy->y1 = y + h;
        return;
    }
    if (x < copy->x0) copy->x0 = x;
    if (y < copy->y0) copy->y0 = y;
    if (x + w > copy->x1) copy->x1 = x + w;
    if (y + h > copy->y1) copy->y1 = y + h;
}
void on_dmabuf(void*, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t) {}
void on_buffer_done(void* data, zwlr_screencopy_frame_v1*) { ask(static_cast<Copy*>(data)); }
const zwlr_screencopy_frame_v1_listener frame_listener = {on_buffer, on_flags,  on_ready,      on_failed,
                                                          on_damage, on_dmabuf, on_buffer_done};

void start_copy(Copy* copy, bool with_damage) {
    *copy = {zwlr_screencopy_manager_v1_capture_output(manager, 0, output), with_damage, false, false, false, false,
             0, 0, 0, 0, -1};
    zwlr_screencopy_frame_v1_add_listener(copy->frame, &frame_listener, copy);
}

void end_copy(Copy* copy) {
    if (copy->frame) zwlr_screencopy_frame_v1_destroy(copy->frame);
    copy->frame = nullptr;
}

// Waits up to |ms| for the compositor's news and handles it; false when the connection
// broke.
bool take_events(int ms) {
    while (wl_display_prepare_read(display) != 0) wl_display_dispatch_pending(display);
    wl_display_flush(display);
    pollfd wake = {wl_display_get_fd(display), POLLIN, 0};
    if (poll(&wake, 1, ms) > 0) {
        if (wl_display_read_events(display) < 0) return false;
    } else {
        wl_display_cancel_read(display);
    }
    return wl_display_dispatch_pending(display) >= 0;
}

// The screen before the start, row by row as the output shows it (top row first).
std::vector<uint32_t> before;

uint32_t pixel(const uint32_t* pixels, const Copy& copy, uint32_t x, uint32_t y) {
    const uint32_t row = copy.y_invert ? target.height - 1 - y : y;
    return pixels[size_t(row) * (target.stride / 4) + x];
}

void keep_as_before(const Copy& copy) {
    before.assign(size_t(target.width) * target.height, 0);
    for (uint32_t y = 0; y < target.height; ++y)
        for (uint32_t x = 0; x < target.width; ++x)
            before[size_t(y) * target.width + x] = pixel(target.pixels, copy, x, y);
}

struct Box {
    uint32_t x, y, w, h;
};

// Whether the copy's changed part (all of it when the compositor named none) differs from
// the screen before in any pixel's colour; |seen| becomes the box around those pixels.
bool differs(const Copy& copy, Box* seen) {
    uint32_t x0 = 0, y0 = 0, x1 = target.width, y1 = target.height;
    if (copy.x1 > 0) {
        x0 = copy.x0, y0 = copy.y0;
        x1 = copy.x1 < target.width ? copy.x1 : target.width;
        y1 = copy.y1 < target.height ? copy.y1 : target.height;
    }
    uint32_t left = x1, top = y1, right = 0, bottom = 0;
    for (uint32_t y = y0; y < y1; ++y)
        for (uint32_t x = x0; x < x1; ++x) {
            if (((pixel(target.pixels, copy, x, y) ^ before[size_t(y) * target.width + x]) & colour_bits) == 0)
                continue;
            if (x < left) left = x;
            if (y < top) top = y;
            if (x >= right) right = x + 1;
            if (y >= bottom) bottom = y + 1;
        }
    if (right == 0) return false;
    *seen = {left, top, right - left, bottom - top};
    return true;
}

// What is known of the program's first frame so far; times in ms on the monotonic clock.
struct Watch {
    pid_t pid;
    double start, shown;
    int frames;  // changed frames looked at
    Box seen;
    bool lost;  // the connection to the compositor broke
};

// Watches until the output shows something new, the program ends or the limit passes;
// false when the program ended first or the compositor went away.
bool watch_first_frame(double limit_ms, Watch* watch) {
    Copy copy = {};
    while (now_ms() - watch->start < limit_ms) {
        if (!copy.frame) start_copy(&copy, true);
        if (!take_events(2)) return watch->lost = true, false;
        if (copy.failed) end_copy(&copy);
        if (copy.ready) {
            watch->frames++;
            if (differs(copy, &watch->seen)) {
                // The frame's own time when it is a time of this run; else when it came.
                const double now = now_ms();
                watch->shown = copy.shown >= watch->start && copy.shown <= now ? copy.shown : now;
                end_copy(&copy);
                return true;
            }
            end_copy(&copy);
        }
        if (waitpid(watch->pid, nullptr, WNOHANG) == watch->pid) return end_copy(&copy), false;
    }
    end_copy(&copy);
    return true;
}

// The copy of the output before the start; false when none came within 5 s.
bool take_before() {
    Copy copy = {};
    start_copy(&copy, false);
    const double start = now_ms();
    while (!copy.ready && !copy.failed && now_ms() - start < 5000)
        if (!take_events(10)) break;
    const bool taken = copy.ready;
    if (taken) keep_as_before(copy);
    end_copy(&copy);
    return taken;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: tuvo-wl-first-frame LIMIT_MS PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    const double limit_ms = std::atof(argv[1]);
    display = wl_display_connect(nullptr);  // its socket is closed on exec
    if (!display) {
        std::fprintf(stderr, "tuvo-wl-first-frame: cannot connect to the Wayland display\n");
        return 1;
    }
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, nullptr);
    wl_display_roundtrip(display);
    if (!shm || !output || !manager || manager_version < 2) {
        std::fprintf(stderr, "tuvo-wl-first-frame: the compositor copies no output (wlr screen copy 2)\n");
        return 1;
    }
    if (!take_before()) {
        std::fprintf(stderr, "tuvo-wl-first-frame: no copy of the output before the start\n");
        return 1;
    }

    Watch watch = {0, now_ms(), -1, 0, {0, 0, 0, 0}, false};
    watch.pid = start_program(argv + 2);
    const bool alive = watch_first_frame(limit_ms, &watch);
    wl_display_disconnect(display);
    if (watch.lost) {
        std::printf("pid %d shown_ms - (the connection to the compositor broke)\n", int(watch.pid));
        kill(watch.pid, SIGTERM);
        wait_for(watch.pid);
        return 1;
    }
    if (!alive) {
        std::printf("pid %d ended before it showed anything\n", int(watch.pid));
        return 4;
    }
    if (watch.shown < 0) {
        std::printf("pid %d shown_ms - frames %d (nothing new on the output within %.0f ms)\n", int(watch.pid),
                    watch.frames, limit_ms);
        kill(watch.pid, SIGTERM);
        wait_for(watch.pid);
        return 3;
    }
    std::printf("pid %d shown_ms %.1f frames %d box %u %u %u %u\n", int(watch.pid), watch.shown - watch.start,
                watch.frames, watch.seen.x, watch.seen.y, watch.seen.w, watch.seen.h);
    std::fflush(stdout);
    return wait_for(watch.pid);
}
