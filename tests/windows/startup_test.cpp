// Start-up of the real program in this process: every display resource, the timer, the
// first paint and every allocation refused in turn, each showing its own message and
// ending the run with no window left (and, before the pet is shown, no pet on the
// screen); and a start that succeeds in each display mode, runs and ends through Exit
// with code 0.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "resource.h"
#include "support.h"

namespace {

constexpr const char* window_dc_text = "Fail to identify the window device context";
constexpr const char* cursor_text = "Fail to load the cursor image";
constexpr const char* memory_dc_text = "Fail to create the window device context";
constexpr const char* load_text = "Insufficient memory to load bitmap image";
constexpr const char* data_text = "Unexpected error: Data error in bitmap image";
constexpr const char* bitmap_text = "Insufficient memory to create bitmap image";
constexpr const char* menu_text = "Insufficient memory to load pop-up menu";
constexpr const char* timer_text = "Too many clocks or timers! Fail to set timer";

// The messages of start-up's refusable steps, in the order start-up takes them.
std::vector<const char*> refusable_steps(int32_t mode) {
    if (mode == display_blended)
        return {window_dc_text, cursor_text,
                memory_dc_text, memory_dc_text, memory_dc_text,  // backdrop, scratch, key mask
                memory_dc_text,                                  // the whole display
                memory_dc_text, memory_dc_text,                  // compose, sheet
                bitmap_text, bitmap_text, bitmap_text,           // backdrop, scratch, key mask
                bitmap_text,                                     // compose
                load_text, load_text,                            // sprite sheet, its size
                menu_text, menu_text, timer_text};
    return {window_dc_text, cursor_text,
            memory_dc_text,                  // mask
            memory_dc_text, memory_dc_text,  // compose, sheet
            load_text, load_text,            // mask sheet, its size
            bitmap_text,                     // compose
            load_text, load_text,            // sprite sheet, its size
            menu_text, menu_text, timer_text};
}

bool pet_visible() {
    for (HWND pet = FindWindowA(window_class_name, nullptr); pet;
         pet = FindWindowExA(nullptr, pet, window_class_name, nullptr))
        if (IsWindowVisible(pet)) return true;
    return false;
}

bool quit_posted_with_zero() {
    MSG message;
    bool zero = false;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        if (message.message == WM_QUIT) zero = message.wParam == 0;
    return zero;
}

// Start-up reads "tuvo.ini" beside the executable: each case writes its display mode there.
class StartUp : public ::testing::Test {
protected:
    void SetUp() override {
        char directory[path_size];
        module_directory(GetModuleHandleA(nullptr), directory);
        path = std::string(directory) + "tuvo.ini";
        fresh_start(display_stored);
    }
    void TearDown() override {
        end_pet();
        std::remove(path.c_str());
        system_fail_countdown = app_alloc_fail_countdown = alloc_fail_countdown = 0;
        free_engine();
        reset_shell();
    }
    void fresh_start(int32_t mode) {
        end_pet();
        free_engine();
        reset_shell();
        main_window = nullptr;
        std::ofstream(path, std::ios::binary) << "[Setup]\r\nMode=" << mode << "\r\n";
        pet_seen_during_box = false;
        while_box_open = [this] { pet_seen_during_box |= pet_visible(); };
    }
    void end_pet() {
        if (main_window && IsWindow(main_window)) DestroyWindow(main_window);
        quit_posted_with_zero();
    }
    // A failed start: nothing of the pet is on the screen or left behind.
    void expect_nothing_left(const std::string& context) {
        EXPECT_FALSE(pet_seen_during_box) << context;
        EXPECT_FALSE(pet_visible()) << context;
        EXPECT_FALSE(main_window && IsWindow(main_window)) << context;
        EXPECT_EQ(sheet_dc, nullptr) << context;
        EXPECT_EQ(compose_dc, nullptr) << context;
        EXPECT_EQ(mask_dc, nullptr) << context;
        EXPECT_EQ(screen_dc, nullptr) << context;
        EXPECT_EQ(shapes, nullptr) << context;
    }
    std::string path;
    bool pet_seen_during_box = false;
};

TEST_F(StartUp, EachRefusedStepShowsItsWarningAndLeavesNoPet) {
    for (int32_t mode : {0, 1, 2, 3}) {
        const std::vector<const char*> steps = refusable_steps(mode);
        for (size_t step = 1; step <= steps.size(); ++step) {
            const std::string context = "mode " + std::to_string(mode) + ", step " + std::to_string(step);
            fresh_start(mode);
            system_fail_countdown = long(step);
            EXPECT_EQ(start_pet(GetModuleHandleA(nullptr), SW_SHOWNOACTIVATE), 0) << context;
            EXPECT_EQ(system_fail_countdown, 0) << context;  // the step refused was this one
            ASSERT_EQ(boxes.size(), 1u) << context;
            EXPECT_EQ(boxes[0].text, steps[step - 1]) << context;
            EXPECT_EQ(boxes[0].caption, "Tuvo") << context;
            EXPECT_EQ(boxes[0].type, UINT(MB_OK | MB_ICONWARNING)) << context;
            EXPECT_EQ(halted, 1) << context;
            expect_nothing_left(context);
        }
        // The next request is the first paint's, once the pet is shown: refused, it ends
        // the run through the destroyed window, and the message loop then ends with 0.
        fresh_start(mode);
        system_fail_countdown = long(steps.size() + 1);
        EXPECT_EQ(start_pet(GetModuleHandleA(nullptr), SW_SHOWNOACTIVATE), 1) << "mode " << mode;
        EXPECT_EQ(system_fail_countdown, 0) << "mode " << mode;
        ASSERT_EQ(boxes.size(), 1u) << "mode " << mode;
        EXPECT_EQ(boxes[0].text, "Fail to identify the window for painting");
        EXPECT_EQ(boxes[0].type, UINT(MB_OK | MB_ICONWARNING));
        EXPECT_EQ(halted, 1);
        EXPECT_FALSE(IsWindow(main_window));
        EXPECT_EQ(sheet_dc, nullptr);
        EXPECT_EQ(run_message_loop(), 0);
        // One further there is nothing left to refuse: the list above is complete.
        fresh_start(mode);
        system_fail_countdown = long(steps.size() + 2);
        EXPECT_EQ(start_pet(GetModuleHandleA(nullptr), SW_SHOWNOACTIVATE), 1) << "mode " << mode;
        EXPECT_EQ(system_fail_countdown, 1) << "mode " << mode;
        EXPECT_TRUE(boxes.empty());
    }
}

TEST_F(StartUp, EachRefusedAllocationShowsOutOfMemoryAndLeavesNoPet) {
    // The mask bits in every mode but 0; then the two shape tables in mode 1.
    for (auto [mode, allocations] : {std::pair{0, 0}, {1, 3}, {2, 1}, {3, 1}}) {
        for (int allocation = 1; allocation <= allocations + 1; ++allocation) {
            const std::string context = "mode " + std::to_string(mode) + ", allocation " +
                                        std::to_string(allocation);
            fresh_start(mode);
            app_alloc_fail_countdown = allocation;
            const int started = start_pet(GetModuleHandleA(nullptr), SW_SHOWNOACTIVATE);
            if (allocation > allocations) {  // none left to refuse
                EXPECT_EQ(started, 1) << context;
                EXPECT_TRUE(boxes.empty()) << context;
                continue;
            }
            EXPECT_EQ(started, 0) << context;
            ASSERT_EQ(boxes.size(), 1u) << context;
            EXPECT_EQ(boxes[0].text, "Out of memory") << context;
            EXPECT_EQ(boxes[0].caption, "Tuvo") << context;
            EXPECT_EQ(boxes[0].type, UINT(MB_OK | MB_ICONERROR)) << context;
            EXPECT_NE(boxes[0].owner, nullptr) << context;  // the hidden pet window
            expect_nothing_left(context);
        }
    }
}

// The window system refusing every new window, as a hook of this thread tells it to.
LRESULT CALLBACK refuse_windows(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_CREATEWND) return 1;
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

TEST_F(StartUp, WindowThatCannotBeCreatedEndsTheStartWithAWarning) {
    HHOOK hook = SetWindowsHookExA(WH_CBT, refuse_windows, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    const int started = start_pet(GetModuleHandleA(nullptr), SW_SHOWNOACTIVATE);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(started, 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Fail to create the main window");
    EXPECT_EQ(boxes[0].caption, "Tuvo");
    EXPECT_EQ(boxes[0].type, UINT(MB_OK | MB_ICONWARNING));
    EXPECT_EQ(main_window, nullptr);
    expect_nothing_left("window refused");
    EXPECT_FALSE(quit_posted_with_zero());  // nothing is left to wait for a quit
}

TEST_F(StartUp, NoMemoryForTheEngineEndsTheStartBeforeAnyWindow) {
    alloc_fail_countdown = 1;
    EXPECT_EQ(start_pet(GetModuleHandleA(nullptr), SW_SHOWNOACTIVATE), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.rfind("** ERROR : Fail to allocate memory", 0), 0u) << boxes[0].text;
    EXPECT_EQ(boxes[0].type, UINT(MB_OK | MB_ICONERROR));
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_EQ(main_window, nullptr);
    EXPECT_EQ(FindWindowA(window_class_name, nullptr), nullptr);
}

TEST_F(StartUp, SheetWithFewerCellsThanImagesIsADataError) {
    for (int32_t mode : {0, 1}) {  // the sprite sheet's check, and the mask's before it
        ASSERT_TRUE(start_hidden_pet(mode));
        stop_hidden_pet();
        reset_shell();
        engine->image_count = 171;
        main_window = CreateWindowExA(WS_EX_TOOLWINDOW, window_class_name, window_title, WS_POPUP,
                                      0, 0, 50, 50, nullptr, nullptr, app_instance, nullptr);
        EXPECT_EQ(init_display(main_window), 0);
        engine->image_count = 170;
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, data_text);
        EXPECT_EQ(boxes[0].type, UINT(MB_OK | MB_ICONWARNING));
        stop_hidden_pet();
    }
}

TEST_F(StartUp, PetRunsInEachModeAndExitEndsTheLoopWithZero) {
    for (int32_t mode : {0, 1, 2, 3}) {
        fresh_start(mode);
        ASSERT_EQ(start_pet(GetModuleHandleA(nullptr), SW_SHOWNOACTIVATE), 1) << "mode " << mode;
        EXPECT_TRUE(boxes.empty());
        EXPECT_TRUE(IsWindowVisible(main_window));
        const LONG style = GetWindowLongA(main_window, GWL_STYLE);
        const LONG ex_style = GetWindowLongA(main_window, GWL_EXSTYLE);
        EXPECT_EQ(style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME), 0) << "mode " << mode;
        EXPECT_EQ(ex_style & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_APPWINDOW),
                  WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
        RECT placed;
        GetWindowRect(main_window, &placed);
        EXPECT_EQ(placed.left, window_x);
        EXPECT_EQ(placed.top, window_y);
        EXPECT_EQ(placed.right - placed.left, 50);
        EXPECT_EQ(placed.bottom - placed.top, 50);

        HRGN held = CreateRectRgn(0, 0, 0, 0);
        const int kind = GetWindowRgn(main_window, held);
        if (mode == display_blended) {
            HRGN square = CreateRectRgn(0, 0, 50, 50);
            EXPECT_TRUE(EqualRgn(held, square));
            DeleteObject(square);
        } else if (mode == 3) {
            EXPECT_EQ(kind, ERROR);  // unshaped until the first change of frame
        } else {
            HRGN expected = nullptr;
            build_frame_shape(&expected, shown_image, shown_mirrored);
            EXPECT_TRUE(EqualRgn(held, expected)) << "mode " << mode;
            DeleteObject(expected);
        }
        DeleteObject(held);

        // The timer runs: a tick arrives within a few seconds.
        bool ticked = false;
        MSG message;
        for (DWORD start = GetTickCount(); !ticked && GetTickCount() - start < 5000;) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_TIMER);
            ticked = PeekMessageA(&message, main_window, WM_TIMER, WM_TIMER, PM_NOREMOVE) != 0;
        }
        EXPECT_TRUE(ticked) << "mode " << mode;

        PostMessageA(main_window, WM_COMMAND, IDM_EXIT, 0);
        EXPECT_EQ(run_message_loop(), 0);
        EXPECT_FALSE(IsWindow(main_window));
        EXPECT_EQ(sheet_dc, nullptr);
        EXPECT_EQ(shapes, nullptr);
    }
}

}  // namespace
