// The files the program touches besides the settings: takes the running executable and
// the environment, and returns its path, folders made for the user alone, and the
// autostart entry written or removed.
#include <errno.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "file_replace.h"
#include "files.h"
#include "rules.h"

namespace {

constexpr mode_t private_folder = 0700;
constexpr int new_file_mode = -1;  // a new file's permissions, as the user's umask leaves them

}  // namespace

std::string user_config_home() {
    const char* home = std::getenv("HOME");
    const char* account_home = nullptr;
    if (!home || home[0] != '/') {
        const passwd* account = getpwuid(getuid());
        if (account) account_home = account->pw_dir;
    }
    return config_home(std::getenv("XDG_CONFIG_HOME"), home, account_home);
}

std::string executable_path() {
    std::string path(256, '\0');
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", &path[0], path.size());
        if (length < 0) return "";
        if (size_t(length) < path.size()) {
            path.resize(size_t(length));
            return path;
        }
        path.resize(path.size() * 2);  // cut short: ask again with more room
    }
}

bool file_exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool make_directories(const std::string& directory) {
    struct stat info;
    if (stat(directory.c_str(), &info) == 0) {
        if (!S_ISDIR(info.st_mode)) errno = ENOTDIR;
        return S_ISDIR(info.st_mode);
    }
    const std::string parent = directory_of(directory);
    if (parent != directory && parent != "." && !make_directories(parent)) return false;
    // Another process may have made it in between: that is as good.
    return mkdir(directory.c_str(), private_folder) == 0 || errno == EEXIST;
}

int set_autostart(bool on) {
    const std::string config = user_config_home();
    if (config.empty()) {
        std::fprintf(stderr, "tuvo: no home folder is known (HOME is not set, and the account has none)\n");
        return 1;
    }
    const std::string entry = autostart_location(config);
    if (!on) {
        if (unlink(entry.c_str()) == 0) {
            std::printf("tuvo: will no longer start at sign-in (removed %s)\n", entry.c_str());
            return 0;
        }
        if (errno == ENOENT) {
            std::printf("tuvo: does not start at sign-in (no %s)\n", entry.c_str());
            return 0;
        }
        std::fprintf(stderr, "tuvo: cannot remove %s\n", entry.c_str());
        return 1;
    }
    const std::string program = executable_path();
    if (program.empty()) {
        std::fprintf(stderr, "tuvo: cannot tell where this program is\n");
        return 1;
    }
    if (const char* refusal = autostart_refusal(program)) {
        std::fprintf(stderr, "tuvo: cannot start %s at sign-in: %s\n", program.c_str(), refusal);
        return 1;
    }
    const std::string text = autostart_entry(program);
    const int error = make_directories(directory_of(entry))
                          ? replace_file(entry.c_str(), text.data(), text.size(), new_file_mode)
                          : errno;
    if (error != 0) {
        std::fprintf(stderr, "tuvo: cannot write %s: %s\n", entry.c_str(), std::strerror(error));
        return 1;
    }
    std::printf("tuvo: will start at sign-in (wrote %s)\n", entry.c_str());
    return 0;
}
