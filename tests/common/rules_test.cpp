// The rules both shells share: the settings file's order of reading and its refusal of
// margins, the Options dialog's fields and the order of its checks, and the About box's
// strips and layout.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "about_state.h"
#include "options_rules.h"
#include "settings_rules.h"

// The engine's one service from the program; nothing here compiles tables.
void error_box(const char*) {}

namespace {

// A reader over a fixed table that records what was asked, with the refusals in order.
std::vector<std::string> asked;
int32_t table_value(const char* key, int32_t fallback) {
    asked.push_back(key);
    const std::string k = key;
    if (k == "Top Margin") return 500;
    if (k == "Left Margin") return -3;
    if (k == "Timer") return -1;
    if (k == "Scale") return 3;
    if (k == "Monitors") return 7;
    return fallback;
}
bool refuse_all(int32_t, int32_t, int32_t, int32_t) { return false; }
bool accept_all(int32_t, int32_t, int32_t, int32_t) { return true; }
void note_refusal() { asked.push_back("(refused)"); }

TEST(SettingsRules, KeysAreReadInOrderAndRefusedMarginsAreZeroedBeforeTheTimer) {
    asked.clear();
    const Settings refused = read_settings(table_value, refuse_all, note_refusal);
    const std::vector<std::string> order = {"Mode", "Top Margin", "Bottom Margin", "Left Margin",
                                            "Right Margin", "(refused)", "Timer"};
    EXPECT_EQ(asked, order);
    EXPECT_EQ(refused.mode, 1);
    EXPECT_EQ(refused.top_margin + refused.left_margin + refused.bottom_margin + refused.right_margin, 0);
    EXPECT_EQ(refused.timer, 150);  // a negative interval takes the default

    asked.clear();
    const Settings kept = read_settings(table_value, accept_all, note_refusal);
    EXPECT_EQ(asked.size(), 6u);
    EXPECT_EQ(kept.top_margin, 500);
    EXPECT_EQ(kept.left_margin, -3);  // the check, not the reader, judges margins

    const DesktopSettings desk = read_desktop_settings(table_value);
    EXPECT_EQ(desk.scale, 3);
    EXPECT_EQ(desk.monitors, 1);  // any other value than 0 turns a switch on
    EXPECT_EQ(desk.fullscreen, 1);
}

std::vector<std::pair<std::string, std::string>> written;
void record_write(const char* key, const char* value) { written.emplace_back(key, value); }

TEST(SettingsRules, AllSixKeysAreWrittenInTheirOrderAsSignedDecimals) {
    written.clear();
    write_settings({2, -7, 0, 2147483647, 9, 1000}, record_write);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Mode", "2"}, {"Top Margin", "-7"}, {"Bottom Margin", "2147483647"},
        {"Left Margin", "0"}, {"Right Margin", "9"}, {"Timer", "1000"}};
    EXPECT_EQ(written, expected);
}

TEST(OptionsRules, FieldTextsAreReadByTheirRules) {
    struct Case {
        std::string text;
        size_t length;
        bool valid;
        int32_t value;
    };
    const std::string long_blank = "20" + std::string(78, ' ');
    const Case cases[] = {
        {"20", 2, true, 20},       {"  20  ", 6, true, 20},  {"\t20 ", 4, true, 20},
        {"0020", 4, true, 20},     {"9999", 4, true, 9999},  {"00000", 5, false, 0},
        {"10000", 5, false, 0},    {"", 0, false, 0},        {"   ", 3, false, 0},
        {"+20", 3, false, 0},      {"-5", 2, false, 0},      {"2 0", 3, false, 0},
        {"20px", 4, false, 0},     {"0x10", 4, false, 0},
        // Longer than the field's buffer: refused, even though what was read is "20".
        {long_blank.substr(0, 79), long_blank.size(), false, 0},
        {long_blank.substr(0, 79), 79, true, 20},
    };
    for (const Case& c : cases) {
        int32_t value = -1;
        EXPECT_EQ(read_option_field(c.text.c_str(), c.length, &value), c.valid) << '"' << c.text << '"';
        if (c.valid) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

// A dialog of five texts, recording the order in which its fields are read.
struct FakeDialog {
    const char* texts[5];
    std::vector<int> read;
};
bool read_fake(void* dialog, OptionField field, int32_t* value) {
    FakeDialog* d = static_cast<FakeDialog*>(dialog);
    d->read.push_back(field);
    const char* text = d->texts[field];
    return read_option_field(text, std::char_traits<char>::length(text), value);
}
bool fit_below_100(int32_t top, int32_t left, int32_t bottom, int32_t right) {
    return top + left + bottom + right < 100;
}

TEST(OptionsRules, MarginsAreJudgedBeforeTheSpeedAndAllFourAreRead) {
    struct Case {
        const char* texts[5];
        OptionsVerdict verdict;
        std::vector<int> read;
    };
    const std::vector<int> margins = {field_top, field_bottom, field_left, field_right};
    std::vector<int> all = margins;
    all.push_back(field_speed);
    const Case cases[] = {
        {{"1", "2", "3", "4", "150"}, options_accepted, all},
        {{"x", "2", "3", "4", "x"}, options_invalid_margins, margins},  // both wrong: margins
        {{"1", "2", "3", "", "150"}, options_invalid_margins, margins},
        {{"50", "50", "0", "0", "x"}, options_margins_too_large, margins},
        {{"1", "2", "3", "4", "9"}, options_invalid_speed, all},
        {{"1", "2", "3", "4", "1001"}, options_invalid_speed, all},
        {{"1", "2", "3", "4", "10"}, options_accepted, all},
        {{"1", "2", "3", "4", "1000"}, options_accepted, all},
    };
    for (const Case& c : cases) {
        FakeDialog dialog = {{c.texts[0], c.texts[1], c.texts[2], c.texts[3], c.texts[4]}, {}};
        Settings entered = {5, 0, 0, 0, 0, 0};
        EXPECT_EQ(judge_options(read_fake, &dialog, fit_below_100, &entered), c.verdict) << c.texts[4];
        EXPECT_EQ(dialog.read, c.read);
        if (c.verdict != options_accepted) continue;
        EXPECT_EQ(entered.mode, 5);
        EXPECT_EQ(entered.top_margin, 1);
        EXPECT_EQ(entered.bottom_margin, 2);
        EXPECT_EQ(entered.left_margin, 3);
        EXPECT_EQ(entered.right_margin, 4);
    }
    EXPECT_STREQ(options_refusal(options_margins_too_large), "Margin too large !  Please Re-enter ..");
    // The later button wins; none keeps the saved mode, even one out of range.
    EXPECT_EQ(chosen_mode(5, false, false, false), 5);
    EXPECT_EQ(chosen_mode(5, true, false, false), 1);
    EXPECT_EQ(chosen_mode(5, true, true, false), 2);
    EXPECT_EQ(chosen_mode(1, true, true, true), 0);
}

TEST(AboutState, StripsScrollInStepsOfTwoAndTilesAreCutAtThePanelsEdges) {
    int32_t offset = 0;
    std::vector<int32_t> seen;
    for (int i = 0; i < 6; ++i) seen.push_back(offset = next_strip_offset(offset));
    EXPECT_EQ(seen, (std::vector<int32_t>{8, 6, 4, 2, 0, 8}));
    struct Case {
        int32_t y;
        TileCut cut;
    };
    // A 5-row tile in a 70-row panel.
    const Case cases[] = {{-10, {0, 0, 0}}, {-5, {0, 0, 0}}, {-2, {2, 0, 3}}, {0, {0, 0, 5}},
                          {64, {0, 64, 5}}, {65, {0, 65, 5}}, {66, {0, 66, 4}}, {69, {0, 69, 1}}};
    for (const Case& c : cases) {
        const TileCut cut = cut_tile(c.y, 5, 70);
        EXPECT_EQ(cut.height, c.cut.height) << c.y;
        if (cut.height == 0) continue;
        EXPECT_EQ(cut.source_y, c.cut.source_y) << c.y;
        EXPECT_EQ(cut.target_y, c.cut.target_y) << c.y;
    }
    const AboutPoint panel = about_panel_place(391, 390);
    EXPECT_EQ(panel.x, 294);
    EXPECT_EQ(panel.y, 165);
    EXPECT_EQ(about_logo_place(314, 193, 315).x, 0);
}

}  // namespace
