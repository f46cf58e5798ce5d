// The world the pet lives in and the settings in force, as both shells put them into the
// engine's process-wide values: takes a World or the settings read at start-up and
// returns them in the values the behaviour engine reads.
#pragma once

#include "desktop.h"
#include "settings_rules.h"

// The monitor the pet lives on, as the engine sees it.
extern World pet_world;

// Makes |world| the engine's: its size and margins become the values in force.
void enter_world(const World& world);
// One tick of the engine: the drag tick while the pet is held, else the behaviour step,
// and what it changed of the frame on show and the place.
struct TickChange {
    int32_t old_x, old_y;  // the place before the tick
    bool frame_changed;    // another image or mirroring
    bool moved;
};
TickChange step_engine(bool held);

// Puts the margins and the tick interval of |settings| in force (the display mode is the
// shell's).
void enter_settings(const Settings& settings);
