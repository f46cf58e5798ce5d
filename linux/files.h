// The files the X11 program touches besides the settings: takes the running executable
// and the environment, and returns the executable's path, folders made for the user
// alone, and the autostart entry written or removed. No X calls.
#pragma once

#include <string>

// The running executable's full path; empty when the system does not tell.
std::string executable_path();
// The user's configuration folder (config_home) from the environment and, without an
// absolute HOME, the account's home in the password database; empty when none is known.
std::string user_config_home();
bool file_exists(const std::string& path);
// Creates |directory| and its missing parents, each readable by the user alone. True
// when it exists afterwards; otherwise errno tells why.
bool make_directories(const std::string& directory);
// --autostart=on / =off: writes or removes the entry in the user's configuration folder
// and says what it did in one line on stdout (a failure in one line on stderr); returns
// the exit status. The entry is written whole or not at all; a symbolic link in its place
// is replaced by the entry, its target left alone.
int set_autostart(bool on);
