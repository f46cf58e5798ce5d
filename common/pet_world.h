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
// Puts the margins and the tick interval of |settings| in force (the display mode is the
// shell's).
void enter_settings(const Settings& settings);
