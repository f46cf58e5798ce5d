// The shell's failure routines and dialog list, and what a halted program still does.
#include <gtest/gtest.h>

#include "support.h"

namespace {

TEST(DialogList, UnregisterRemovesOnlyTheGivenDialog) {
    reset_shell();
    HWND first = reinterpret_cast<HWND>(0x1010), second = reinterpret_cast<HWND>(0x2020);
    unregister_dialog(first);  // never registered: nothing happens
    EXPECT_EQ(open_dialogs, nullptr);
    register_dialog(first);
    register_dialog(second);
    ASSERT_NE(open_dialogs, nullptr);
    EXPECT_EQ(open_dialogs->dialog, second);
    unregister_dialog(reinterpret_cast<HWND>(0x3030));
    ASSERT_NE(open_dialogs->next, nullptr);
    unregister_dialog(first);
    ASSERT_NE(open_dialogs, nullptr);
    EXPECT_EQ(open_dialogs->dialog, second);
    EXPECT_EQ(open_dialogs->next, nullptr);
    unregister_dialog(second);
    EXPECT_EQ(open_dialogs, nullptr);
}

TEST(Failures, OutOfMemoryShowsItsBoxAndEndsThePet) {
    ASSERT_TRUE(start_hidden_pet(display_built));
    app_alloc_fail_countdown = 1;
    EXPECT_EQ(alloc_or_quit(16), nullptr);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Out of memory");
    EXPECT_EQ(boxes[0].type, UINT(MB_OK | MB_ICONERROR));
    EXPECT_FALSE(IsWindow(main_window));
    EXPECT_EQ(sheet_dc, nullptr);  // the destroy handling released the display
    stop_hidden_pet();
}

TEST(Failures, HaltSilencesTicksAndPaintsWhileTheBoxIsOpen) {
    ASSERT_TRUE(start_hidden_pet(display_built));
    apply_first_shape(main_window);
    ShowWindow(main_window, SW_SHOWNOACTIVATE);
    int ticks_moved = 0, paints_left_invalid = 0;
    while_box_open = [&] {
        const int32_t x = window_x, y = window_y, image = shown_image;
        for (int i = 0; i < 40; ++i) SendMessageA(main_window, WM_TIMER, tick_timer, 0);
        ticks_moved += x != window_x || y != window_y || image != shown_image;
        InvalidateRect(main_window, nullptr, FALSE);
        SendMessageA(main_window, WM_PAINT, 0, 0);
        // A halted paint draws nothing but must not leave the window invalid.
        paints_left_invalid += GetUpdateRect(main_window, nullptr, FALSE) != 0;
    };
    halt_with_warning(main_window, "Fail to identify the window for painting");
    EXPECT_EQ(ticks_moved, 0);
    EXPECT_EQ(paints_left_invalid, 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].type, UINT(MB_OK | MB_ICONWARNING));
    EXPECT_EQ(boxes[0].caption, "Tuvo");
    EXPECT_FALSE(IsWindow(main_window));
    EXPECT_EQ(halted, 1);
    stop_hidden_pet();
}

TEST(Ticks, ShapeChangesOnlyWithTheFrame) {
    ASSERT_TRUE(start_hidden_pet(display_built));
    apply_first_shape(main_window);
    int checked = 0;
    for (int i = 0; i < 200; ++i) {
        const int32_t image = shown_image, mirrored = shown_mirrored;
        HRGN before = CreateRectRgn(0, 0, 0, 0), after = CreateRectRgn(0, 0, 0, 0);
        GetWindowRgn(main_window, before);
        on_tick(main_window);
        GetWindowRgn(main_window, after);
        HRGN expected = nullptr;
        build_frame_shape(&expected, shown_image, shown_mirrored);
        if (image == shown_image && mirrored == shown_mirrored) {
            EXPECT_TRUE(EqualRgn(before, after));
        } else {
            EXPECT_TRUE(EqualRgn(expected, after));
            ++checked;
        }
        DeleteObject(expected);
        DeleteObject(before);
        DeleteObject(after);
    }
    EXPECT_GT(checked, 0);
    stop_hidden_pet();
}

TEST(Ticks, HeldPetOnlyAnimatesInPlace) {
    ASSERT_TRUE(start_hidden_pet(display_stored));
    ASSERT_EQ(apply_first_shape(main_window), 1);
    set_pet_position(300, 400);
    begin_drag(main_window, 70, -3);
    EXPECT_EQ(grab_x, 50);
    EXPECT_EQ(grab_y, 0);
    for (int i = 0; i < 50; ++i) on_tick(main_window);
    EXPECT_EQ(window_x, 400);
    EXPECT_EQ(window_y, 300);
    end_drag();
    EXPECT_EQ(dragging, 0);
    EXPECT_EQ(grab_x, 0);
    end_drag();  // a second release does nothing
    stop_hidden_pet();
}

}  // namespace
