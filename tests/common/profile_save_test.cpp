// Saving the settings file in one write, over real files in a folder of the test's own:
// saves at once from many processes, writes stopped half-way, symbolic links, and paths
// that hold something other than a regular file.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "profile.h"
#include "profile_cases.h"
#include "test_files.h"

namespace {

class ProfileSave : public FolderTest {};

// The six keys the program saves with the values of one writer: its number, then the key's.
struct KeySet {
    std::string values[saved_key_count];
    ProfileEntry entries[saved_key_count];
};

void make_set(int writer, KeySet* set) {
    for (int k = 0; k < saved_key_count; ++k) {
        set->values[k] = std::to_string(writer * 10 + k);
        set->entries[k] = {profile_keys[k], set->values[k].c_str()};
    }
}

int save_set(const std::string& file, int writer) {
    KeySet set;
    make_set(writer, &set);
    return profile_save(file.c_str(), profile_section, set.entries, saved_key_count);
}

// The writer whose whole set the file holds, or -1.
int writer_of(const std::string& file) {
    int writer = -1;
    for (int k = 0; k < saved_key_count; ++k) {
        const int32_t value = profile_read_int(file.c_str(), profile_section, profile_keys[k], -1);
        if (value < 0 || value % 10 != k || (writer >= 0 && value / 10 != writer)) return -1;
        writer = value / 10;
    }
    return writer;
}

// Every save writes all six keys, so whichever comes last, the file must hold one writer's
// set whole: never keys of two writers, nor a value none of them wrote.
TEST_F(ProfileSave, ManySavesAtOnceLeaveOneWritersWholeSetAndTheOtherLines) {
    constexpr int writers = 6, rounds = 20;
    const std::string file = path("tuvo.ini");
    int mixed = 0;
    for (int round = 0; round < rounds; ++round) {
        put(file, "; mine\r\n[Setup]\r\nMode=1\r\n\r\n[Other]\r\nA=1\r\n");
        ASSERT_TRUE(run_at_once(writers, [&](int writer) { return save_set(file, writer + 1); }));
        const std::string bytes = get(file);
        if (writer_of(file) < 1) ++mixed;
        EXPECT_EQ(bytes.rfind("; mine\r\n[Setup]\r\n", 0), 0u) << bytes;
        EXPECT_NE(bytes.find("\r\n[Other]\r\nA=1\r\n"), std::string::npos) << bytes;
    }
    EXPECT_EQ(mixed, 0) << "of " << rounds << " rounds";
    EXPECT_EQ(names(), std::vector<std::string>{"tuvo.ini"});
}

// Saves of different keys at once: each reads the file inside the folder's lock, so none
// writes over another's key with the file it read before that one saved.
TEST_F(ProfileSave, SavesOfDifferentKeysAtOnceAreAllKept) {
    constexpr int writers = 6, rounds = 20;
    const std::string file = path("tuvo.ini");
    int lost = 0;
    for (int round = 0; round < rounds; ++round) {
        put(file, "[Setup]\r\n");
        ASSERT_TRUE(run_at_once(writers, [&](int writer) {
            const std::string key = "Key" + std::to_string(writer);
            const ProfileEntry entry = {key.c_str(), "1"};
            return profile_save(file.c_str(), profile_section, &entry, 1);
        }));
        for (int writer = 0; writer < writers; ++writer)
            if (profile_read_int(file.c_str(), profile_section, ("Key" + std::to_string(writer)).c_str(), 0) != 1) ++lost;
    }
    EXPECT_EQ(lost, 0) << "keys lost in " << rounds << " rounds of " << writers;
    EXPECT_EQ(names(), std::vector<std::string>{"tuvo.ini"});
}

// A write that stops half-way (here at a file size limit; a full disk alike) leaves the old
// file as it was, byte for byte, and nothing beside it: whether the file is replaced or, in
// a read-only folder, rewritten in place.
TEST_F(ProfileSave, AWriteStoppedHalfWayLeavesTheOldFileWholeAndNothingBeside) {
    const std::string file = path("tuvo.ini");
    const std::string old = "[Setup]\r\nMode=1\r\n";  // 17 bytes; the six keys need some 90
    for (const bool read_only_folder : {false, true}) {
        SCOPED_TRACE(read_only_folder ? "read-only folder" : "writable folder");
        put(file, old);
        ASSERT_EQ(chmod(folder.c_str(), read_only_folder ? 0555 : 0755), 0);
        const ChildResult result = run_child({true, 50, 30}, [&] { return std::to_string(save_set(file, 1)); });
        EXPECT_TRUE(result.ended);
        EXPECT_EQ(result.said, std::to_string(EFBIG));
        EXPECT_EQ(get(file), old);
        EXPECT_EQ(names(), std::vector<std::string>{"tuvo.ini"});
    }
    ASSERT_EQ(chmod(folder.c_str(), 0755), 0);
    EXPECT_EQ(save_set(file, 1), 0);  // without the limit it goes through
    EXPECT_EQ(writer_of(file), 1);
}

// A dotfile manager keeps the file as a link to its own copy: the copy takes the values and
// the link stays a link, through relative links, chains of links, and a link to a file yet
// to be made.
TEST_F(ProfileSave, SymbolicLinkIsFollowedAndItsTargetSaved) {
    ASSERT_EQ(mkdir(path("dotfiles").c_str(), 0700), 0);
    ASSERT_EQ(mkdir(path("config").c_str(), 0700), 0);
    put(path("dotfiles/tuvo.ini"), "; kept in git\r\n[Setup]\r\nTimer=5\r\n");
    ASSERT_EQ(symlink("../dotfiles/tuvo.ini", path("config/tuvo.ini").c_str()), 0);
    ASSERT_EQ(symlink("tuvo.ini", path("config/again.ini").c_str()), 0);
    ASSERT_EQ(symlink(path("dotfiles/later.ini").c_str(), path("config/later.ini").c_str()), 0);
    const ProfileEntry timer = {"Timer", "99"};
    EXPECT_EQ(profile_save(path("config/again.ini").c_str(), "Setup", &timer, 1), 0);
    EXPECT_EQ(get(path("dotfiles/tuvo.ini")), "; kept in git\r\n[Setup]\r\nTimer=99\r\n");
    EXPECT_EQ(profile_save(path("config/later.ini").c_str(), "Setup", &timer, 1), 0);
    EXPECT_EQ(get(path("dotfiles/later.ini")), "[Setup]\r\nTimer=99\r\n");
    struct stat state;
    for (const char* link : {"config/tuvo.ini", "config/again.ini", "config/later.ini"}) {
        ASSERT_EQ(lstat(path(link).c_str(), &state), 0);
        EXPECT_TRUE(S_ISLNK(state.st_mode)) << link;
    }
    EXPECT_EQ(names(path("config")), (std::vector<std::string>{"again.ini", "later.ini", "tuvo.ini"}));
    EXPECT_EQ(names(path("dotfiles")), (std::vector<std::string>{"later.ini", "tuvo.ini"}));
    ASSERT_EQ(symlink("loop.ini", path("config/loop.ini").c_str()), 0);
    EXPECT_EQ(profile_save(path("config/loop.ini").c_str(), "Setup", &timer, 1), ELOOP);
}

// A pipe, a device, a folder or a file past the largest size reads as no file, at once and
// without memory to match; a save refuses them and leaves them as they were.
TEST_F(ProfileSave, OnlyRegularFilesOfAtMostOneMebibyteAreReadOrSaved) {
    ASSERT_EQ(mkfifo(path("pipe.ini").c_str(), 0600), 0);
    ASSERT_EQ(symlink("/dev/zero", path("zero.ini").c_str()), 0);
    ASSERT_EQ(mkdir(path("folder.ini").c_str(), 0700), 0);
    std::string large = "[Setup]\r\nTimer=99\r\n;";
    large.resize(profile_largest_file + 1, 'x');
    put(path("large.ini"), large);
    large.resize(profile_largest_file);
    put(path("largest.ini"), large);
    const struct {
        const char* name;
        int32_t timer;  // as read
        int saved;      // what a save gives
    } cases[] = {
        {"pipe.ini", 150, profile_not_regular},
        {"zero.ini", 150, -2},  // never saved into: the test will not write /dev/zero
        {"folder.ini", 150, EISDIR},
        {"large.ini", 150, EFBIG},
        {"largest.ini", 99, 0},
    };
    const ProfileEntry mode = {"Mode", "2"};
    // Some 32 MiB at most beyond what a child that reads nothing holds (the test's own
    // memory, or a sanitizer's).
    const long idle_kilobytes = run_child({false, -1, 10}, [] { return std::string(); }).peak_kilobytes;
    for (const auto& c : cases) {
        const std::string file = path(c.name);
        const ChildResult result = run_child({false, -1, 10}, [&] {
            ProfileFile loaded;
            const ProfileLoad load = profile_load(file.c_str(), &loaded);
            std::string said = std::to_string(load) + " " + std::to_string(profile_int(loaded, "Setup", "Timer", 150));
            profile_release(&loaded);
            if (c.saved != -2) said += " " + std::to_string(profile_save(file.c_str(), "Setup", &mode, 1));
            return said;
        });
        EXPECT_TRUE(result.ended) << c.name << ": still reading";
        EXPECT_LT(result.peak_kilobytes, idle_kilobytes + 32 * 1024) << c.name;
        const int load = c.timer == 99 ? profile_loaded : profile_unreadable;
        std::string expected = std::to_string(load) + " " + std::to_string(c.timer);
        if (c.saved != -2) expected += " " + std::to_string(c.saved);
        EXPECT_EQ(result.said, expected) << c.name;
    }
    struct stat state;
    ASSERT_EQ(lstat(path("pipe.ini").c_str(), &state), 0);
    EXPECT_TRUE(S_ISFIFO(state.st_mode));
    EXPECT_EQ(get(path("large.ini")).size(), profile_largest_file + 1);
    EXPECT_STREQ(profile_error_text(profile_not_regular), "Not a regular file");
    EXPECT_STREQ(profile_error_text(EFBIG), "File too large");
}

}  // namespace
