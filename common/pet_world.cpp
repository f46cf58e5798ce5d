// The pet's world and the settings in force in the engine's values.
#include "pet_world.h"

#include "engine.h"
#include "values.h"

// Until the settings are read: no monitor yet, at scale 1.
World pet_world = {{0, 0, 0, 0}, 1, 0, 0, {0, 0, 0, 0}, ""};

void enter_world(const World& world) {
    pet_world = world;
    screen_width = world.width;
    screen_height = world.height;
    margin_top = world.margins.top;
    margin_left = world.margins.left;
    margin_bottom = world.margins.bottom;
    margin_right = world.margins.right;
}

void enter_settings(const Settings& settings) {
    margin_top = settings.top_margin;
    margin_left = settings.left_margin;
    margin_bottom = settings.bottom_margin;
    margin_right = settings.right_margin;
    timer_interval = settings.timer;
}

TickChange step_engine(bool held) {
    TickChange change = {window_x, window_y, false, false};
    const int32_t old_image = shown_image, old_mirrored = shown_mirrored;
    if (held)
        drag_tick();
    else
        behaviour_step();
    change.frame_changed = shown_image != old_image || shown_mirrored != old_mirrored;
    change.moved = window_x != change.old_x || window_y != change.old_y;
    return change;
}
