// The pet's side of the desktop, whichever shell tells the monitors: takes the layout,
// the display's scaling and the margins, and returns the pet's scale and the world the
// engine lives in, carried across monitors while held and put back inside its monitor
// when the monitors change.
#include <cstring>

#include "pet.h"

// Until the settings are read: one screen at scale 1.
int32_t pet_scale = 1;
MonitorLayout monitor_layout = {};
Margins screen_margins = {0, 0, 0, 0};
int32_t layout_changed = 0;

namespace {

World world_at(const MonitorLayout& layout, int32_t index) {
    return world_in(layout, index, desktop_settings.scale, default_dpi, screen_margins, frame_width);
}

// A new world for the pet; when it brings a new scale, the window and its pictures follow.
void move_to_world(const World& world) {
    enter_world(world);
    shell->world_changed();
    if (world.scale == pet_scale) return;
    pet_scale = world.scale;
    shell->rescale_display();
}

}  // namespace

void enter_first_world() {
    screen_margins = {margin_top, margin_left, margin_bottom, margin_right};
    const World world = world_at(monitor_layout, monitor_layout.primary);
    pet_scale = world.scale;
    enter_world(world);
}

void apply_layout_change() {
    layout_changed = 0;
    monitor_layout = shell->read_layout();
    const int32_t index = pet_monitor_after_change(monitor_layout, pet_world, desktop_settings.monitors);
    const World world = world_at(monitor_layout, index);
    std::memcpy(pet_world.name, world.name, monitor_name_size);
    if (same_rect(world.monitor, pet_world.monitor) && world.scale == pet_scale) return;
    const World from = pet_world;
    move_to_world(world);
    // The pet keeps its place on its monitor, in screen pixels, as far as the new world
    // allows; a held pet keeps the grabbed spot of its body under the pointer.
    ScreenPoint at = dragging ? held_under(world, shell->pointer_position(), grab_x, grab_y)
                              : carry_over(from, world, window_x, window_y);
    clamp_to_margins(&at.x, &at.y);
    set_pet_position(at.y, at.x);
    shell->present_frame(false);
}

bool follow_pointer(ScreenPoint pointer) {
    if (!desktop_settings.monitors || contains(pet_world.monitor, pointer)) return false;
    const int32_t under = monitor_at(monitor_layout, pointer);
    if (under < 0 || same_rect(monitor_layout.monitors[under], pet_world.monitor)) return false;
    move_to_world(world_at(monitor_layout, under));
    return true;
}

ScreenPoint pet_on_screen() { return to_screen(pet_world, window_x, window_y); }

ScreenRect pet_rect() {
    const ScreenPoint at = pet_on_screen();
    return {at.x, at.y, at.x + window_width, at.y + window_height};
}

ScreenPoint ui_point(ScreenPoint point) { return shell->ui_point(point); }

int32_t ui_pet_scale() { return shell->ui_scale(); }

int32_t scale_at(int32_t x, int32_t y) {
    const int32_t index = monitor_at(monitor_layout, {x, y});
    if (index < 0 || same_rect(monitor_layout.monitors[index], pet_world.monitor)) return pet_scale;
    return world_at(monitor_layout, index).scale;
}

bool margins_fit_next_start(int32_t top, int32_t left, int32_t bottom, int32_t right) {
    const MonitorLayout layout = shell->read_layout();
    const int32_t p = primary_index(layout);
    return margins_fit_on_primary(layout.monitors[p], layout.dpis[p], desktop_settings.scale,
                                  {top, left, bottom, right}, frame_width);
}
