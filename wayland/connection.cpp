// The pet's connection to the compositor: takes the environment's Wayland display and the
// globals the compositor offers, and returns them bound, with an X display checked for the
// menu; and the loop's side of the connection: every event read and handled before FLTK
// waits (prepare_read, read_events, dispatch_pending), and the requests flushed.
#include <X11/Xlib.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "wayland.h"

Globals wl = {};

namespace {

// A read of the connection has been prepared for FLTK's next wait: the next
// take_events(true) reads, and nothing else may read or wait for a round trip meanwhile.
bool read_prepared = false;
bool quiet = false;

template <typename T>
T* bind(wl_registry* registry, uint32_t name, const wl_interface* interface, uint32_t offered, uint32_t wanted) {
    return static_cast<T*>(wl_registry_bind(registry, name, interface, offered < wanted ? offered : wanted));
}

void on_global(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
    auto is = [interface](const wl_interface& i) { return std::strcmp(interface, i.name) == 0; };
    if (is(wl_compositor_interface)) {
        // damage_buffer came with version 4.
        if (version >= 4) wl.compositor = bind<wl_compositor>(registry, name, &wl_compositor_interface, version, 4);
    } else if (is(wl_shm_interface)) {
        wl.shm = bind<wl_shm>(registry, name, &wl_shm_interface, version, 1);
    } else if (is(zwlr_layer_shell_v1_interface)) {
        wl.layer_shell = bind<zwlr_layer_shell_v1>(registry, name, &zwlr_layer_shell_v1_interface, version, 4);
    } else if (is(zxdg_output_manager_v1_interface)) {
        wl.output_manager =
            bind<zxdg_output_manager_v1>(registry, name, &zxdg_output_manager_v1_interface, version, 3);
    } else if (is(wp_viewporter_interface)) {
        wl.viewporter = bind<wp_viewporter>(registry, name, &wp_viewporter_interface, version, 1);
    } else if (is(wp_fractional_scale_manager_v1_interface)) {
        wl.fractional = bind<wp_fractional_scale_manager_v1>(registry, name,
                                                             &wp_fractional_scale_manager_v1_interface, version, 1);
    } else if (is(zwp_relative_pointer_manager_v1_interface)) {
        wl.relative = bind<zwp_relative_pointer_manager_v1>(registry, name,
                                                            &zwp_relative_pointer_manager_v1_interface, version, 1);
    } else if (is(zwlr_foreign_toplevel_manager_v1_interface)) {
        wl.toplevels_name = name;
        wl.toplevels_version = version;
    } else if (is(wl_output_interface)) {
        add_output(name, version);
    } else if (is(wl_seat_interface)) {
        if (!wl.seat) bind_seat(registry, name, version);
    }
}

void on_global_remove(void*, wl_registry*, uint32_t name) { remove_output(name); }

const wl_registry_listener registry_listener = {on_global, on_global_remove};

void say(const char* text) {
    if (!quiet) std::fprintf(stderr, "tuvo: %s\n", text);
}

// The menu and dialogs are FLTK's, which speaks X only: without an X display (XWayland) the
// pet could not be ended. Opened and closed at once: FLTK opens its own with the menu.
bool x_display_there() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        if (!quiet)
            std::fprintf(stderr, "tuvo: cannot open X display '%s' for the menu and dialogs (is XWayland running?)\n",
                         XDisplayName(nullptr));
        return false;
    }
    XCloseDisplay(display);
    return true;
}

bool fail() {
    close_connection();
    return false;
}

// The compositor and the globals the pet needs; false, and nothing left open, without.
bool connect_to_compositor() {
    wl.display = wl_display_connect(nullptr);
    if (!wl.display) {
        if (!quiet) {
            const char* name = std::getenv("WAYLAND_DISPLAY");
            std::fprintf(stderr, "tuvo: cannot connect to the Wayland compositor '%s'\n", name ? name : "wayland-0");
        }
        return false;
    }
    wl.registry = wl_display_get_registry(wl.display);
    wl_registry_add_listener(wl.registry, &registry_listener, nullptr);
    // The globals, then what the outputs and the seat say of themselves.
    if (wl_display_roundtrip(wl.display) < 0 || wl_display_roundtrip(wl.display) < 0) {
        say("the Wayland compositor did not answer");
        return fail();
    }
    if (!wl.layer_shell) {
        say("the Wayland compositor offers no layer shell (zwlr_layer_shell_v1) for the pet");
        return fail();
    }
    if (!wl.compositor || !wl.shm) {
        say("the Wayland compositor offers no wl_compositor 4 or wl_shm");
        return fail();
    }
    return true;
}

void dispatch_all() {
    if (wl_display_dispatch_pending(wl.display) < 0) lost_compositor();
    take_pointer_notes();
}

// Readies the connection for FLTK's wait: whatever was read already is handled first.
void prepare_read() {
    if (read_prepared) return;
    while (wl_display_prepare_read(wl.display) != 0) dispatch_all();
    read_prepared = true;
}

}  // namespace

bool wayland_offers_layer_shell() {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    const char* socket = std::getenv("WAYLAND_SOCKET");
    if (!(name && name[0]) && !(socket && socket[0])) return false;
    quiet = true;
    const bool offered = connect_to_compositor();
    quiet = false;
    return offered;
}

bool open_connection() {
    // The connection may be open already, kept by the question above.
    if (!wl.display && !connect_to_compositor()) return false;
    if (!x_display_there()) return fail();
    return true;
}

void close_connection() {
    if (!wl.display) return;
    if (read_prepared) wl_display_cancel_read(wl.display);
    read_prepared = false;
    release_toplevels();
    release_pointer_objects();
    if (wl.seat) {
        if (wl_seat_get_version(wl.seat) >= WL_SEAT_RELEASE_SINCE_VERSION) wl_seat_release(wl.seat);
        else wl_seat_destroy(wl.seat);
    }
    while (!outputs.empty()) remove_output(outputs.back()->name);
    if (wl.relative) zwp_relative_pointer_manager_v1_destroy(wl.relative);
    if (wl.fractional) wp_fractional_scale_manager_v1_destroy(wl.fractional);
    if (wl.viewporter) wp_viewporter_destroy(wl.viewporter);
    if (wl.output_manager) zxdg_output_manager_v1_destroy(wl.output_manager);
    if (wl.layer_shell) zwlr_layer_shell_v1_destroy(wl.layer_shell);
    if (wl.shm) wl_shm_destroy(wl.shm);
    if (wl.compositor) wl_compositor_destroy(wl.compositor);
    if (wl.registry) wl_registry_destroy(wl.registry);
    wl_display_flush(wl.display);
    wl_display_disconnect(wl.display);
    wl = {};
}

void lost_compositor() {
    const int error = wl.display ? wl_display_get_error(wl.display) : 0;
    if (error == EPROTO) {
        const wl_interface* interface = nullptr;
        uint32_t id = 0;
        const uint32_t code = wl_display_get_protocol_error(wl.display, &interface, &id);
        std::fprintf(stderr, "tuvo: the compositor refused a request (%s %u, error %u)\n",
                     interface ? interface->name : "?", id, code);
    } else {
        std::fprintf(stderr, "tuvo: lost the connection to the Wayland compositor\n");
    }
    std::exit(1);
}

// --- the loop --------------------------------------------------------------------------

int wayland_connection() { return wl_display_get_fd(wl.display); }

void take_wayland_events(bool read) {
    if (read) {
        prepare_read();
        read_prepared = false;
        if (wl_display_read_events(wl.display) < 0) lost_compositor();
    }
    dispatch_all();
    // Before FLTK waits: the next read is prepared, so that no event read meanwhile can be
    // left in the queue while the socket has nothing more to say.
    if (!read && running) prepare_read();
}

void flush_wayland() {
    if (wl_display_flush(wl.display) < 0 && errno != EAGAIN) lost_compositor();
}
