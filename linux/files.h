// The files the X11 program touches besides the settings: takes the running executable
// and the environment, and returns the executable's path, folders made for the user
// alone, and the autostart entry written or removed. No X calls.
#pragma once

#include <string>

// The running executable's full path; empty when the system does not tell.
std::string executable_path();
bool file_exists(const std::string& path);
// Creates |directory| and its missing parents, each readable by the user alone. True
// when it exists afterwards.
bool make_directories(const std::string& directory);
// --autostart=on / =off: writes or removes the entry in the user's configuration folder
// and says what it did in one line on stdout (a failure in one line on stderr); returns
// the exit status.
int set_autostart(bool on);
