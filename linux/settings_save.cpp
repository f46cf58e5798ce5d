// Saving the settings: takes the settings file's place and the saved settings, and returns
// them written in one save, or the message that says why they were not.
#include "settings_save.h"

#include <cerrno>
#include <cstdio>

#include "files.h"
#include "profile.h"
#include "rules.h"

namespace {

constexpr int most_keys = 8;  // write_settings writes six
constexpr size_t value_room = 20;
constexpr const char* no_home =
    "Cannot save the settings: no home folder is known (HOME is not set, and the account has none)";

// The keys and values write_settings hands over, in its order, for one save of them all.
struct CollectedKeys {
    ProfileEntry entries[most_keys];
    char values[most_keys][value_room];
    int count;
};
CollectedKeys collected;

// The keys are write_settings's own string literals; the values are copied.
void collect_key(const char* key, const char* value) {
    if (collected.count == most_keys) return;
    char* copy = collected.values[collected.count];
    std::snprintf(copy, value_room, "%s", value);
    collected.entries[collected.count++] = {key, copy};
}

}  // namespace

std::string save_settings_file(const std::string& path, const Settings& settings) {
    if (path.empty()) return no_home;
    collected.count = 0;
    write_settings(settings, collect_key);
    // The folder is made on the first save only: a pet that was never given options leaves
    // no trace.
    const size_t count = size_t(collected.count);
    const int error = make_directories(directory_of(path))
                          ? profile_save(path.c_str(), settings_section, collected.entries, count)
                          : errno;
    if (error == 0) return "";
    return "Cannot save the settings to " + path + ": " + profile_error_text(error);
}
