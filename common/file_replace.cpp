// Replacing a file whole: takes a path and the bytes it is to hold, and returns the file
// replaced by a new one written beside it and renamed over it, or the reason it was not.
#include "file_replace.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "file_calls.h"

namespace {

constexpr int temp_attempts = 100;
constexpr size_t temp_name_room = 32;  // ".<pid>-<attempt>.tmp" and the terminator
constexpr size_t write_chunk = size_t{1} << 20;

// Writes every byte and flushes them to the disk: 0, or the errno value of the step that
// failed (a full disk, a file size limit).
int write_all(int descriptor, const char* bytes, size_t size) {
    while (size > 0) {
        const size_t chunk = size < write_chunk ? size : write_chunk;
        const auto wrote = write(descriptor, bytes, static_cast<unsigned>(chunk));
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote < 0) return errno;
        if (wrote == 0) return ENOSPC;
        bytes += wrote;
        size -= static_cast<size_t>(wrote);
    }
#ifdef _WIN32
    return _commit(descriptor) == 0 ? 0 : errno;
#else
    return fsync(descriptor) == 0 ? 0 : errno;
#endif
}

// A new file beside |path| whose name no other file has, made with the permissions a new
// file gets; its name is left in |temp|. -1, errno telling why, when the folder refuses it.
int open_temp(const char* path, char* temp, size_t room) {
    for (int attempt = 0; attempt < temp_attempts; ++attempt) {
        std::snprintf(temp, room, "%s.%ld-%d.tmp", path, static_cast<long>(getpid()), attempt);
        const int descriptor = open(temp, O_WRONLY | O_CREAT | O_EXCL | O_BINARY | O_CLOEXEC, 0666);
        if (descriptor >= 0 || errno != EEXIST) return descriptor;
    }
    return -1;
}

// Puts |temp| in the place of |path|: 0, or why not.
int rename_over(const char* temp, const char* path) {
#ifdef _WIN32
    // The Windows C library's rename never replaces a file: the old file steps aside under a
    // name of its own and comes back when the new one cannot take its place.
    const size_t room = std::strlen(temp) + 5;
    char* aside = static_cast<char*>(std::malloc(room));
    if (!aside) return ENOMEM;
    std::snprintf(aside, room, "%s.old", temp);
    int error = 0;
    if (std::rename(path, aside) != 0) {
        error = errno == ENOENT && std::rename(temp, path) == 0 ? 0 : errno;
    } else if (std::rename(temp, path) != 0) {
        error = errno;
        std::rename(aside, path);
    } else {
        std::remove(aside);
    }
    std::free(aside);
    return error;
#else
    return std::rename(temp, path) == 0 ? 0 : errno;
#endif
}

// The rename itself reaches the disk with the folder's entries; a folder that cannot be
// flushed still holds the new file, so a failure here changes nothing.
void flush_folder(const char* path) {
#ifndef _WIN32
    const char* slash = std::strrchr(path, '/');
    const size_t length = slash ? static_cast<size_t>(slash - path) : 0;
    char* folder = static_cast<char*>(std::malloc(length + 2));
    if (!folder) return;
    if (slash) {
        std::memcpy(folder, path, length);
        folder[length] = '\0';
        if (length == 0) std::strcpy(folder, "/");
    } else {
        std::strcpy(folder, ".");
    }
    const int descriptor = open(folder, O_RDONLY | O_CLOEXEC);
    std::free(folder);
    if (descriptor < 0) return;
    fsync(descriptor);
    close(descriptor);
#else
    (void)path;
#endif
}

}  // namespace

int replace_file(const char* path, const char* bytes, size_t size, int mode) {
    const size_t room = std::strlen(path) + temp_name_room;
    char* temp = static_cast<char*>(std::malloc(room));
    if (!temp) return ENOMEM;
    const int descriptor = open_temp(path, temp, room);
    if (descriptor < 0) {
        const int error = errno;
        std::free(temp);
        return error;
    }
    int error = write_all(descriptor, bytes, size);
#ifndef _WIN32
    if (error == 0 && mode >= 0 && fchmod(descriptor, static_cast<mode_t>(mode)) != 0) error = errno;
#else
    (void)mode;
#endif
    if (close(descriptor) != 0 && error == 0) error = errno;
    if (error == 0) error = rename_over(temp, path);
    if (error != 0) std::remove(temp);
    else flush_folder(path);
    std::free(temp);
    return error;
}
