// The Options dialog driven as the user drives it: edit texts set, OK or Cancel pressed,
// keys routed through the dialog list; message boxes recorded, the settings file read.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "resource.h"
#include "support.h"

namespace {

class OptionsDialog : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(start_hidden_pet(display_stored));
        char directory[path_size];
        ASSERT_EQ(module_directory(GetModuleHandleA(nullptr), directory), 1);
        path = std::string(directory) + "options_test.ini";
        remove_file();
        std::snprintf(settings_path, sizeof settings_path, "%s", path.c_str());
        saved_settings = {display_stored, 0, 0, 0, 0, 150};
        timer_interval = 150;
    }
    void TearDown() override {
        stop_hidden_pet();
        EXPECT_EQ(options_open, 0);
        EXPECT_EQ(open_dialogs, nullptr);
        remove_file();
    }
    void remove_file() {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        std::remove(path.c_str());
    }
    HWND open() {
        open_options_dialog(main_window);
        return open_dialogs ? open_dialogs->dialog : nullptr;
    }
    void set(HWND dialog, int id, const char* text) { SetDlgItemTextA(dialog, id, text); }
    std::string text(HWND dialog, int id) {
        char buffer[200] = "";
        GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
        return buffer;
    }
    void fill(HWND dialog, const char* top, const char* left, const char* bottom,
              const char* right, const char* speed) {
        set(dialog, IDC_TOP_MARGIN, top);
        set(dialog, IDC_LEFT_MARGIN, left);
        set(dialog, IDC_BOTTOM_MARGIN, bottom);
        set(dialog, IDC_RIGHT_MARGIN, right);
        set(dialog, IDC_SPEED, speed);
    }
    void press(HWND dialog, int id) { SendMessageA(dialog, WM_COMMAND, id, 0); }
    // Delivers what is queued the way the message loop does.
    void pump() {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (route_dialog_message(&message)) continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    void key(HWND dialog, WPARAM code) {
        MSG message = {GetFocus() ? GetFocus() : dialog, WM_KEYDOWN, code, 1, 0, {0, 0}};
        EXPECT_TRUE(route_dialog_message(&message));
        pump();
    }
    bool file_exists() { return std::ifstream(path).good(); }
    std::string contents() {
        std::ifstream in(path);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }
    // The box shown by a rejected OK, and that the dialog stayed as it was.
    void expect_rejected(HWND dialog, const char* message) {
        ASSERT_EQ(boxes.size(), 1u) << message;
        EXPECT_EQ(boxes[0].text, message);
        EXPECT_EQ(boxes[0].caption, "Tuvo");
        EXPECT_EQ(boxes[0].owner, dialog);
        EXPECT_EQ(boxes[0].type, UINT(MB_OK | MB_ICONERROR));
        EXPECT_TRUE(IsWindow(dialog));
        EXPECT_EQ(options_open, 1);
        EXPECT_FALSE(file_exists());
        boxes.clear();
    }
    std::string path;
};

const char* const invalid_margin = "Invalid Margin Values !  Please Re-enter ..";
const char* const margin_too_large = "Margin too large !  Please Re-enter ..";
const char* const invalid_speed = "Invalid Speed Value !  Please Re-enter ..";

TEST_F(OptionsDialog, OpensWithTheSavedSettingsAndOnlyOnce) {
    saved_settings = {display_built, 11, 22, 33, 44, 250};
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(options_open, 1);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), main_window);
    EXPECT_EQ(text(dialog, IDC_TOP_MARGIN), "11");
    EXPECT_EQ(text(dialog, IDC_LEFT_MARGIN), "22");
    EXPECT_EQ(text(dialog, IDC_BOTTOM_MARGIN), "33");
    EXPECT_EQ(text(dialog, IDC_RIGHT_MARGIN), "44");
    EXPECT_EQ(text(dialog, IDC_SPEED), "250");
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_MODE_STORED), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_MODE_BUILT), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_MODE_BLENDED), BST_UNCHECKED);
    open_options_dialog(main_window);  // a second choice does nothing
    ASSERT_NE(open_dialogs, nullptr);
    EXPECT_EQ(open_dialogs->dialog, dialog);
    EXPECT_EQ(open_dialogs->next, nullptr);
}

TEST_F(OptionsDialog, EachModeSelectsItsButton) {
    const int buttons[3] = {IDC_MODE_BLENDED, IDC_MODE_STORED, IDC_MODE_BUILT};
    for (int32_t mode = 0; mode < 3; ++mode) {
        saved_settings.mode = mode;
        HWND dialog = open();
        ASSERT_NE(dialog, nullptr);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(IsDlgButtonChecked(dialog, buttons[i]) == BST_CHECKED, i == mode) << mode;
        press(dialog, IDCANCEL);
    }
}

TEST_F(OptionsDialog, FieldTextsAreReadByTheirRules) {
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    struct Case {
        std::string text;
        bool valid;
        int32_t value;
    };
    const Case cases[] = {
        {"20", true, 20},          {"  20  ", true, 20},       {"\t20 ", true, 20},
        {"0020", true, 20},        {"0", true, 0},             {"9999", true, 9999},
        {"00000", false, 0},       {"10000", false, 0},        {"", false, 0},
        {"    ", false, 0},        {"+20", false, 0},          {"-5", false, 0},
        {"2 0", false, 0},         {"20px", false, 0},         {"x", false, 0},
        {"1e3", false, 0},         {"0x10", false, 0},         {"12.5", false, 0},
        {std::string(77, ' ') + "20", true, 20},  // 79 characters: read in full
        {std::string(78, ' ') + "20", false, 0},  // 80: longer than a field may be
        {"20" + std::string(77, ' ') + "x", false, 0},
        {std::string(300, '7'), false, 0},
    };
    for (const Case& c : cases) {
        set(dialog, IDC_TOP_MARGIN, c.text.c_str());
        int32_t value = -1;
        EXPECT_EQ(read_field(dialog, IDC_TOP_MARGIN, &value), c.valid) << '"' << c.text << '"';
        if (c.valid) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
    // Letters outside ASCII are not digits, whatever the code page makes of them.
    int32_t value = -1;
    SetDlgItemTextW(dialog, IDC_TOP_MARGIN, L"20\x00e9");
    EXPECT_FALSE(read_field(dialog, IDC_TOP_MARGIN, &value));
    SetDlgItemTextW(dialog, IDC_TOP_MARGIN, L"\x4e8c\x5341");
    EXPECT_FALSE(read_field(dialog, IDC_TOP_MARGIN, &value));
}

TEST_F(OptionsDialog, MarginMessageComesFirstAndEveryFieldCounts) {
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    fill(dialog, "1", "2", "3", "x", "5");  // bad margin and bad speed
    press(dialog, IDOK);
    expect_rejected(dialog, invalid_margin);
    EXPECT_EQ(text(dialog, IDC_RIGHT_MARGIN), "x");  // entries stay as typed
    EXPECT_EQ(text(dialog, IDC_SPEED), "5");
    for (int id : {IDC_TOP_MARGIN, IDC_BOTTOM_MARGIN, IDC_LEFT_MARGIN, IDC_RIGHT_MARGIN}) {
        fill(dialog, "1", "2", "3", "4", "150");
        set(dialog, id, "2 0");
        press(dialog, IDOK);
        expect_rejected(dialog, invalid_margin);
    }
    fill(dialog, "10000", "0", "0", "0", "150");  // five characters: invalid, not too large
    press(dialog, IDOK);
    expect_rejected(dialog, invalid_margin);
}

TEST_F(OptionsDialog, MarginsMustLeaveRoomForThePet) {
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    fill(dialog, "0", "487", "0", "488", "9");  // too large wins over a bad speed
    press(dialog, IDOK);
    expect_rejected(dialog, margin_too_large);
    fill(dialog, "360", "0", "359", "0", "150");
    press(dialog, IDOK);
    expect_rejected(dialog, margin_too_large);
    fill(dialog, "359", "487", "359", "487", "150");  // exactly 50 pixels left each way
    press(dialog, IDOK);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(saved_settings.top_margin, 359);
    EXPECT_EQ(saved_settings.left_margin, 487);
    EXPECT_EQ(saved_settings.bottom_margin, 359);
    EXPECT_EQ(saved_settings.right_margin, 487);
}

TEST_F(OptionsDialog, SpeedMustBeTenToAThousand) {
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    for (const char* speed : {"9", "1001", "", "  ", "-10", "+100", "0", "1 50", "150ms", "01000 "}) {
        fill(dialog, "0", "0", "0", "0", speed);
        press(dialog, IDOK);
        expect_rejected(dialog, invalid_speed);
    }
    for (const char* speed : {"10", "1000", " 0150 "}) {
        remove_file();
        saved_settings.timer = 150;
        dialog = open();
        ASSERT_NE(dialog, nullptr) << speed;
        fill(dialog, "0", "0", "0", "0", speed);
        press(dialog, IDOK);
        EXPECT_TRUE(boxes.empty()) << speed;
        EXPECT_FALSE(IsWindow(dialog)) << speed;
    }
    EXPECT_EQ(saved_settings.timer, 150);  // " 0150 " is 150 again: nothing to save
    EXPECT_FALSE(file_exists());
}

TEST_F(OptionsDialog, OkWithoutChangesWritesNothing) {
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    press(dialog, IDOK);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(file_exists());
}

TEST_F(OptionsDialog, ChangedSpeedWritesAllSixKeysForTheNextStart) {
    saved_settings = {display_stored, 1, 2, 3, 4, 150};
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    set(dialog, IDC_SPEED, "200");
    key(dialog, VK_RETURN);  // Enter reaches the dialog through the message loop's routing
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(saved_settings.timer, 200);
    EXPECT_EQ(timer_interval, 150);  // the tick in force stays until the next start
    const std::string saved = contents();
    for (const char* line : {"[Setup]", "Mode=1", "Top Margin=1", "Left Margin=2",
                             "Bottom Margin=3", "Right Margin=4", "Timer=200"})
        EXPECT_NE(saved.find(line), std::string::npos) << line << "\n" << saved;
}

TEST_F(OptionsDialog, CancelEscapeAndTheCloseBoxSaveNothing) {
    for (int way = 0; way < 3; ++way) {
        HWND dialog = open();
        ASSERT_NE(dialog, nullptr);
        fill(dialog, "5", "6", "7", "8", "300");
        CheckDlgButton(dialog, IDC_MODE_STORED, BST_UNCHECKED);
        CheckDlgButton(dialog, IDC_MODE_BLENDED, BST_CHECKED);
        if (way == 0) press(dialog, IDCANCEL);
        if (way == 1) key(dialog, VK_ESCAPE);
        if (way == 2) {
            SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            pump();
        }
        EXPECT_FALSE(IsWindow(dialog)) << way;
        EXPECT_EQ(options_open, 0) << way;
        EXPECT_EQ(open_dialogs, nullptr) << way;
        EXPECT_FALSE(file_exists()) << way;
        EXPECT_EQ(saved_settings.timer, 150);
        EXPECT_EQ(saved_settings.mode, display_stored);
    }
}

TEST_F(OptionsDialog, ModeOutsideTheButtonsIsKeptUntilOneIsChosen) {
    saved_settings.mode = 5;
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    for (int id : {IDC_MODE_STORED, IDC_MODE_BUILT, IDC_MODE_BLENDED})
        EXPECT_EQ(IsDlgButtonChecked(dialog, id), BST_UNCHECKED) << id;
    press(dialog, IDOK);
    EXPECT_FALSE(file_exists());  // mode 5 kept and nothing else changed
    dialog = open();
    set(dialog, IDC_SPEED, "160");
    press(dialog, IDOK);
    EXPECT_NE(contents().find("Mode=5"), std::string::npos);
    dialog = open();
    SendDlgItemMessageA(dialog, IDC_MODE_BLENDED, BM_CLICK, 0, 0);
    press(dialog, IDOK);
    EXPECT_EQ(saved_settings.mode, display_blended);
    EXPECT_NE(contents().find("Mode=0"), std::string::npos);
    EXPECT_EQ(display_mode, display_stored);  // the mode in force is untouched
}

TEST_F(OptionsDialog, LockedFileFailsSilentlyAndKeepsTheNewValues) {
    std::ofstream(path) << "[Setup]\r\nTimer=150\r\n";
    HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    set(dialog, IDC_SPEED, "400");
    press(dialog, IDOK);
    CloseHandle(lock);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(saved_settings.timer, 400);
    EXPECT_NE(contents().find("Timer=150"), std::string::npos) << contents();
}

TEST_F(OptionsDialog, ReadOnlyFileFailsSilentlyAndKeepsTheNewValues) {
    std::ofstream(path) << "[Setup]\r\nTimer=150\r\n";
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    HANDLE probe = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        GTEST_SKIP() << "read-only files are writable here (running as root)";
    }
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    set(dialog, IDC_SPEED, "450");
    press(dialog, IDOK);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(saved_settings.timer, 450);
    EXPECT_NE(contents().find("Timer=150"), std::string::npos) << contents();
}

TEST_F(OptionsDialog, NoMemoryForTheListNodeEndsThePet) {
    app_alloc_fail_countdown = 1;
    open_options_dialog(main_window);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Out of memory");
    EXPECT_FALSE(IsWindow(main_window));
    EXPECT_EQ(options_open, 0);  // the dialog went with its owner
}

TEST_F(OptionsDialog, ClosingThePetTakesTheDialogWithoutSaving) {
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    set(dialog, IDC_SPEED, "500");
    DestroyWindow(main_window);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(options_open, 0);
    EXPECT_FALSE(file_exists());
}

}  // namespace
