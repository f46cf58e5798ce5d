// The pet's trail: takes where the pet's surface stood before each move, and returns a
// clear surface of the same size arriving there, so that the compositor repaints what
// the pet left. sway 1.7 repaints the place a moved layer surface left only on an output
// at the layout's origin; elsewhere the cat would leave a trail of old pixels behind.
// Used on outputs away from the origin only; without a viewport it cannot be sized.
#include <sys/mman.h>
#include <unistd.h>

#include "wayland.h"

namespace {

struct Trail {
    wl_surface* surface;
    zwlr_layer_surface_v1* layer;
    wp_viewport* viewport;
    int32_t configured, mapped;
};

Trail trail = {};
wl_buffer* clear_pixel = nullptr;  // one clear pixel, the viewport gives it its size

void on_configure(void*, zwlr_layer_surface_v1* layer, uint32_t serial, uint32_t, uint32_t) {
    zwlr_layer_surface_v1_ack_configure(layer, serial);
    if (layer == trail.layer) trail.configured = 1;
}

void on_closed(void*, zwlr_layer_surface_v1* layer) {
    if (layer == trail.layer) drop_trail();
}

const zwlr_layer_surface_v1_listener trail_listener = {on_configure, on_closed};

bool make_clear_pixel() {
    if (clear_pixel) return true;
    const int fd = memfd_create("tuvo-clear", MFD_CLOEXEC);
    if (fd < 0) return false;
    if (ftruncate(fd, 4) != 0) {
        close(fd);
        return false;
    }
    wl_shm_pool* pool = wl_shm_create_pool(wl.shm, fd, 4);
    clear_pixel = wl_shm_pool_create_buffer(pool, 0, 1, 1, 4, WL_SHM_FORMAT_ARGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    return true;
}

}  // namespace

void make_trail(PetOutput* o) {
    drop_trail();
    if (!wl.viewporter || (o->place.x == 0 && o->place.y == 0) || !make_clear_pixel()) return;
    trail.surface = wl_compositor_create_surface(wl.compositor);
    trail.viewport = wp_viewporter_get_viewport(wl.viewporter, trail.surface);
    trail.layer = zwlr_layer_shell_v1_get_layer_surface(wl.layer_shell, trail.surface, o->output,
                                                        ZWLR_LAYER_SHELL_V1_LAYER_TOP, "tuvo-trail");
    zwlr_layer_surface_v1_add_listener(trail.layer, &trail_listener, nullptr);
    zwlr_layer_surface_v1_set_anchor(trail.layer,
                                     ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT);
    zwlr_layer_surface_v1_set_exclusive_zone(trail.layer, -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(trail.layer,
                                                     ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE);
    zwlr_layer_surface_v1_set_size(trail.layer, 1, 1);
    // The pointer goes through it.
    wl_region* nothing = wl_compositor_create_region(wl.compositor);
    wl_surface_set_input_region(trail.surface, nothing);
    wl_region_destroy(nothing);
    wl_surface_commit(trail.surface);
}

void sweep_behind(int32_t left, int32_t top, int32_t side) {
    if (!trail.configured || side <= 0) return;
    zwlr_layer_surface_v1_set_margin(trail.layer, top, 0, 0, left);
    zwlr_layer_surface_v1_set_size(trail.layer, uint32_t(side), uint32_t(side));
    wp_viewport_set_destination(trail.viewport, side, side);
    if (!trail.mapped) {
        wl_surface_attach(trail.surface, clear_pixel, 0, 0);
        wl_surface_damage_buffer(trail.surface, 0, 0, 1, 1);
        trail.mapped = 1;
    }
    wl_surface_commit(trail.surface);
}

void drop_trail() {
    if (trail.viewport) wp_viewport_destroy(trail.viewport);
    if (trail.layer) zwlr_layer_surface_v1_destroy(trail.layer);
    if (trail.surface) wl_surface_destroy(trail.surface);
    trail = {};
}

void release_trail() {
    drop_trail();
    if (clear_pixel) wl_buffer_destroy(clear_pixel);
    clear_pixel = nullptr;
}
