// The outputs as the compositor tells them: takes wl_output's and xdg-output's news (name,
// logical place and size, mode, transform, scale) and returns the device-space layout the
// pet side lives in, the conversions between it and the logical layout, and a note for the
// loop when the outputs change.
#include <cstdio>
#include <cstring>

#include "wayland.h"

std::vector<PetOutput*> outputs;

namespace {

bool watching = false;

// The outputs described so far, in the compositor's order, and their places: made again
// whenever an output is described or goes, so that a tick or a move only reads them.
std::vector<PetOutput*> shown;
std::vector<OutputPlace> shown_places;

void refresh_shown() {
    shown.clear();
    shown_places.clear();
    for (PetOutput* o : outputs) {
        if (!o->done || o->place.device_width <= 0 || o->place.device_height <= 0) continue;
        shown.push_back(o);
        shown_places.push_back(o->place);
    }
}

// Until an output comes: a monitor of the usual size, where the pet waits unseen.
constexpr ScreenRect no_output = {0, 0, 1024, 768};

bool swaps_sides(int32_t transform) { return transform % 2 == 1; }  // 90 or 270, flipped or not

void refresh_shown();

void set_name(PetOutput* o, const char* name) {
    std::snprintf(o->place.name, monitor_name_size, "%s", name ? name : "");
    if (o->done) refresh_shown();
}

// What the compositor said, put together: device size from the current mode, logical place
// and size from xdg-output (else the output's own position and its size at its whole
// scale), and the scale they make.
void describe(PetOutput* o) {
    OutputPlace& p = o->place;
    p.device_width = swaps_sides(o->transform) ? o->mode_height : o->mode_width;
    p.device_height = swaps_sides(o->transform) ? o->mode_width : o->mode_height;
    const int32_t whole = o->whole_scale > 0 ? o->whole_scale : 1;
    if (o->have_logical && o->logical_width > 0 && o->logical_height > 0) {
        p.x = o->logical_x;
        p.y = o->logical_y;
        p.width = o->logical_width;
        p.height = o->logical_height;
    } else {
        p.x = o->geometry_x;
        p.y = o->geometry_y;
        p.width = p.device_width / whole;
        p.height = p.device_height / whole;
    }
    if (o->preferred120 > 0) {
        p.scale120 = o->preferred120;
    } else if (!wl.viewporter) {
        // Without a viewport a surface can only take whole scales: the compositor scales
        // what is left.
        p.scale120 = whole * scale_unit;
    } else {
        const bool wide = p.device_width >= p.device_height;
        p.scale120 = scale_from_sizes(wide ? p.device_width : p.device_height, wide ? p.width : p.height);
    }
    o->done = 1;
    refresh_shown();
    if (watching) layout_changed = 1;
}

// --- wl_output -------------------------------------------------------------------------

void on_geometry(void* data, wl_output*, int32_t x, int32_t y, int32_t, int32_t, int32_t, const char*, const char*,
                 int32_t transform) {
    PetOutput* o = static_cast<PetOutput*>(data);
    o->geometry_x = x;
    o->geometry_y = y;
    o->transform = transform;
}

void on_mode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
    PetOutput* o = static_cast<PetOutput*>(data);
    if (!(flags & WL_OUTPUT_MODE_CURRENT)) return;
    o->mode_width = width;
    o->mode_height = height;
}

void on_done(void* data, wl_output*) { describe(static_cast<PetOutput*>(data)); }

void on_scale(void* data, wl_output*, int32_t factor) { static_cast<PetOutput*>(data)->whole_scale = factor; }

void on_name(void* data, wl_output*, const char* name) { set_name(static_cast<PetOutput*>(data), name); }

void on_description(void*, wl_output*, const char*) {}

const wl_output_listener output_listener = {on_geometry, on_mode, on_done, on_scale, on_name, on_description};

// --- xdg-output ------------------------------------------------------------------------

void on_logical_position(void* data, zxdg_output_v1*, int32_t x, int32_t y) {
    PetOutput* o = static_cast<PetOutput*>(data);
    o->logical_x = x;
    o->logical_y = y;
    o->have_logical = 1;
}

void on_logical_size(void* data, zxdg_output_v1*, int32_t width, int32_t height) {
    PetOutput* o = static_cast<PetOutput*>(data);
    o->logical_width = width;
    o->logical_height = height;
    o->have_logical = 1;
}

// Before version 3 xdg-output has a done of its own; since, wl_output's done covers both.
void on_xdg_done(void* data, zxdg_output_v1*) { describe(static_cast<PetOutput*>(data)); }

void on_xdg_name(void* data, zxdg_output_v1*, const char* name) {
    PetOutput* o = static_cast<PetOutput*>(data);
    if (!o->place.name[0]) set_name(o, name);
}

void on_xdg_description(void*, zxdg_output_v1*, const char*) {}

const zxdg_output_v1_listener xdg_output_listener = {on_logical_position, on_logical_size, on_xdg_done,
                                                     on_xdg_name, on_xdg_description};

}  // namespace

void add_output(uint32_t name, uint32_t version) {
    PetOutput* o = new PetOutput();
    o->name = name;
    o->whole_scale = 1;
    o->output = static_cast<wl_output*>(
        wl_registry_bind(wl.registry, name, &wl_output_interface, version < 4 ? version : 4));
    wl_output_add_listener(o->output, &output_listener, o);
    if (wl.output_manager) {
        o->xdg = zxdg_output_manager_v1_get_xdg_output(wl.output_manager, o->output);
        zxdg_output_v1_add_listener(o->xdg, &xdg_output_listener, o);
    }
    outputs.push_back(o);
}

void remove_output(uint32_t name) {
    for (size_t i = 0; i < outputs.size(); ++i) {
        PetOutput* o = outputs[i];
        if (o->name != name) continue;
        if (pet_surface.output == o) pet_surface.output = nullptr;
        if (held_surface.output == o) held_surface.output = nullptr;
        if (o->xdg) zxdg_output_v1_destroy(o->xdg);
        if (wl_output_get_version(o->output) >= WL_OUTPUT_RELEASE_SINCE_VERSION) wl_output_release(o->output);
        else wl_output_destroy(o->output);
        outputs.erase(outputs.begin() + ptrdiff_t(i));
        delete o;
        refresh_shown();
        if (watching) layout_changed = 1;
        return;
    }
}

void watch_outputs() { watching = true; }

const std::vector<OutputPlace>& output_places() { return shown_places; }

MonitorLayout read_output_layout() {
    const std::vector<OutputPlace>& places = output_places();
    return device_layout(places.data(), int32_t(places.size()), no_output);
}

int32_t device_space_factor() {
    const std::vector<OutputPlace>& places = output_places();
    return device_factor(places.data(), int32_t(places.size()));
}

PetOutput* pet_output() {
    // Known by its name first, as the layout rules know it; then by its rectangle.
    if (pet_world.name[0])
        for (PetOutput* o : shown)
            if (std::strncmp(o->place.name, pet_world.name, monitor_name_size) == 0) return o;
    const int32_t factor = device_space_factor();
    for (PetOutput* o : shown)
        if (same_rect(device_rect(o->place, factor), pet_world.monitor)) return o;
    return nullptr;
}

ScreenPoint to_device_space(double x, double y) {
    const std::vector<OutputPlace>& places = output_places();
    const int32_t i = output_at(places.data(), int32_t(places.size()), x, y);
    if (i < 0) return {int32_t(x), int32_t(y)};
    return logical_to_device(places[size_t(i)], device_factor(places.data(), int32_t(places.size())), x, y);
}

ScreenPoint xwayland_point(ScreenPoint point) {
    const std::vector<OutputPlace>& places = output_places();
    const MonitorLayout layout = device_layout(places.data(), int32_t(places.size()), no_output);
    const int32_t i = monitor_at(layout, point);
    if (places.empty() || i < 0) return point;
    const OutputPlace& o = places[size_t(i)];
    const ScreenPoint offset = device_to_logical_offset(o, device_factor(places.data(), int32_t(places.size())), point);
    return {o.x + offset.x, o.y + offset.y};
}

int32_t xwayland_scale() {
    // XWayland's pixels are logical ones, which the compositor scales up by the output's
    // scale: the menu and dialogs take the pet's size to the eye.
    const PetOutput* o = pet_output();
    const int32_t scale120 = o ? o->place.scale120 : scale_unit;
    const int32_t scale = (pet_scale * scale_unit + scale120 / 2) / scale120;
    return scale >= 1 ? scale : 1;
}

void note_preferred_scale(PetOutput* o, int32_t scale120) {
    if (!o || scale120 <= 0 || o->preferred120 == scale120) return;
    o->preferred120 = scale120;
    if (o->done) describe(o);
}
