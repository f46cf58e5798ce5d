// The pet window's procedure on its real messages: the context menu at the pointer from a
// right press and from a left double click (after the click has grabbed and released
// the pet), the menu's entries, and what each command does.
#include <gtest/gtest.h>

#include "resource.h"
#include "support.h"

namespace {

// Closes the open pop-up menu from inside its loop, noting where it stood.
RECT menu_seen;
bool menu_was_open = false;

void CALLBACK close_menu(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND menu = FindWindowA("#32768", nullptr);
    if (!menu || !IsWindowVisible(menu)) return;
    GetWindowRect(menu, &menu_seen);
    menu_was_open = true;
    KillTimer(nullptr, timer);
    EndMenu();
}

class PetWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(start_hidden_pet(display_built));
        apply_first_shape(main_window);
        set_pet_position(200, 300);
        MoveWindow(main_window, 300, 200, 50, 50, FALSE);
        ShowWindow(main_window, SW_SHOWNOACTIVATE);
        menu_was_open = false;
        menu_seen = RECT{};
    }
    void TearDown() override { stop_hidden_pet(); }
    // Sends the message with a timer armed to close the menu it may open.
    void send_with_menu_closer(UINT message, WPARAM wparam, LPARAM lparam) {
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, close_menu);
        SendMessageA(main_window, message, wparam, lparam);
        KillTimer(nullptr, timer);
    }
};

TEST_F(PetWindow, RightPressOpensTheMenuAtThePointer) {
    send_with_menu_closer(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 30));
    ASSERT_TRUE(menu_was_open);
    EXPECT_EQ(menu_seen.left, 320);
    EXPECT_EQ(menu_seen.top, 230);
    EXPECT_TRUE(IsWindow(main_window));  // closing the menu chose nothing
    EXPECT_EQ(SendMessageA(main_window, WM_RBUTTONUP, 0, MAKELPARAM(20, 30)), 0);
}

TEST_F(PetWindow, MenuHoldsContinueOptionsAboutAndExit) {
    const UINT expected[] = {IDM_CONTINUE, 0, IDM_OPTIONS, IDM_ABOUT, 0, IDM_EXIT};
    ASSERT_EQ(GetMenuItemCount(context_menu), 6);
    for (int i = 0; i < 6; ++i) {
        if (!expected[i]) {
            EXPECT_EQ(GetMenuState(context_menu, i, MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));
            continue;
        }
        EXPECT_EQ(GetMenuItemID(context_menu, i), expected[i]) << "entry " << i;
    }
}

TEST_F(PetWindow, DoubleClickGrabsAndReleasesThenOpensTheMenu) {
    // An action with a grab reaction of its own, so the press shows.
    int32_t grabbing = -1;
    for (int32_t i = 0; i < engine->action_count && grabbing < 0; ++i) {
        const int32_t g = engine->actions[i].grab_action;
        if (g > 0 && g - 1 != i) grabbing = i;
    }
    ASSERT_GE(grabbing, 0);
    engine->current_action = grabbing;
    engine->current_frame = 0;
    const int32_t reaction = engine->actions[grabbing].grab_action - 1;

    SendMessageA(main_window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 12));
    EXPECT_EQ(dragging, 1);
    EXPECT_EQ(engine->current_action, reaction);
    SendMessageA(main_window, WM_LBUTTONUP, 0, MAKELPARAM(10, 12));
    EXPECT_EQ(dragging, 0);
    EXPECT_EQ(engine->drag_state, DragState::idle);
    const int32_t after_release = engine->current_action;

    send_with_menu_closer(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 12));
    ASSERT_TRUE(menu_was_open);
    EXPECT_EQ(menu_seen.left, 310);
    EXPECT_EQ(menu_seen.top, 212);
    // The second release finds no drag: nothing changes.
    SendMessageA(main_window, WM_LBUTTONUP, 0, MAKELPARAM(10, 12));
    EXPECT_EQ(dragging, 0);
    EXPECT_EQ(engine->current_action, after_release);
}

TEST_F(PetWindow, ContinueAndUnknownCommandsChangeNothingExitEndsWithZero) {
    const int32_t x = window_x, y = window_y, image = shown_image;
    for (WPARAM command : {WPARAM(IDM_CONTINUE), WPARAM(12345), WPARAM(MAKEWPARAM(IDM_CONTINUE, 1))}) {
        EXPECT_EQ(SendMessageA(main_window, WM_COMMAND, command, 0), 0);
        EXPECT_TRUE(IsWindow(main_window));
    }
    EXPECT_EQ(window_x, x);
    EXPECT_EQ(window_y, y);
    EXPECT_EQ(shown_image, image);
    EXPECT_EQ(halted, 0);

    HWND pet = main_window;
    SendMessageA(pet, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_FALSE(IsWindow(pet));
    EXPECT_EQ(sheet_dc, nullptr);
    MSG message;
    bool quit = false;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        if (message.message == WM_QUIT) quit = message.wParam == 0;
    EXPECT_TRUE(quit);
}

}  // namespace
