// Frame presentation in memory device contexts: the mode-0 blend and the mirrored copy
// checked pixel by pixel, and the drag move's clamping to the margins.
#include <gtest/gtest.h>

#include "support.h"

namespace {

COLORREF backdrop_colour(int x, int y) { return RGB(x * 5, y * 5, 128); }

COLORREF sheet_pixel(int32_t image, bool mirrored, int x, int y) {
    const RECT cell = image_rect(image, sheet_columns);
    return GetPixel(sheet_dc, cell.left + (mirrored ? 49 - x : x), cell.top + y);
}

class BlendedDisplay : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(start_hidden_pet(display_blended)); }
    void TearDown() override { stop_hidden_pet(); }
};

TEST_F(BlendedDisplay, FrameStandsOverTheSnapshotWithoutKeyColour) {
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x) SetPixel(backdrop_dc, x, y, backdrop_colour(x, y));
    for (int32_t mirrored : {0, 1}) {
        shown_image = 23;
        shown_mirrored = mirrored;
        compose_frame();
        int pet = 0, mismatches = 0;
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 50; ++x) {
                const COLORREF source = sheet_pixel(23, mirrored, x, y);
                const COLORREF expected = source == key_colour ? backdrop_colour(x, y) : source;
                pet += source != key_colour;
                if (GetPixel(compose_dc, x, y) != expected) ++mismatches;
            }
        EXPECT_GT(pet, 0);
        EXPECT_EQ(mismatches, 0) << "mirrored " << mirrored;
    }
}

// A stand-in for the screen whose every pixel says where it is.
COLORREF screen_colour(int x, int y) { return RGB(x % 256, y % 256, 7); }
COLORREF old_snapshot_colour(int x, int y) { return RGB(x * 5, y * 5, 200); }

TEST_F(BlendedDisplay, MoveTakesTheDesktopBehindAndKeepsTheOverlapFromTheOldSnapshot) {
    HDC screen = screen_dc;
    HDC fake = CreateCompatibleDC(screen);
    HBITMAP fake_bitmap = CreateCompatibleBitmap(screen, 300, 300);
    HGDIOBJ previous = SelectObject(fake, fake_bitmap);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 300; ++x) SetPixel(fake, x, y, screen_colour(x, y));
    screen_dc = fake;
    const int old_x = 100, old_y = 100;
    for (auto [dx, dy] : {std::pair{10, 0}, {-7, 13}, {49, -49}, {50, 0}, {0, -50}}) {
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 50; ++x) SetPixel(backdrop_dc, x, y, old_snapshot_colour(x, y));
        set_pet_position(old_y + dy, old_x + dx);
        present_frame(main_window, old_x, old_y, 1);
        int mismatches = 0;
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 50; ++x) {
                // Where the old window stood the screen shows the pet: that part must
                // come from the old snapshot.
                const int sx = window_x + x, sy = window_y + y;
                const bool under_old = sx >= old_x && sx < old_x + 50 && sy >= old_y && sy < old_y + 50;
                const COLORREF expected =
                    under_old ? old_snapshot_colour(sx - old_x, sy - old_y) : screen_colour(sx, sy);
                mismatches += GetPixel(backdrop_dc, x, y) != expected;
            }
        EXPECT_EQ(mismatches, 0) << "move by " << dx << ", " << dy;
    }
    screen_dc = screen;
    SelectObject(fake, previous);
    DeleteObject(fake_bitmap);
    DeleteDC(fake);
}

TEST_F(BlendedDisplay, MirroredCopyTakesTheCellRightToLeft) {
    for (int32_t image : {0, 9, 160}) {
        shown_image = image;
        shown_mirrored = 1;
        copy_frame(scratch_dc);
        int mismatches = 0;
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 50; ++x)
                if (GetPixel(scratch_dc, x, y) != sheet_pixel(image, true, x, y)) ++mismatches;
        EXPECT_EQ(mismatches, 0) << "image " << image;
    }
}

TEST_F(BlendedDisplay, DragMoveStaysInsideTheMargins) {
    margin_left = 10;
    margin_top = 20;
    margin_right = 30;
    margin_bottom = 40;
    set_pet_position(100, 100);
    dragging = 1;
    grab_x = grab_y = 25;
    drag_move(main_window, MK_LBUTTON, -5000, -5000);
    EXPECT_EQ(window_x, 10);
    EXPECT_EQ(window_y, 20);
    drag_move(main_window, MK_LBUTTON, 5000, 5000);
    EXPECT_EQ(window_x, 1024 - 30 - 50);
    EXPECT_EQ(window_y, 768 - 40 - 50);
    EXPECT_EQ(engine->x, window_x);
    EXPECT_EQ(engine->y, window_y);
    RECT placed;
    GetWindowRect(main_window, &placed);
    EXPECT_EQ(placed.left, window_x);
    EXPECT_EQ(placed.top, window_y);
    drag_move(main_window, MK_LBUTTON, 30, 35);  // pointer 5 and 10 past the grab point
    EXPECT_EQ(window_x, 1024 - 30 - 50 + 5 - 5);
    drag_move(main_window, 0, -5000, -5000);  // left button not down: nothing
    EXPECT_EQ(window_x, 1024 - 30 - 50);
    dragging = 0;
    drag_move(main_window, MK_LBUTTON, -5000, -5000);
    EXPECT_EQ(window_x, 1024 - 30 - 50);
    margin_left = margin_top = margin_right = margin_bottom = 0;
}

TEST_F(BlendedDisplay, DragMoveOnTooSmallAScreenObeysRightAndBottom) {
    margin_left = 1000;
    margin_right = 100;
    dragging = 1;
    drag_move(main_window, MK_LBUTTON, 0, 0);
    EXPECT_EQ(window_x, 1024 - 100 - 50);
    margin_left = margin_right = 0;
}

}  // namespace
