// The About box: where the panel and the title go, the strips' scroll, the frame held
// until the first paint, the composed panel's pixels, and every failure of its set-up
// ending the program with all of the box's objects freed.
#include <gtest/gtest.h>

#include <string>

#include "about.h"
#include "support.h"

namespace {

TEST(AboutLayout, PanelAndTitleFollowTheClientArea) {
    POINT panel = about_panel_origin(391, 390);
    EXPECT_EQ(panel.x, 294);  // 192 x 391 / 255, truncated
    EXPECT_EQ(panel.y, 165);  // 82 x 390 / 193
    panel = about_panel_origin(255, 193);
    EXPECT_EQ(panel.x, 192);
    EXPECT_EQ(panel.y, 82);
    POINT logo = about_logo_origin(391, 390, 315);
    EXPECT_EQ(logo.x, 38);
    EXPECT_EQ(logo.y, 16);  // 390 x 8 / 193
    logo = about_logo_origin(314, 193, 315);  // narrower than the title: flush left
    EXPECT_EQ(logo.x, 0);
    EXPECT_EQ(logo.y, 8);
    EXPECT_EQ(about_logo_origin(315, 100, 315).x, 0);
}

TEST(AboutLayout, StripOffsetsRunEightDownToZero) {
    int32_t offset = 0;
    const int32_t expected[] = {8, 6, 4, 2, 0, 8, 6, 4, 2, 0, 8};
    for (int32_t want : expected) {
        offset = next_strip_offset(offset);
        EXPECT_EQ(offset, want);
    }
}

class AboutBox : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(start_hidden_pet(display_stored)); }
    void TearDown() override {
        stop_hidden_pet();
        about_fail_countdown = 0;
        EXPECT_EQ(about_open, 0);
        EXPECT_EQ(open_dialogs, nullptr);
    }
    HWND open() {
        open_about_dialog(main_window);
        return open_dialogs ? open_dialogs->dialog : nullptr;
    }
    void tick(HWND dialog) { SendMessageA(dialog, WM_TIMER, about_timer, 0); }
    // Runs one animation from its first frame, with nothing painted yet.
    void play(HWND dialog, int32_t action) {
        engine->about_action = action;
        engine->about_frame = 0;
        awaiting_first_paint = 1;
        ValidateRect(dialog, nullptr);
    }
};

TEST_F(AboutBox, OpensOnceWithItsObjectsAndClosesEveryWay) {
    for (int way = 0; way < 3; ++way) {
        HWND dialog = open();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(about_open, 1);
        open_about_dialog(main_window);  // a second choice does nothing
        EXPECT_EQ(open_dialogs->next, nullptr);
        EXPECT_EQ(awaiting_first_paint, 1);
        EXPECT_EQ(engine->about_frame, 0);
        EXPECT_GE(engine->about_action, 0);
        EXPECT_LT(engine->about_action, 62);
        EXPECT_EQ(logo_width, 315);
        EXPECT_EQ(logo_height, 137);
        EXPECT_EQ(panel_width, 76);
        EXPECT_EQ(panel_height, 70);
        EXPECT_EQ(tile_width, 7);
        EXPECT_EQ(tile_height, 5);
        RECT client;
        GetClientRect(dialog, &client);
        const POINT origin = about_panel_origin(client.right, client.bottom);
        EXPECT_EQ(panel_x, origin.x);
        EXPECT_EQ(panel_y, origin.y);
        HGDIOBJ objects[] = {logo_dc, logo_mask_dc, panel_bg_dc, tile_dc, cat_mask_dc, cat_dc,
                             canvas_dc, logo_bitmap, logo_mask_bitmap, panel_bitmap, tile_bitmap,
                             cat_mask_bitmap, cat_bitmap, canvas_bitmap, nullptr};
        HWND picture = FindWindowExA(dialog, nullptr, "Static", nullptr);
        while (picture && (GetWindowLongA(picture, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP)
            picture = FindWindowExA(dialog, picture, "Static", nullptr);
        ASSERT_NE(picture, nullptr);
        objects[14] = reinterpret_cast<HGDIOBJ>(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
        for (HGDIOBJ object : objects) EXPECT_NE(GetObjectType(object), 0u);
        if (way == 0) SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        if (way == 1) {
            MSG escape = {dialog, WM_KEYDOWN, VK_ESCAPE, 1, 0, {0, 0}};
            EXPECT_TRUE(route_dialog_message(&escape));
        }
        if (way == 2) SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        EXPECT_FALSE(IsWindow(dialog)) << way;
        EXPECT_EQ(about_open, 0);
        EXPECT_EQ(open_dialogs, nullptr);
        EXPECT_EQ(canvas_dc, nullptr);
        EXPECT_EQ(logo_bitmap, nullptr);
        for (HGDIOBJ object : objects) EXPECT_EQ(GetObjectType(object), 0u) << way;
    }
}

TEST_F(AboutBox, EachOpeningDrawsAnAnimationAndKeepsTheStripOffset) {
    bool seen[62] = {};
    int distinct = 0;
    for (int opening = 0; opening < 5; ++opening) {
        strip_offset = 4;
        HWND dialog = open();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(strip_offset, 4);
        EXPECT_EQ(engine->about_frame, 0);
        distinct += !seen[engine->about_action];
        seen[engine->about_action] = true;
        tick(dialog);
        tick(dialog);
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    }
    EXPECT_GE(distinct, 3);
}

TEST_F(AboutBox, FrameAdvancesOnlyAfterTheFirstPaint) {
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    play(dialog, 23);  // "70,r70"
    strip_offset = 0;
    tick(dialog);  // nothing painted yet: the first frame stays, and this tick paints it
    EXPECT_EQ(engine->about_frame, 0);
    EXPECT_EQ(awaiting_first_paint, 0);
    EXPECT_EQ(strip_offset, 8);
    const int32_t expected[] = {1, 0, 1, 0};
    for (int32_t frame : expected) {
        tick(dialog);
        EXPECT_EQ(engine->about_frame, frame);
        EXPECT_EQ(current_about_frame(), frame ? -70 : 70);
    }
    EXPECT_EQ(strip_offset, 0);
    play(dialog, 0);  // six frames, wrapping
    tick(dialog);
    for (int i = 1; i <= 7; ++i) tick(dialog);
    EXPECT_EQ(engine->about_frame, 1);
}

// A window that records the area it is asked to paint and whether it was erased.
HRGN painted_area = nullptr;
int paints = 0, erases = 0;

LRESULT CALLBACK recording_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_ERASEBKGND) ++erases;
    if (message != WM_PAINT) return DefWindowProcA(window, message, wparam, lparam);
    ++paints;
    GetUpdateRgn(window, painted_area, FALSE);
    ValidateRect(window, nullptr);
    return 0;
}

TEST_F(AboutBox, TickRepaintsOnlyTheCatAndTheStripsAtOnce) {
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    WNDCLASSA recording = {};
    recording.lpfnWndProc = recording_proc;
    recording.hInstance = app_instance;
    recording.lpszClassName = "TuvoRecordingWindow";
    RegisterClassA(&recording);
    // The tick's invalidation replayed on a window of the same size that records it.
    HWND window = CreateWindowExA(0, recording.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0,
                                  client_width, client_height, nullptr, nullptr, app_instance, nullptr);
    ASSERT_NE(window, nullptr);
    UpdateWindow(window);
    painted_area = CreateRectRgn(0, 0, 0, 0);
    paints = erases = 0;
    on_about_tick(window);
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(erases, 0);
    HRGN expected = CreateRectRgn(0, 0, 0, 0);
    const RECT parts[] = {
        {panel_x + about_cat_left, panel_y + about_cat_top, panel_x + about_cat_left + 50,
         panel_y + about_cat_top + 50},
        {panel_x + about_strip_left, panel_y, panel_x + about_strip_left + tile_width, panel_y + panel_height},
        {panel_x + about_strip_right, panel_y, panel_x + about_strip_right + tile_width, panel_y + panel_height}};
    for (const RECT& part : parts) {
        HRGN piece = CreateRectRgnIndirect(&part);
        CombineRgn(expected, expected, piece, RGN_OR);
        DeleteObject(piece);
    }
    RECT box;
    EXPECT_NE(GetRgnBox(painted_area, &box), NULLREGION);
    EXPECT_TRUE(EqualRgn(painted_area, expected));
    DeleteObject(expected);
    DeleteObject(painted_area);
    DestroyWindow(window);
}

TEST_F(AboutBox, PanelShowsTheCatOverTheBackgroundWithoutKeyColour) {
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    strip_offset = 4;  // tiles at rows -6, 4, 14, ...
    for (int32_t frame = 0; frame < 2; ++frame) {
        engine->about_action = 23;  // image 70 plain, then mirrored
        engine->about_frame = frame;
        compose_about_panel();
        const int32_t image = 69, column = image % sheet_columns, row = image / sheet_columns;
        int cat_pixels = 0, background_pixels = 0;
        for (int y = 0; y < 50; ++y) {
            for (int x = 0; x < 50; ++x) {
                const int sx = column * 50 + (frame ? 49 - x : x), sy = row * 50 + y;
                const COLORREF sprite = GetPixel(sheet_dc, sx, sy);
                const COLORREF shown = GetPixel(canvas_dc, about_cat_left + x, about_cat_top + y);
                const COLORREF behind = GetPixel(panel_bg_dc, about_cat_left + x, about_cat_top + y);
                if (sprite == key_colour) {
                    ++background_pixels;
                    ASSERT_EQ(shown, behind) << x << "," << y;
                } else {
                    ++cat_pixels;
                    ASSERT_EQ(shown, sprite) << x << "," << y;
                }
            }
        }
        EXPECT_GT(cat_pixels, 200);
        EXPECT_GT(background_pixels, 200);
        for (int y = 0; y < panel_height; ++y)
            for (int x = 0; x < panel_width; ++x) ASSERT_NE(GetPixel(canvas_dc, x, y), key_colour);
    }
    // The strips: a tile's bottom row cut at the top edge, whole tiles below.
    for (int x = 0; x < tile_width; ++x) {
        EXPECT_EQ(GetPixel(canvas_dc, about_strip_left + x, 0), GetPixel(tile_dc, x, 4));
        EXPECT_EQ(GetPixel(canvas_dc, about_strip_right + x, 0), GetPixel(tile_dc, x, 4));
        for (int y = 0; y < tile_height; ++y) {
            EXPECT_EQ(GetPixel(canvas_dc, about_strip_left + x, 4 + y), GetPixel(tile_dc, x, y));
            EXPECT_EQ(GetPixel(canvas_dc, about_strip_right + x, 64 + y), GetPixel(tile_dc, x, y));
        }
        EXPECT_EQ(GetPixel(canvas_dc, about_strip_left + x, 1), GetPixel(panel_bg_dc, about_strip_left + x, 1));
    }
    // What the dialog shows is the canvas, copied in one piece.
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    HDC shown = GetDC(dialog);
    int same = 0;
    for (int y = 0; y < panel_height; ++y)
        for (int x = 0; x < panel_width; ++x)
            same += GetPixel(shown, panel_x + x, panel_y + y) == GetPixel(canvas_dc, x, y);
    ReleaseDC(dialog, shown);
    EXPECT_EQ(same, panel_width * panel_height);
}

TEST_F(AboutBox, TitlePictureLetsTheDialogShowThroughItsBlack) {
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const POINT at = about_logo_origin(client_width, client_height, logo_width);
    HDC shown = GetDC(dialog);
    const COLORREF face = GetPixel(shown, 4, client_height - 2);  // the dialog's own colour
    int black_seen = 0, drawn = 0, wrong = 0;
    for (int y = 0; y < logo_height; y += 3) {
        for (int x = 0; x < logo_width; x += 3) {
            const COLORREF logo = GetPixel(logo_dc, x, y), pixel = GetPixel(shown, at.x + x, at.y + y);
            if (logo == RGB(0, 0, 0)) {
                ++black_seen;
                wrong += pixel == RGB(0, 0, 0);
            } else {
                ++drawn;
                wrong += pixel != logo;
            }
        }
    }
    ReleaseDC(dialog, shown);
    EXPECT_NE(face, RGB(0, 0, 0));
    EXPECT_GT(black_seen, 100);
    EXPECT_GT(drawn, 100);
    EXPECT_EQ(wrong, 0);
}

TEST_F(AboutBox, EverySetUpFailureHaltsWithItsMessageAndFreesTheBox) {
    const char* const messages[] = {
        "Fail to identify the dialog window",          "Fail to load bitmap image",
        "Insufficient memory to create bitmap image",  "Fail to load bitmap image",
        "Fail to load bitmap image",                   "Insufficient memory to create bitmap image",
        "Insufficient memory to create bitmap image",  "Insufficient memory to create bitmap image",
        "Insufficient memory to create memory device", "Insufficient memory to create memory device",
        "Insufficient memory to create memory device", "Insufficient memory to create memory device",
        "Insufficient memory to create memory device", "Insufficient memory to create memory device",
        "Insufficient memory to create memory device", "Too many clocks or timers! Fail to set timer",
        "Fail to identify the dialog window for painting"};
    for (int step = 1; step <= 17; ++step) {
        if (step > 1) {
            ASSERT_TRUE(start_hidden_pet(display_stored));
        }
        about_fail_countdown = step;
        open_about_dialog(main_window);
        if (step == 17) {  // set-up went through; the first paint fails
            ASSERT_NE(open_dialogs, nullptr);
            UpdateWindow(open_dialogs->dialog);
        }
        ASSERT_EQ(boxes.size(), 1u) << step;
        EXPECT_EQ(boxes[0].text, messages[step - 1]) << step;
        EXPECT_EQ(boxes[0].type, UINT(MB_OK | MB_ICONWARNING));
        EXPECT_EQ(halted, 1);
        EXPECT_FALSE(IsWindow(main_window)) << step;
        EXPECT_EQ(about_open, 0) << step;
        EXPECT_EQ(open_dialogs, nullptr) << step;
        for (HDC dc : {logo_dc, logo_mask_dc, panel_bg_dc, tile_dc, cat_mask_dc, cat_dc, canvas_dc})
            EXPECT_EQ(dc, nullptr) << step;
        for (HBITMAP bitmap : {logo_bitmap, logo_mask_bitmap, panel_bitmap, tile_bitmap,
                               cat_mask_bitmap, cat_bitmap, canvas_bitmap})
            EXPECT_EQ(bitmap, nullptr) << step;
        stop_hidden_pet();
        about_fail_countdown = 0;
    }
}

TEST_F(AboutBox, NoMemoryForTheListNodeEndsThePetAndLeavesNothing) {
    app_alloc_fail_countdown = 1;
    open_about_dialog(main_window);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Out of memory");
    EXPECT_FALSE(IsWindow(main_window));
    EXPECT_EQ(about_open, 0);
    EXPECT_EQ(canvas_dc, nullptr);
    EXPECT_EQ(logo_bitmap, nullptr);
}

TEST_F(AboutBox, HaltedBoxNeitherAnimatesNorPaints) {
    HWND dialog = open();
    ASSERT_NE(dialog, nullptr);
    UpdateWindow(dialog);
    halted = 1;
    const int32_t frame = engine->about_frame, offset = strip_offset;
    tick(dialog);
    tick(dialog);
    EXPECT_EQ(engine->about_frame, frame);
    EXPECT_EQ(strip_offset, offset);
    halted = 0;
}

}  // namespace
