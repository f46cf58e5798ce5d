// The pet window when things go other than planned: the menu opened while the pet is held
// and the pointer lies left of and above it, the capture taken away in the middle of a
// drag, a second press while still held, a window that cannot be created and a window
// shape that the window system refuses.
#include <gtest/gtest.h>

#include "support.h"

namespace {

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

class HeldPet : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(start_hidden_pet(display_built));
        apply_first_shape(main_window);
        set_pet_position(300, 300);
        MoveWindow(main_window, 300, 300, 50, 50, FALSE);
        ShowWindow(main_window, SW_SHOWNOACTIVATE);
        menu_was_open = false;
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
        stop_hidden_pet();
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
    // The pointer at (100, 100) on the screen: client coordinates (-200, -200).
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, close_menu);
    SendMessageA(main_window, WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(-200, -200));
    KillTimer(nullptr, timer);
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
