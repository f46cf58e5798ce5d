// Saving the settings: takes the settings file's place and the saved settings, and returns
// them written in one save, or the message that says why they were not.
#pragma once

#include <string>

#include "settings_rules.h"

// The keys write_settings writes for |settings|, with its values and in its order, saved
// into the file at |path| in one save (profile_save), its folder made first. Empty when
// saved; otherwise the message for the user, naming the file and the reason.
std::string save_settings_file(const std::string& path, const Settings& settings);
