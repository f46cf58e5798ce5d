// The pet's layer surface: takes the pet's place and output, the picture drawn last and the
// frame's outline, and returns them on screen as a surface in the top layer, anchored to
// its output's top-left corner and placed by its margins, with the cat's outline as its
// input region; made anew on another output, when hidden and shown again, or when closed.
#include <climits>

#include "wayland.h"

PetSurface pet_surface = {};
PetSurface held_surface = {};

namespace {

const MaskSheet pet_mask = {art_mask.bits, art_mask.stride, art_mask.width, art_mask.height, art_sheet_columns,
                            art_mask.inverted};

bool shown = false;   // show_window has come
bool hidden = false;  // stepped aside for a full-screen program

// Mode 1: every picture's input region once made, for one pet scale on one output scale.
std::vector<wl_region*> stored_regions;
int32_t stored_scale = 0, stored_scale120 = 0;

void on_configure(void*, zwlr_layer_surface_v1* layer, uint32_t serial, uint32_t, uint32_t) {
    zwlr_layer_surface_v1_ack_configure(layer, serial);
    if (layer != pet_surface.layer || pet_surface.configured) return;
    // The first configure: the surface may show its picture now.
    pet_surface.configured = 1;
    present_pet(true);
}

// The output went, or the compositor will not show the surface: it goes, and the pet's
// next presentation makes another where the pet lives by then.
void on_closed(void*, zwlr_layer_surface_v1* layer) {
    if (layer == pet_surface.layer) drop_surface(&pet_surface);
    else if (layer == held_surface.layer) drop_surface(&held_surface);
}

const zwlr_layer_surface_v1_listener layer_listener = {on_configure, on_closed};

void on_preferred_scale(void*, wp_fractional_scale_v1* fractional, uint32_t scale) {
    if (fractional == pet_surface.fractional) note_preferred_scale(pet_surface.output, int32_t(scale));
}

const wp_fractional_scale_v1_listener fractional_listener = {on_preferred_scale};

// The frame's outline as an input region; null when the picture has no opaque pixel.
wl_region* outline_region(int32_t image, int32_t mirrored, int32_t scale120) {
    std::vector<XRectangle> rects;
    outline_rectangles(pet_mask, image, mirrored, frame_width, frame_height, 1, &rects);
    if (rects.empty()) return nullptr;
    std::vector<int32_t> quads;
    logical_rectangles(rects, pet_scale, scale120, &quads);
    wl_region* region = wl_compositor_create_region(wl.compositor);
    for (size_t i = 0; i + 3 < quads.size(); i += 4)
        wl_region_add(region, quads[i], quads[i + 1], quads[i + 2], quads[i + 3]);
    return region;
}

int32_t surface_scale120(const PetSurface& s) {
    if (s.output) return s.output->place.scale120;
    const PetOutput* o = pet_output();
    return o ? o->place.scale120 : scale_unit;
}

// The surface leaves the pet's output. Held by the pointer, it stays, unmapped, until the
// release: the compositor sends the drag's moves and its release to the surface pressed.
void retire_pet_surface() {
    if (!held_surface.surface && pointer_held_on(pet_surface.surface)) {
        held_surface = pet_surface;
        wl_surface_attach(held_surface.surface, nullptr, 0, 0);
        wl_surface_commit(held_surface.surface);
        pet_surface = {};
        pet_surface.buffer = -1;
        return;
    }
    drop_surface(&pet_surface);
}

// Size and scale for the pet's picture on its output; true when they changed.
bool size_surface(const SurfaceSize& size, int32_t scale120) {
    if (size.logical == pet_surface.logical_side && scale120 == pet_surface.scale120) return false;
    zwlr_layer_surface_v1_set_size(pet_surface.layer, uint32_t(size.logical), uint32_t(size.logical));
    if (scale120 % scale_unit == 0) {
        wl_surface_set_buffer_scale(pet_surface.surface, scale120 / scale_unit);
        if (pet_surface.viewport) wp_viewport_set_destination(pet_surface.viewport, -1, -1);
    } else {
        // One buffer pixel a device pixel: the buffer is the surface's device size, shown
        // at its logical size.
        wl_surface_set_buffer_scale(pet_surface.surface, 1);
        if (pet_surface.viewport) wp_viewport_set_destination(pet_surface.viewport, size.logical, size.logical);
    }
    pet_surface.logical_side = size.logical;
    pet_surface.scale120 = scale120;
    set_input_shape();
    return true;
}

void damage(bool whole) {
    if (whole) {
        wl_surface_damage_buffer(pet_surface.surface, 0, 0, INT32_MAX, INT32_MAX);
        return;
    }
    const ScreenRect box = changed_pixels(art_sprites, art_sheet_columns, art_cell_size, pet_surface.image,
                                          pet_surface.mirrored, drawn_image, drawn_mirrored);
    if (box.right <= box.left) return;
    const int32_t s = pet_scale;
    wl_surface_damage_buffer(pet_surface.surface, box.left * s, box.top * s, (box.right - box.left) * s,
                             (box.bottom - box.top) * s);
}

}  // namespace

bool make_pet_surface() {
    PetOutput* o = pet_output();
    if (!o) return false;
    PetSurface& s = pet_surface;
    s = {};
    s.buffer = -1;
    s.output = o;
    s.surface = wl_compositor_create_surface(wl.compositor);
    if (wl.fractional) {
        s.fractional = wp_fractional_scale_manager_v1_get_fractional_scale(wl.fractional, s.surface);
        wp_fractional_scale_v1_add_listener(s.fractional, &fractional_listener, nullptr);
    }
    if (wl.viewporter) s.viewport = wp_viewporter_get_viewport(wl.viewporter, s.surface);
    s.layer = zwlr_layer_shell_v1_get_layer_surface(wl.layer_shell, s.surface, o->output,
                                                    ZWLR_LAYER_SHELL_V1_LAYER_TOP, "tuvo");
    zwlr_layer_surface_v1_add_listener(s.layer, &layer_listener, nullptr);
    zwlr_layer_surface_v1_set_anchor(s.layer,
                                     ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT);
    // Other surfaces' exclusive zones (panels) do not push it: its margins count from the
    // output's edge, as the pet's place does.
    zwlr_layer_surface_v1_set_exclusive_zone(s.layer, -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(s.layer, ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE);
    size_surface(surface_size(window_width, o->place.scale120), o->place.scale120);
    const ScreenPoint m = device_to_logical_offset(o->place, device_space_factor(), pet_on_screen());
    s.margin_left = m.x > 0 ? m.x : 0;
    s.margin_top = m.y > 0 ? m.y : 0;
    zwlr_layer_surface_v1_set_margin(s.layer, s.margin_top, 0, 0, s.margin_left);
    // Committed without a buffer: the compositor answers with the first configure.
    wl_surface_commit(s.surface);
    make_trail(o);
    return true;
}

void drop_surface(PetSurface* s) {
    if (!s->surface) return;
    forget_surface(s->surface);
    if (s->fractional) wp_fractional_scale_v1_destroy(s->fractional);
    if (s->viewport) wp_viewport_destroy(s->viewport);
    if (s->layer) zwlr_layer_surface_v1_destroy(s->layer);
    wl_surface_destroy(s->surface);
    *s = {};
    s->buffer = -1;
}

void present_pet(bool picture_changed) {
    if (!shown || hidden) return;
    PetOutput* o = pet_output();
    if (!o) return;  // no output yet: the pet waits unseen
    if (pet_surface.surface && pet_surface.output != o) retire_pet_surface();
    if (!pet_surface.surface) {
        make_pet_surface();  // shown once configured
        return;
    }
    if (!pet_surface.configured) return;
    const SurfaceSize size = surface_size(window_width, o->place.scale120);
    if (drawn_buffer < 0 || buffers[drawn_buffer].state.side != size.device) {
        // The output's scale changed under the pet: its picture, at the new device size.
        draw_picture();
        picture_changed = true;
    }
    const int32_t was_left = pet_surface.margin_left, was_top = pet_surface.margin_top;
    const int32_t was_side = pet_surface.mapped ? pet_surface.logical_side : 0;
    const bool resized = size_surface(size, o->place.scale120);
    bool commit = resized;
    ScreenPoint m = device_to_logical_offset(o->place, device_space_factor(), pet_on_screen());
    if (m.x < 0) m.x = 0;
    if (m.y < 0) m.y = 0;
    if (m.x != pet_surface.margin_left || m.y != pet_surface.margin_top) {
        zwlr_layer_surface_v1_set_margin(pet_surface.layer, m.y, 0, 0, m.x);
        pet_surface.margin_left = m.x;
        pet_surface.margin_top = m.y;
        commit = true;
    }
    const bool whole = resized || !pet_surface.mapped;
    if ((picture_changed || whole) && drawn_buffer >= 0 && buffers[drawn_buffer].state.side == size.device) {
        PetBuffer& b = buffers[drawn_buffer];
        wl_surface_attach(pet_surface.surface, b.buffer, 0, 0);
        damage(whole || pet_surface.buffer < 0);
        b.state.busy = 1;
        pet_surface.buffer = drawn_buffer;
        pet_surface.image = drawn_image;
        pet_surface.mirrored = drawn_mirrored;
        pet_surface.mapped = 1;
        commit = true;
    }
    if (!commit) return;
    wl_surface_commit(pet_surface.surface);
    if (resized || was_left != pet_surface.margin_left || was_top != pet_surface.margin_top)
        sweep_behind(was_left, was_top, was_side);
}

void show_pet_surface() {
    shown = true;
    present_pet(true);
}

void hide_pet_surface() {
    hidden = true;
    drop_surface(&pet_surface);
    drop_trail();
}

void show_pet_surface_again() {
    hidden = false;
    present_pet(true);
}

void let_held_surface_go() { drop_surface(&held_surface); }

void surface_origin(const PetSurface& s, double* x, double* y) {
    *x = s.output ? s.output->place.x + s.margin_left : 0;
    *y = s.output ? s.output->place.y + s.margin_top : 0;
}

void set_input_shape() {
    if (!pet_surface.surface) return;
    const int32_t scale120 = surface_scale120(pet_surface);
    if (display_mode == display_blended) {
        // No picture of the desktop exists here: the square shows the frame over clear
        // pixels, and the whole square takes the pointer.
        wl_region* region = wl_compositor_create_region(wl.compositor);
        const int32_t side = logical_ceil(window_width, scale120);
        wl_region_add(region, 0, 0, side, side);
        wl_surface_set_input_region(pet_surface.surface, region);
        wl_region_destroy(region);
        return;
    }
    if (display_mode == display_stored) {
        if (stored_scale != pet_scale || stored_scale120 != scale120) {
            release_regions();
            stored_scale = pet_scale;
            stored_scale120 = scale120;
            stored_regions.assign(size_t(2 * engine->image_count), nullptr);
        }
        // A picture without opaque pixels takes no pointer at all.
        wl_region*& region = stored_regions[size_t(shown_mirrored * engine->image_count + shown_image)];
        if (!region) region = outline_region(shown_image, shown_mirrored, scale120);
        if (!region) region = wl_compositor_create_region(wl.compositor);
        wl_surface_set_input_region(pet_surface.surface, region);
        return;
    }
    // Nothing opaque: the surface keeps the region it has.
    wl_region* region = outline_region(shown_image, shown_mirrored, scale120);
    if (!region) return;
    wl_surface_set_input_region(pet_surface.surface, region);
    wl_region_destroy(region);
}

void release_regions() {
    for (wl_region* region : stored_regions)
        if (region) wl_region_destroy(region);
    stored_regions.clear();
    stored_scale = stored_scale120 = 0;
}
