// Layout of the X11 menu and dialogs: dialog units to pixels, the menu's entries, keys
// and commands built from the shared texts, labels and the breaking of lines.
#include <FL/Fl.H>
#include <FL/Fl_Menu_Item.H>
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "texts.h"
#include "ui.h"

namespace {

TEST(DialogUnits, ConvertLikeWindowsRoundingEachNumberOnItsOwn) {
    struct Case {
        DialogBox box;
        BaseUnits base;
        int32_t scale;
        PixelBox expected;
    } cases[] = {
        // The classic 9-point dialog font: 6 x 12.
        {{0, 0, OPTIONS_SIZE}, {6, 12}, 1, {0, 0, 258, 225}},
        {{0, 0, ABOUT_SIZE}, {6, 12}, 1, {0, 0, 392, 360}},
        // The face used here: 7 x 15. 150 x 15 / 8 = 281.25, 11 x 15 / 8 = 20.625.
        {{0, 0, OPTIONS_SIZE}, {7, 15}, 1, {0, 0, 301, 281}},
        {{OPTIONS_OK_BOX}, {7, 15}, 1, {222, 21, 70, 32}},
        // Halves round up: 1 x 6 / 4 = 1.5, 1 x 12 / 8 = 1.5.
        {{1, 1, 1, 1}, {6, 12}, 1, {2, 2, 2, 2}},
        // Enlarged after rounding, so a scaled dialog is the small one pixel for pixel.
        {{OPTIONS_OK_BOX}, {7, 15}, 2, {444, 42, 140, 64}},
        {{1, 1, 1, 1}, {6, 12}, 3, {6, 6, 6, 6}},
    };
    for (const Case& c : cases) {
        const PixelBox got = dialog_pixels(c.box, c.base, c.scale);
        EXPECT_EQ(got.x, c.expected.x) << c.box.left << " at scale " << c.scale;
        EXPECT_EQ(got.y, c.expected.y) << c.box.top << " at scale " << c.scale;
        EXPECT_EQ(got.w, c.expected.w) << c.box.width << " at scale " << c.scale;
        EXPECT_EQ(got.h, c.expected.h) << c.box.height << " at scale " << c.scale;
    }
}

TEST(DialogUnits, MulDivRoundsHalvesAwayFromZero) {
    struct Case {
        int32_t a, b, c, expected;
    } cases[] = {
        {3, 1, 2, 2}, {5, 1, 4, 1}, {6, 1, 4, 2}, {7, 1, 4, 2}, {-3, 1, 2, -2}, {3, -1, 2, -2},
        {-5, 1, 4, -1}, {0, 7, 4, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(mul_div(c.a, c.b, c.c), c.expected) << c.a << " x " << c.b << " / " << c.c;
    // The product may pass 32 bits on the way.
    EXPECT_EQ(mul_div(1 << 20, 1 << 20, 1 << 20), 1 << 20);
}

TEST(DialogUnits, BaseUnitsAreTheRoundedAverageLetterWidthAndTheFontHeight) {
    struct Case {
        int32_t letters, height;
        BaseUnits expected;
    } cases[] = {
        {6 * 52, 12, {6, 12}},
        {7 * 52, 15, {7, 15}},
        {338, 15, {7, 15}},  // 6.5 on average rounds up
        {337, 15, {6, 15}},  // just below 6.5
        {0, 0, {0, 0}},
    };
    for (const Case& c : cases) {
        const BaseUnits got = base_units_from(c.letters, c.height);
        EXPECT_EQ(got.x, c.expected.x) << c.letters;
        EXPECT_EQ(got.y, c.expected.y) << c.letters;
    }
}

// The key the user types, as FLTK's menu tests it against the items' mnemonics: as
// typed, then, when nothing took it, with its case flipped.
const Fl_Menu_Item* item_for_key(const Fl_Menu_Item* items, char key) {
    static char text[2];
    Fl::e_text = text;
    Fl::e_length = 1;
    Fl::e_state = 0;
    text[0] = key;
    if (const Fl_Menu_Item* item = items->find_shortcut()) return item;
    text[0] = static_cast<char>(std::isupper(key) ? std::tolower(key) : std::toupper(key));
    return items->find_shortcut();
}

TEST(ContextMenu, HasTheEntriesOfTheMenuResourceWithTheirSeparators) {
    const char* texts[] = {TEXT_MENU_CONTINUE, TEXT_MENU_OPTIONS, TEXT_MENU_ABOUT, TEXT_MENU_EXIT};
    const int32_t commands[] = {command_continue, command_options, command_about, command_exit};
    const bool separators[] = {true, false, true, false};
    for (int32_t scale = 1; scale <= 3; ++scale) {
        Fl_Menu_Item items[menu_entry_count + 1];
        fill_menu_items(items, scale);
        EXPECT_EQ(items[0].size(), menu_entry_count + 1) << "four entries and the terminator";
        for (int i = 0; i < menu_entry_count; ++i) {
            EXPECT_STREQ(items[i].label(), texts[i]);
            EXPECT_EQ(menu_command_of(&items[i]), commands[i]);
            EXPECT_EQ((items[i].flags & FL_MENU_DIVIDER) != 0, separators[i]) << texts[i];
            EXPECT_EQ(items[i].labelsize(), 12 * scale);
            EXPECT_EQ(items[i].labelfont(), FL_HELVETICA);
        }
    }
    EXPECT_EQ(menu_command_of(nullptr), command_none);
}

TEST(ContextMenu, MnemonicKeysPickTheirEntries) {
    Fl_Menu_Item items[menu_entry_count + 1];
    fill_menu_items(items, 1);
    struct Case {
        char key;
        int32_t command;
    } cases[] = {
        {'c', command_continue}, {'o', command_options}, {'a', command_about}, {'e', command_exit},
        {'E', command_exit},     {'x', command_none},    {'f', command_none},  // the hidden pop-up's own
    };
    for (const Case& c : cases) EXPECT_EQ(menu_command_of(item_for_key(items, c.key)), c.command) << c.key;
}

TEST(Labels, AnAtSignIsShownAsItself) {
    const char* cases[][2] = {
        {"tuvo@example.org", "tuvo@@example.org"},
        {"@", "@@"},
        {"no sign", "no sign"},
        {"", ""},
    };
    for (auto& c : cases) EXPECT_EQ(plain_label(c[0]), c[1]);
}

// A stand-in for a font: one unit per byte of ASCII, two per wide character.
double units(const char* text, int bytes) {
    double width = 0;
    for (int i = 0; i < bytes;) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        width += length == 1 ? 1 : 2;
        i += length;
    }
    return width;
}

TEST(LineBreaking, BreaksBetweenWordsAndAroundChineseCharacters) {
    struct Case {
        const char* text;
        double width;
        const char* expected;
    } cases[] = {
        {"hello world foo", 11, "hello world\nfoo"},
        {"hello world", 5, "hello\nworld"},
        {"  ab  cd  ", 2, "ab\ncd"},
        {"abcdefghij", 4, "abcd\nefgh\nij"},  // a word wider than a line is cut
        {"abc", 0, "a\nb\nc"},                // every line takes at least one character
        {"一二三四五", 6, "一二三\n四五"},
        {"一二，三四", 4, "一\n二，\n三四"},  // a comma never starts a line
        {"一（二三", 4, "一\n（二\n三"},      // an opening bracket never ends one
        {"Tuvo 是一只猫", 8, "Tuvo 是\n一只猫"},
        {"ab\ncd", 10, "ab\ncd"},  // the text's own breaks stay
        {"ab\n\ncd", 10, "ab\n\ncd"},
        {"short", 100, "short"},
        {"", 10, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(wrap_text(c.text, c.width, units), c.expected) << c.text;
}

TEST(LineBreaking, NoLineOfTheAboutStoryIsWiderThanItsBox) {
    for (double width : {40.0, 80.0, 120.0}) {
        const std::string lines = wrap_text(TEXT_ABOUT_STORY, width, units);
        std::string joined;
        size_t start = 0;
        for (;;) {
            const size_t end = lines.find('\n', start);
            const std::string line = lines.substr(start, end == std::string::npos ? std::string::npos : end - start);
            EXPECT_LE(units(line.c_str(), static_cast<int>(line.size())), width) << line;
            joined += line;
            if (end == std::string::npos) break;
            start = end + 1;
        }
        // Nothing is lost but the blanks at the breaks.
        std::string expected;
        for (const char* p = TEXT_ABOUT_STORY; *p; ++p) expected += *p;
        std::string squeezed_joined, squeezed_expected;
        for (char ch : joined)
            if (ch != ' ') squeezed_joined += ch;
        for (char ch : expected)
            if (ch != ' ') squeezed_expected += ch;
        EXPECT_EQ(squeezed_joined, squeezed_expected);
    }
}

}  // namespace
