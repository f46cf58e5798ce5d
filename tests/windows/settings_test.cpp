// The settings file on real files: defaults, the margin check, saving and the rule for
// a directory too long to hold the file's path.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "support.h"

namespace {

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override { path = fresh_settings_file("settings_test.ini"); }
    void TearDown() override { std::remove(path.c_str()); }
    void write(const char* text) {
        std::ofstream(path) << "[Setup]\r\n" << text;
    }
    std::string contents() {
        std::ifstream in(path);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }
    std::string path;
};

TEST_F(SettingsFile, MissingFileGivesDefaultsAndCreatesNothing) {
    load_settings();
    EXPECT_EQ(display_mode, 1);
    EXPECT_EQ(margin_top + margin_left + margin_bottom + margin_right, 0);
    EXPECT_EQ(timer_interval, 150);
    EXPECT_EQ(saved_settings.mode, 1);
    EXPECT_EQ(saved_settings.timer, 150);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(std::ifstream(path).good());
}

TEST_F(SettingsFile, ValuesAreReadAsTheyStand) {
    write("Mode=7\r\nTimer=3\r\nTop Margin=10\r\nLeft Margin=20\r\nBottom Margin=30\r\nRight Margin=40\r\n");
    load_settings();
    EXPECT_EQ(display_mode, 7);
    EXPECT_EQ(timer_interval, 3);
    EXPECT_EQ(margin_top, 10);
    EXPECT_EQ(margin_left, 20);
    EXPECT_EQ(margin_bottom, 30);
    EXPECT_EQ(margin_right, 40);
    EXPECT_EQ(saved_settings.left_margin, 20);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SettingsFile, MarginsThatDoNotFitAreAllZeroedAfterTheBox) {
    write("Top Margin=5\r\nBottom Margin=6\r\nLeft Margin=500\r\nRight Margin=500\r\n");
    load_settings();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Invalid Margin Values !");
    EXPECT_EQ(boxes[0].caption, "Tuvo");
    EXPECT_EQ(boxes[0].type, UINT(MB_OK | MB_ICONERROR));
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_EQ(margin_top + margin_left + margin_bottom + margin_right, 0);
    EXPECT_EQ(saved_settings.top_margin, 0);
    EXPECT_EQ(saved_settings.right_margin, 0);
    EXPECT_NE(contents().find("Left Margin=500"), std::string::npos);  // the file is left alone
}

TEST_F(SettingsFile, NegativeMarginFailsTheCheck) {
    write("Top Margin=-1\r\n");
    load_settings();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(margin_top, 0);
}

TEST_F(SettingsFile, SaveWritesAllSixKeys) {
    saved_settings = {2, 1, 2, 3, 4, 99};
    save_settings();
    const std::string text = contents();
    for (const char* line : {"Mode=2", "Top Margin=1", "Left Margin=2", "Bottom Margin=3",
                             "Right Margin=4", "Timer=99"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    saved_settings = {0, 0, 0, 0, 0, 150};
    save_settings();
    load_settings();
    EXPECT_EQ(display_mode, 0);
    EXPECT_NE(contents().find("Top Margin=0"), std::string::npos);
}

TEST(MarginCheck, BandOfExactlyTheWindowFits) {
    screen_width = 1024;
    screen_height = 768;
    frame_width = frame_height = 50;
    EXPECT_TRUE(margins_fit(0, 487, 0, 487));
    EXPECT_FALSE(margins_fit(0, 488, 0, 487));
    EXPECT_TRUE(margins_fit(359, 0, 359, 0));
    EXPECT_FALSE(margins_fit(360, 0, 359, 0));
}

TEST(MarginCheck, HugeMarginsDoNotWrapIntoAFit) {
    screen_width = 1024;
    screen_height = 768;
    EXPECT_FALSE(margins_fit(0, 2147483647, 0, 2147483647));
    EXPECT_FALSE(margins_fit(2147483647, 0, 2147483647, 0));
}

TEST(SettingsPath, DirectoryOf247CharactersFallsBackToTheBareName) {
    char path[path_size];
    std::string directory = "C:\\" + std::string(242, 'd') + "\\";  // 246 characters
    ASSERT_EQ(directory.size(), 246u);
    settings_path_for(directory.c_str(), 1, path);
    EXPECT_EQ(std::string(path), directory + "tuvo.ini");
    directory.insert(3, "e");  // 247
    settings_path_for(directory.c_str(), 1, path);
    EXPECT_STREQ(path, "tuvo.ini");
    settings_path_for("C:\\short\\", 0, path);  // an executable name that was cut short
    EXPECT_STREQ(path, "tuvo.ini");
}

TEST(SettingsPath, ModuleDirectoryEndsWithTheSeparator) {
    char directory[path_size];
    char name[path_size];
    ASSERT_EQ(module_directory(GetModuleHandleA(nullptr), directory), 1);
    GetModuleFileNameA(nullptr, name, path_size);
    const size_t length = std::strlen(directory);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(directory[length - 1], '\\');
    EXPECT_EQ(std::strncmp(directory, name, length), 0);
    EXPECT_EQ(std::strchr(name + length, '\\'), nullptr);
}

}  // namespace
