// The Wayland pet shell: takes the shared pet side's requests (start, tick, drag, stepping
// aside, end) and returns them carried out on the pet's own connection to the compositor,
// as a layer surface, with the failure messages of the start.
#include "wayland.h"

namespace {

constexpr const char* no_window = "Fail to create the main window";
constexpr const char* no_cursor = "Fail to load the cursor image";
constexpr const char* no_bitmap = "Insufficient memory to create bitmap image";

bool connect() { return open_connection(); }

// A failed start leaves nothing behind.
int abandon_start(const char* text) {
    halt_with_warning(text);
    drop_surface(&pet_surface);
    release_regions();
    release_buffers();
    return 0;
}

int open_window(int, char**) {
    if (!make_pointer_cursors()) return abandon_start(no_cursor);
    if (!init_buffers()) return abandon_start(no_bitmap);
    draw_picture();
    if (drawn_buffer < 0) return abandon_start(no_bitmap);
    if (!make_pet_surface()) {
        // No output yet: the pet is shown when one comes.
        return 1;
    }
    // The first configure, so that showing the pet is one commit. Start-up may wait.
    while (pet_surface.surface && !pet_surface.configured)
        if (wl_display_dispatch(wl.display) < 0) return abandon_start(no_window);
    if (!pet_surface.surface) return abandon_start(no_window);  // the compositor closed it at once
    return 1;
}

void watch_desktop() {
    watch_outputs();
    watch_toplevels();
}

void show_window() {
    show_pet_surface();
    flush_wayland();
}

void close_window() {
    if (!wl.display) return;
    drop_surface(&held_surface);
    drop_surface(&pet_surface);
    release_trail();
    release_regions();
    release_buffers();
    close_connection();
}

void settle() {
    settle_toplevels();
    // A picture that waited for a buffer the compositor held.
    if (picture_waiting) {
        draw_picture();
        if (!picture_waiting) present_pet(true);
    }
}

void apply_frame_shape() { set_input_shape(); }

void present_frame(bool frame_changed) { present_pet(frame_changed); }

void rescale_display() {
    window_width = frame_width * pet_scale;
    window_height = frame_height * pet_scale;
    // The next presentation sizes the surface and gives it its region at the new scale.
    release_regions();
    draw_picture();
}

void hide_pet() { hide_pet_surface(); }

void show_pet_again() { show_pet_surface_again(); }

void world_changed() { toplevels_world_changed(); }

// The compositor holds the pointer for the surface pressed until the release by itself:
// the hold shows only in the cursor.
void begin_hold(uint32_t) { show_cursor(true); }

void end_hold(bool) { show_cursor(false); }

void release_pointer() { show_cursor(false); }

}  // namespace

const PetShell wayland_shell = {
    "wayland",    connect,          read_output_layout, open_window,         watch_desktop,
    show_window,  close_window,     wayland_connection, take_wayland_events, settle,
    flush_wayland, draw_picture,    apply_frame_shape,  present_frame,       rescale_display,
    hide_pet,     show_pet_again,   world_changed,      begin_hold,          end_hold,
    release_pointer, pointer_in_device_space, xwayland_point, xwayland_scale,
};
