// Saving the settings file: takes its path, a section and keys with their values, and
// returns the file written once, whole, with the values set, or the reason it was not.
#ifndef _WIN32
#include <sys/file.h>
#endif

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "file_calls.h"
#include "file_replace.h"
#include "profile.h"

namespace {

bool same_bytes(const ProfileFile& a, const ProfileFile& b) {
    return a.size == b.size && (a.size == 0 || std::memcmp(a.bytes, b.bytes, a.size) == 0);
}

#ifndef _WIN32
constexpr int most_links = 40;  // as many as the system follows in one path

// Where a chain of symbolic links at |path| ends, into |target| (PATH_MAX bytes): a settings
// file kept by a dotfile manager is a link, and its values belong in the file it leads to.
// A link to nothing leads to the file to make. 0, or why not.
int follow_links(const char* path, char* target) {
    if (std::strlen(path) >= PATH_MAX) return ENAMETOOLONG;
    std::strcpy(target, path);
    for (int hop = 0; hop < most_links; ++hop) {
        struct stat state;
        if (lstat(target, &state) != 0) return errno == ENOENT ? 0 : errno;
        if (!S_ISLNK(state.st_mode)) return 0;
        char link[PATH_MAX];
        const ssize_t length = readlink(target, link, sizeof link - 1);
        if (length < 0) return errno;
        link[length] = '\0';
        // A relative link is read from the folder that holds it.
        const char* slash = std::strrchr(target, '/');
        const size_t folder = link[0] == '/' || !slash ? 0 : static_cast<size_t>(slash - target) + 1;
        if (folder + static_cast<size_t>(length) >= PATH_MAX) return ENAMETOOLONG;
        std::memcpy(target + folder, link, static_cast<size_t>(length) + 1);
    }
    return ELOOP;
}

// Saves in the folder of |path| one at a time: an exclusive lock on the folder, held until
// the descriptor returned is closed. On the folder, not the file: each save replaces the
// file, and a lock on the old one would not hold the next save back; nor is a lock file
// left beside the user's settings. -1 when the folder cannot be opened or locked (a file
// system without locks): the save then goes on alone.
int lock_folder(const char* path) {
    char folder[PATH_MAX];
    const char* slash = std::strrchr(path, '/');
    if (!slash) std::strcpy(folder, ".");
    else if (slash == path) std::strcpy(folder, "/");
    else std::snprintf(folder, sizeof folder, "%.*s", static_cast<int>(slash - path), path);
    const int descriptor = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return -1;
    int locked;
    while ((locked = flock(descriptor, LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (locked == 0) return descriptor;
    close(descriptor);
    return -1;
}

// 0, or the errno value of the write that failed.
int write_at_start(int descriptor, const char* bytes, size_t size) {
    for (size_t done = 0; done < size;) {
        const ssize_t wrote = pwrite(descriptor, bytes + done, size - done, static_cast<off_t>(done));
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote < 0) return errno;
        if (wrote == 0) return ENOSPC;
        done += static_cast<size_t>(wrote);
    }
    return 0;
}

// A writable file in a folder that takes no new file (a portable copy in a read-only
// folder) cannot be replaced by a rename: the only way left is to write the new contents
// over the old ones in the file itself. The room for a longer file is taken first, so that
// a full disk or a size limit refuses before any byte changes; a write that fails after all
// puts the old bytes back as far as it can. Other saves wait for the folder's lock; a
// program reading the file meanwhile may see a mixture, which no rename can spare it here.
int rewrite_in_place(const char* path, const ProfileFile& old, const ProfileFile& changed) {
    const int descriptor = open(path, O_WRONLY | O_CLOEXEC);
    if (descriptor < 0) return errno;
    int error = 0;
    if (changed.size > old.size) {
        const int taken = posix_fallocate(descriptor, 0, static_cast<off_t>(changed.size));
        if (taken != EOPNOTSUPP && taken != ENOSYS && taken != EINVAL) error = taken;
    }
    const bool touched = error == 0;
    if (error == 0) error = write_at_start(descriptor, changed.bytes, changed.size);
    if (error == 0 && ftruncate(descriptor, static_cast<off_t>(changed.size)) != 0) error = errno;
    if (error == 0 && fsync(descriptor) != 0) error = errno;
    if (error != 0 && touched && write_at_start(descriptor, old.bytes, old.size) == 0 &&
        ftruncate(descriptor, static_cast<off_t>(old.size)) == 0)
        fsync(descriptor);
    close(descriptor);
    return error;
}
#endif

// The save of the file at |path| itself (no link), once the folder is locked.
int save_file(const char* path, const char* section, const ProfileEntry* entries, size_t count) {
    ProfileFile old = {nullptr, 0, profile_ansi, 0, 1, 0};
    const int reader = open(path, O_RDONLY | O_BINARY | O_NONBLOCK | O_CLOEXEC);
    if (reader < 0 && errno != ENOENT) return errno;
    const bool existed = reader >= 0;
    int error = 0;
    struct stat state = {};
    if (existed) {
        profile_load_open(reader, &old, &error);
        fstat(reader, &state);
        close(reader);
        // As the Windows writer does, a file that cannot be opened for writing is refused,
        // even where the folder would take a new file in its place.
        const int writer = error == 0 ? open(path, O_WRONLY | O_BINARY | O_CLOEXEC) : -1;
        if (error == 0 && writer < 0) error = errno;
        if (writer >= 0) close(writer);
    }
    ProfileFile changed = {nullptr, 0, profile_ansi, 0, 1, 0};
    if (error == 0 && !profile_set_strings(old, section, entries, count, &changed)) error = ENOMEM;
    if (error == 0 && !(existed && same_bytes(old, changed))) {
        error = replace_file(path, changed.bytes, changed.size, existed ? static_cast<int>(state.st_mode & 07777) : -1);
#ifndef _WIN32
        if ((error == EACCES || error == EPERM) && existed) error = rewrite_in_place(path, old, changed);
#endif
    }
    profile_release(&changed);
    profile_release(&old);
    return error;
}

}  // namespace

int profile_save(const char* path, const char* section, const ProfileEntry* entries, size_t count) {
    if (!path || !section || (count > 0 && !entries)) return EINVAL;
    for (size_t i = 0; i < count; ++i)
        if (!entries[i].key || !entries[i].value) return EINVAL;
#ifdef _WIN32
    return save_file(path, section, entries, count);
#else
    char target[PATH_MAX];
    const int followed = follow_links(path, target);
    if (followed != 0) return followed;
    const int lock = lock_folder(target);
    const int error = save_file(target, section, entries, count);
    if (lock >= 0) close(lock);
    return error;
#endif
}

bool profile_write_string(const char* path, const char* section, const char* key, const char* value) {
    if (!key || !value) return false;
    const ProfileEntry entry = {key, value};
    return profile_save(path, section, &entry, 1) == 0;
}
