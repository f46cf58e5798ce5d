// The Linux program's save of its settings, in a folder of the test's own: the six keys in
// one write with the folder made for them, and, when the save fails, the message naming
// the file and the reason, the file left as it was.
#include <climits>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings_save.h"
#include "test_files.h"

namespace {

class SettingsSave : public FolderTest {};

const Settings chosen = {2, 11, 33, 22, 44, 99};

TEST_F(SettingsSave, TheSixKeysAreWrittenInOneSaveInTheFolderItMakes) {
    const std::string file = path("config/tuvo/tuvo.ini");
    EXPECT_EQ(save_settings_file(file, chosen), "");
    EXPECT_EQ(get(file),
              "[Setup]\r\nMode=2\r\nTop Margin=11\r\nBottom Margin=22\r\nLeft Margin=33\r\nRight Margin=44\r\n"
              "Timer=99\r\n");
    struct stat state;
    ASSERT_EQ(stat(path("config/tuvo").c_str(), &state), 0);
    EXPECT_EQ(state.st_mode & 07777, 0700u);
    EXPECT_EQ(names(path("config/tuvo")), std::vector<std::string>{"tuvo.ini"});
}

TEST_F(SettingsSave, AFailedSaveNamesTheFileAndTheReasonAndChangesNothing) {
    const std::string old = "[Setup]\r\nMode=1\r\n";
    ASSERT_EQ(mkdir(path("readonly").c_str(), 0700), 0);
    put(path("readonly/tuvo.ini"), old);
    ASSERT_EQ(chmod(path("readonly/tuvo.ini").c_str(), 0444), 0);
    ASSERT_EQ(mkdir(path("closed").c_str(), 0555), 0);  // a read-only folder, no file yet
    ASSERT_EQ(mkdir(path("home").c_str(), 0555), 0);    // a home where .config cannot be made
    ASSERT_EQ(mkdir(path("config").c_str(), 0700), 0);
    ASSERT_EQ(mkdir(path("config/tuvo.ini").c_str(), 0700), 0);
    put(path("plain"), "x");
    put(path("full.ini"), old);
    const std::string overlong = folder + "/" + std::string(PATH_MAX, 'h') + "/.config/tuvo/tuvo.ini";
    const struct {
        std::string file;
        ChildTerms terms;
        std::string reason;
    } cases[] = {
        {path("readonly/tuvo.ini"), as_user, "Permission denied"},
        {path("closed/tuvo.ini"), as_user, "Permission denied"},
        {path("home/.config/tuvo/tuvo.ini"), as_user, "Permission denied"},
        {path("plain/.config/tuvo/tuvo.ini"), as_user, "Not a directory"},
        {path("config/tuvo.ini"), as_user, "Is a directory"},
        {overlong, as_user, "File name too long"},
        {path("full.ini"), {false, 40, 30}, "File too large"},
    };
    for (const auto& c : cases) {
        const ChildResult result = run_child(c.terms, [&] { return save_settings_file(c.file, chosen); });
        EXPECT_TRUE(result.ended) << c.file;
        EXPECT_EQ(result.said, "Cannot save the settings to " + c.file + ": " + c.reason);
    }
    EXPECT_EQ(get(path("readonly/tuvo.ini")), old);
    EXPECT_EQ(get(path("full.ini")), old);
    EXPECT_EQ(names(), (std::vector<std::string>{"closed", "config", "full.ini", "home", "plain", "readonly"}));
    EXPECT_EQ(names(path("closed")), std::vector<std::string>{});
    EXPECT_EQ(names(path("home")), std::vector<std::string>{});
    EXPECT_EQ(names(path("readonly")), std::vector<std::string>{"tuvo.ini"});
    EXPECT_EQ(save_settings_file("", chosen),
              "Cannot save the settings: no home folder is known (HOME is not set, and the account has none)");
}

}  // namespace
