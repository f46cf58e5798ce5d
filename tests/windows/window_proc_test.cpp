// The pet window's procedure on its real messages: the context menu at the pointer from a
// right press and from a left double click (after the click has grabbed and released
// the pet), the menu's entries, what each command does, and a drag cut short.
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

// The pet when things go other than planned: the menu opened while it is held and the
// pointer lies left of and above it, the capture taken away in the middle of a drag, a
// second press while still held, and a window shape that the window system refuses.
class HeldPet : public PetWindow {
protected:
    void SetUp() override {
        PetWindow::SetUp();
        // An action whose grab switches to another and whose release reaction is a third
        // action, so grab and release both show in the engine.
        for (int32_t i = 0; i < engine->action_count && action < 0; ++i) {
            const ActionDef& a = engine->actions[i];
            if (a.grab_action > 0 && a.grab_action - 1 != i && a.release_action > 0 &&
                a.release_action - 1 != i)
                action = i;
        }
        ASSERT_GE(action, 0);
        engine->current_action = action;
        engine->current_frame = 0;
        held = engine->actions[action].grab_action - 1;
        reaction = engine->actions[action].release_action - 1;
    }
    void TearDown() override {
        ReleaseCapture();
        PetWindow::TearDown();
    }
    void press() {
        SendMessageA(main_window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
        ASSERT_EQ(dragging, 1);
        ASSERT_EQ(engine->current_action, held);
    }
    void expect_released_once() {
        EXPECT_EQ(dragging, 0);
        EXPECT_EQ(engine->drag_state, DragState::idle);
        EXPECT_EQ(engine->current_action, reaction);
        EXPECT_EQ(grab_x, 0);
        EXPECT_EQ(grab_y, 0);
    }
    int32_t action = -1, held = -1, reaction = -1;
};

TEST_F(HeldPet, MenuOpensAtThePointerLeftOfAndAboveTheHeldPet) {
    press();
    // The pointer at (100, 100) on the screen: client coordinates (-200, -100).
    send_with_menu_closer(WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(-200, -100));
    ASSERT_TRUE(menu_was_open);
    EXPECT_EQ(menu_seen.left, 100);
    EXPECT_EQ(menu_seen.top, 100);
    // The menu took the capture: the drag is over and the release reaction has run.
    expect_released_once();
}

TEST_F(HeldPet, CaptureTakenByAnotherWindowEndsTheDragWithTheReleaseReaction) {
    press();
    EXPECT_EQ(GetCapture(), main_window);
    HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 app_instance, nullptr);
    ASSERT_NE(other, nullptr);
    SetCapture(other);
    expect_released_once();
    EXPECT_EQ(GetCapture(), other);  // the pet does not take it back
    // A release that reaches the pet later changes nothing more.
    SendMessageA(main_window, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(engine->current_action, reaction);
    ReleaseCapture();
    DestroyWindow(other);
}

TEST_F(HeldPet, CaptureReleasedFromOutsideEndsTheDragLikeARelease) {
    press();
    ReleaseCapture();
    expect_released_once();
    // The ticks are the behaviour's again, not the held animation's.
    engine->current_frame = 0;
    SendMessageA(main_window, WM_TIMER, tick_timer, 0);
    EXPECT_EQ(engine->drag_state, DragState::idle);
}

TEST_F(HeldPet, OwnReleaseRunsTheReleaseReactionOnceAndGivesTheCaptureBack) {
    press();
    SendMessageA(main_window, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    expect_released_once();
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(HeldPet, SecondPressWhileHeldDoesNotGrabAgain) {
    press();
    const HCURSOR cursor_before_drag = saved_cursor;
    SendMessageA(main_window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 10));
    EXPECT_EQ(dragging, 1);
    EXPECT_EQ(engine->saved_action, action);  // not the held action
    EXPECT_EQ(saved_cursor, cursor_before_drag);  // not the drag cursor
    EXPECT_EQ(grab_x, 30);
    EXPECT_EQ(grab_y, 10);
    SendMessageA(main_window, WM_LBUTTONUP, 0, MAKELPARAM(30, 10));
    expect_released_once();
}

// The window system refusing a shape: the region is deleted, not leaked or recorded.
HRGN refused_region = nullptr;
int WINAPI refuse_region(HWND, HRGN region, BOOL) {
    refused_region = region;
    return 0;
}

TEST(RefusedShape, IsDeletedAndNotRecordedInEveryMode) {
    for (int32_t mode : {display_blended, display_stored, display_built}) {
        ASSERT_TRUE(start_hidden_pet(mode));
        if (mode == display_stored) {
            ASSERT_EQ(precompute_shapes(), 1);
        }
        set_window_region = refuse_region;
        refused_region = nullptr;
        if (mode == display_blended)
            apply_first_shape(main_window);
        else
            apply_frame_shape();
        set_window_region = SetWindowRgn;
        ASSERT_NE(refused_region, nullptr) << "mode " << mode;
        EXPECT_EQ(GetObjectType(refused_region), 0u) << "mode " << mode;  // deleted
        EXPECT_EQ(window_shape, nullptr) << "mode " << mode;
        // An accepted shape is the window's and stays alive.
        if (mode != display_blended) {
            apply_frame_shape();
            EXPECT_NE(window_shape, nullptr);
            HRGN held = CreateRectRgn(0, 0, 0, 0);
            EXPECT_NE(GetWindowRgn(main_window, held), ERROR);
            DeleteObject(held);
        }
        stop_hidden_pet();
    }
}

}  // namespace
