// The files the X11 program touches besides the settings, in a folder of the test's own:
// folders made with their parents for the user alone, the executable's path, and the
// autostart entry written for this very program and removed again.
#include <gtest/gtest.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "files.h"
#include "rules.h"
#include "test_files.h"

namespace {

struct FilesTest : testing::Test {
    std::string root;
    std::string home;
    bool had_home = false;
    void SetUp() override {
        char name[] = "/tmp/tuvo-x11-files-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        root = name;
        had_home = std::getenv("HOME") != nullptr;
        if (had_home) home = std::getenv("HOME");
    }
    void TearDown() override {
        const std::string command = "rm -rf '" + root + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
        unsetenv("XDG_CONFIG_HOME");
        if (had_home) setenv("HOME", home.c_str(), 1);
        else unsetenv("HOME");
    }
};

mode_t mode_of(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

std::string text_of(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST_F(FilesTest, FoldersAreMadeWithTheirParentsForTheUserAlone) {
    const mode_t old_mask = umask(022);
    EXPECT_TRUE(make_directories(root + "/a/b/c"));
    umask(old_mask);
    for (const char* folder : {"/a", "/a/b", "/a/b/c"}) EXPECT_EQ(mode_of(root + folder), 0700u) << folder;
    EXPECT_TRUE(make_directories(root + "/a/b"));  // there already
    std::ofstream(root + "/file") << "x";
    EXPECT_FALSE(make_directories(root + "/file"));
    EXPECT_FALSE(make_directories(root + "/file/below"));
    EXPECT_TRUE(file_exists(root + "/file"));
    EXPECT_FALSE(file_exists(root + "/a"));  // a folder is no file
    EXPECT_FALSE(file_exists(root + "/missing"));
}

TEST_F(FilesTest, ExecutablePathIsThisProgram) {
    const std::string path = executable_path();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path[0], '/');
    EXPECT_TRUE(file_exists(path));
    EXPECT_EQ(path.substr(path.rfind('/') + 1), "x11_tests");
}

TEST_F(FilesTest, AutostartOnWritesAnEntryRunningThisProgramAndOffRemovesIt) {
    setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
    const std::string entry = root + "/config/autostart/tuvo.desktop";
    EXPECT_EQ(set_autostart(true), 0);
    EXPECT_EQ(text_of(entry), autostart_entry(executable_path()));
    EXPECT_EQ(mode_of(root + "/config/autostart"), 0700u);
    EXPECT_EQ(set_autostart(true), 0);  // again: the same entry
    EXPECT_EQ(text_of(entry), autostart_entry(executable_path()));
    EXPECT_EQ(set_autostart(false), 0);
    EXPECT_FALSE(file_exists(entry));
    EXPECT_EQ(set_autostart(false), 0);  // nothing to remove is no failure

    // A configuration folder that cannot be made fails, and says so.
    std::ofstream(root + "/plain") << "x";
    setenv("XDG_CONFIG_HOME", (root + "/plain/config").c_str(), 1);
    EXPECT_EQ(set_autostart(true), 1);
}

TEST_F(FilesTest, ConfigurationFolderIsTheAccountsWithoutAnAbsoluteHome) {
    const passwd* account = getpwuid(getuid());
    ASSERT_NE(account, nullptr);
    const std::string accounts = std::string(account->pw_dir) + "/.config";
    unsetenv("XDG_CONFIG_HOME");
    setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(user_config_home(), "/home/someone/.config");
    unsetenv("HOME");
    EXPECT_EQ(user_config_home(), accounts);
    setenv("HOME", "relative/home", 1);
    EXPECT_EQ(user_config_home(), accounts);
    setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(user_config_home(), accounts);
    setenv("XDG_CONFIG_HOME", "/x/config", 1);
    EXPECT_EQ(user_config_home(), "/x/config");
}

TEST_F(FilesTest, AutostartEntryIsWrittenWholeOrNotAtAllAndALinkInItsPlaceIsReplaced) {
    setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
    const std::string folder = root + "/config/autostart", entry = folder + "/tuvo.desktop";
    ASSERT_TRUE(make_directories(folder));
    std::ofstream(entry) << "[Desktop Entry]\nType=Application\nName=Old\nExec=/old/tuvo\n";
    const std::string old = text_of(entry);
    // The entry is larger than the limit: the write stops half-way, and nothing changes.
    const ChildResult result = run_child({false, 64, 30}, [] { return std::to_string(set_autostart(true)); });
    EXPECT_TRUE(result.ended);
    EXPECT_EQ(result.said, "1");
    EXPECT_EQ(text_of(entry), old);
    EXPECT_EQ(names_in(folder), std::vector<std::string>{"tuvo.desktop"});

    // A link (a dotfile manager's) is replaced by the entry; what it led to stays.
    std::ofstream(root + "/kept.desktop") << old;
    ASSERT_EQ(unlink(entry.c_str()), 0);
    ASSERT_EQ(symlink((root + "/kept.desktop").c_str(), entry.c_str()), 0);
    EXPECT_EQ(set_autostart(true), 0);
    struct stat state;
    ASSERT_EQ(lstat(entry.c_str(), &state), 0);
    EXPECT_TRUE(S_ISREG(state.st_mode));
    EXPECT_EQ(text_of(entry), autostart_entry(executable_path()));
    EXPECT_EQ(text_of(root + "/kept.desktop"), old);
}

}  // namespace
