// The pet's world and the settings in force in the engine's values.
#include "pet_world.h"

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
