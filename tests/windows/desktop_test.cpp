// The pet on today's desktops: drawn, shaped, moved and dragged at scale 2; started from
// a settings file with the desktop's keys; carried to another monitor, put back when the
// monitors change, and stepping aside for a full-screen window.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "about.h"
#include "support.h"

namespace {

constexpr ScreenRect primary = {0, 0, 1024, 768};

COLORREF sheet_pixel(int32_t image, bool mirrored, int x, int y) {
    const RECT cell = image_rect(image, sheet_columns);
    return GetPixel(sheet_dc, cell.left + (mirrored ? 49 - x : x), cell.top + y);
}

DWORD WINAPI no_process() { return 0; }

// Puts everything the desktop changes back to one screen at scale 1.
void reset_desktop() {
    pet_scale = 1;
    window_width = window_height = 50;
    roam_monitors = 0;
    step_aside = 0;
    stepped_aside = 0;
    scale_setting = 0;
    read_monitors = system_monitors;
    own_process_id = GetCurrentProcessId;
    screen_margins = {0, 0, 0, 0};
    enter_world(world_on(primary, 1, screen_margins, 50));
}

// A hidden pet with its display objects made for the given scale.
bool start_scaled_pet(int32_t mode, int32_t scale) {
    reset_desktop();
    if (!start_hidden_pet(mode)) return false;
    stop_hidden_pet();
    pet_scale = scale;
    window_width = window_height = 50 * scale;
    enter_world(world_on(primary, scale, screen_margins, 50));
    main_window = CreateWindowExA(WS_EX_TOOLWINDOW, window_class_name, window_title, WS_POPUP, 0, 0,
                                  window_width, window_height, nullptr, nullptr, app_instance, nullptr);
    return main_window && init_display(main_window) == 1;
}

class ScaledPet : public ::testing::Test {
protected:
    void TearDown() override {
        stop_hidden_pet();
        reset_desktop();
    }
};

TEST_F(ScaledPet, FrameIsDrawnInWholeBlocksPlainAndMirrored) {
    ASSERT_TRUE(start_scaled_pet(display_stored, 2));
    for (int32_t image : {0, 23, 160})
        for (int32_t mirrored : {0, 1}) {
            shown_image = image;
            shown_mirrored = mirrored;
            compose_frame();
            int mismatches = 0;
            for (int y = 0; y < 100; ++y)
                for (int x = 0; x < 100; ++x)
                    mismatches += GetPixel(compose_dc, x, y) != sheet_pixel(image, mirrored, x / 2, y / 2);
            EXPECT_EQ(mismatches, 0) << "image " << image << " mirrored " << mirrored;
        }
}

TEST_F(ScaledPet, BlendedFrameStandsOverTheSnapshotInWholeBlocks) {
    ASSERT_TRUE(start_scaled_pet(display_blended, 2));
    auto backdrop = [](int x, int y) { return RGB(x * 2, y * 2, 99); };
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) SetPixel(backdrop_dc, x, y, backdrop(x, y));
    shown_image = 23;
    shown_mirrored = 1;
    compose_frame();
    int mismatches = 0, key = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) {
            const COLORREF source = sheet_pixel(23, true, x / 2, y / 2);
            const COLORREF seen = GetPixel(compose_dc, x, y);
            key += seen == key_colour;
            mismatches += seen != (source == key_colour ? backdrop(x, y) : source);
        }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(key, 0);
}

int rectangles(HRGN region) { return int(GetRegionData(region, 0, nullptr) - sizeof(RGNDATAHEADER)) / int(sizeof(RECT)); }

TEST_F(ScaledPet, ShapeIsTheOutlineScaledWithNoMoreRectangles) {
    ASSERT_TRUE(start_scaled_pet(display_built, 2));
    for (int32_t image : {0, 11, 99, 169})
        for (int32_t mirrored : {0, 1}) {
            HRGN large = nullptr, small = nullptr;
            build_frame_shape(&large, image, mirrored);
            pet_scale = 1;
            build_frame_shape(&small, image, mirrored);
            pet_scale = 2;
            ASSERT_NE(large, nullptr);
            const RECT cell = image_rect(image, mask_columns);
            int mismatches = 0;
            for (int y = 0; y < 100; ++y)
                for (int x = 0; x < 100; ++x) {
                    const int sx = mirrored ? 49 - x / 2 : x / 2;
                    mismatches += (PtInRegion(large, x, y) != 0) != mask_opaque(cell.left + sx, cell.top + y / 2);
                }
            EXPECT_EQ(mismatches, 0) << "image " << image << " mirrored " << mirrored;
            EXPECT_EQ(rectangles(large), rectangles(small)) << "image " << image;
            DeleteObject(large);
            DeleteObject(small);
        }
}

TEST_F(ScaledPet, MovesAndIsCarriedInScreenPixels) {
    ASSERT_TRUE(start_scaled_pet(display_blended, 2));
    EXPECT_EQ(screen_width, 512);
    EXPECT_EQ(screen_height, 384);
    const int32_t old_x = window_x, old_y = window_y;
    set_pet_position(100, 200);
    present_frame(main_window, old_x, old_y, 1);
    RECT placed;
    GetWindowRect(main_window, &placed);
    EXPECT_EQ(placed.left, 400);
    EXPECT_EQ(placed.top, 200);
    EXPECT_EQ(placed.right - placed.left, 100);
    // Held at window pixel (21, 21): pet pixel (10, 10). The pointer 20 screen pixels to
    // the right carries the pet 10 of its own pixels, 20 on the screen.
    begin_drag(main_window, 21, 21);
    EXPECT_EQ(grab_x, 10);
    EXPECT_EQ(grab_y, 10);
    drag_move(main_window, MK_LBUTTON, 41, 21);
    EXPECT_EQ(window_x, 210);
    EXPECT_EQ(window_y, 100);
    GetWindowRect(main_window, &placed);
    EXPECT_EQ(placed.left, 420);
    // Clamped to the world's edge: the window's right edge on the screen's.
    drag_move(main_window, MK_LBUTTON, 5000, 5000);
    EXPECT_EQ(window_x, 512 - 50);
    EXPECT_EQ(window_y, 384 - 50);
    GetWindowRect(main_window, &placed);
    EXPECT_EQ(placed.right, 1024);
    EXPECT_EQ(placed.bottom, 768);
    end_drag();
}

TEST_F(ScaledPet, AboutBoxDrawsItsPicturesAtThePetsScale) {
    ASSERT_TRUE(start_scaled_pet(display_stored, 2));
    open_about_dialog(main_window);
    ASSERT_NE(open_dialogs, nullptr);
    HWND dialog = open_dialogs->dialog;
    // At 96 DPI the box is not enlarged: the larger pictures run under the texts and out of
    // the box. With the controls hidden, what lies inside the box is what the box drew.
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        ShowWindow(child, SW_HIDE);
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    auto inside = [](int x, int y) { return x < client_width && y < client_height; };
    auto in_panel = [](int x, int y) {
        return x >= panel_x && y >= panel_y && x < panel_x + 2 * panel_width && y < panel_y + 2 * panel_height;
    };
    // The panel, each of its pixels a 2 x 2 block on the dialog.
    HDC shown = GetDC(dialog);
    int wrong = 0, seen = 0;
    for (int y = 0; y < panel_height * 2; ++y)
        for (int x = 0; x < panel_width * 2; ++x) {
            if (!inside(panel_x + x, panel_y + y)) continue;
            ++seen;
            wrong += GetPixel(shown, panel_x + x, panel_y + y) != GetPixel(canvas_dc, x / 2, y / 2);
        }
    EXPECT_GT(seen, panel_width * panel_height);
    EXPECT_EQ(wrong, 0);
    // The title, its black letting the dialog show through.
    const POINT at = about_logo_origin(client_width, client_height, logo_width * 2);
    wrong = 0;
    for (int y = 0; y < logo_height * 2; y += 3)
        for (int x = 0; x < logo_width * 2; x += 3) {
            const COLORREF logo = GetPixel(logo_dc, x / 2, y / 2);
            if (logo != RGB(0, 0, 0) && inside(at.x + x, at.y + y) && !in_panel(at.x + x, at.y + y))
                wrong += GetPixel(shown, at.x + x, at.y + y) != logo;
        }
    ReleaseDC(dialog, shown);
    EXPECT_EQ(wrong, 0);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        ShowWindow(child, SW_SHOW);
    // The portrait control holds a copy twice the size of its picture.
    HWND portrait = nullptr;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) portrait = child;
    ASSERT_NE(portrait, nullptr);
    BITMAP large;
    ASSERT_NE(GetObjectA(reinterpret_cast<HBITMAP>(SendMessageA(portrait, STM_GETIMAGE, IMAGE_BITMAP, 0)),
                         sizeof large, &large), 0);
    HBITMAP original = LoadBitmapA(app_instance, MAKEINTRESOURCEA(114));
    BITMAP small;
    GetObjectA(original, sizeof small, &small);
    DeleteObject(original);
    EXPECT_EQ(large.bmWidth, small.bmWidth * 2);
    EXPECT_EQ(large.bmHeight, small.bmHeight * 2);
    DestroyWindow(dialog);
}

// Start-up with the desktop's keys in the settings file beside the test program.
class DesktopStart : public ::testing::Test {
protected:
    void SetUp() override {
        char directory[path_size];
        module_directory(GetModuleHandleA(nullptr), directory);
        path = std::string(directory) + "tuvo.ini";
    }
    void TearDown() override {
        if (main_window && IsWindow(main_window)) DestroyWindow(main_window);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {}
        std::remove(path.c_str());
        free_engine();
        reset_shell();
        reset_desktop();
    }
    // Starts the pet with these lines in section "Setup"; returns the window's rectangle.
    RECT start_with(const std::string& lines) {
        if (main_window && IsWindow(main_window)) DestroyWindow(main_window);
        free_engine();
        reset_shell();
        std::ofstream(path, std::ios::binary) << "[Setup]\r\n" << lines;
        RECT placed = {};
        EXPECT_EQ(start_pet(GetModuleHandleA(nullptr), SW_SHOWNOACTIVATE), 1) << lines;
        if (main_window) GetWindowRect(main_window, &placed);
        return placed;
    }
    std::string path;
};

TEST_F(DesktopStart, ScaleFromTheFileSizesAndPlacesTheWindow) {
    const struct {
        const char* lines;
        int32_t scale;
        bool refused;  // "Invalid Margin Values !" and all four margins 0
    } table[] = {
        {"Mode=1\r\n", 1, false}, {"Mode=1\r\nScale=0\r\n", 1, false}, {"Mode=2\r\nScale=2\r\n", 2, false},
        {"Mode=0\r\nScale=8\r\n", 3, false},  // 1024 / 4 = 256 wide is less than 320: lowered to 3
        {"Mode=1\r\nScale=9\r\n", 1, false},  // out of range: the display's 96 DPI
        // Margins that leave 80 pixels: room for the 50-pixel pet, not the 100-pixel one.
        // Judged at the scale the file asks for, as the Options dialog judges them: refused.
        {"Mode=1\r\nScale=2\r\nLeft Margin=472\r\nRight Margin=472\r\n", 2, true}};
    for (const auto& row : table) {
        const char* lines = row.lines;
        const int32_t scale = row.scale;
        const RECT placed = start_with(lines);
        EXPECT_EQ(pet_scale, scale) << lines;
        EXPECT_EQ(placed.right - placed.left, 50 * scale) << lines;
        EXPECT_EQ(placed.bottom - placed.top, 50 * scale) << lines;
        EXPECT_EQ(placed.left, window_x * scale) << lines;
        EXPECT_EQ(placed.top, window_y * scale) << lines;
        EXPECT_EQ(screen_width, 1024 / scale) << lines;
        EXPECT_EQ(boxes.size(), row.refused ? 1u : 0u) << lines;
        if (row.refused) {
            EXPECT_EQ(boxes[0].text, "Invalid Margin Values !");
            EXPECT_EQ(margin_left + margin_right + saved_settings.left_margin + saved_settings.right_margin, 0);
        }
    }
    // The margins in force are the pet's own pixels, rounded up; the saved ones stay.
    start_with("Scale=2\r\nTop Margin=31\r\nLeft Margin=100\r\n");
    EXPECT_EQ(margin_top, 16);
    EXPECT_EQ(margin_left, 50);
    EXPECT_EQ(saved_settings.top_margin, 31);
    EXPECT_EQ(saved_settings.left_margin, 100);
    EXPECT_GE(window_x, 50);
}

// The primary screen at 192 DPI.
MonitorLayout high_dpi_screen() {
    MonitorLayout layout = {};
    layout.count = 1;
    layout.monitors[0] = primary;
    layout.dpis[0] = 192;
    return layout;
}

TEST_F(DesktopStart, MarginsAreJudgedAtTheScaleThePrimaryGivesAsTheDialogJudgesThem) {
    read_monitors = high_dpi_screen;
    // Room for the pet at scale 1, none at the 2 that 192 DPI gives: refused, all four.
    start_with("Top Margin=10\r\nLeft Margin=472\r\nRight Margin=472\r\n");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Invalid Margin Values !");
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_EQ(pet_scale, 2);
    EXPECT_EQ(margin_top + margin_left + margin_right, 0);
    EXPECT_EQ(saved_settings.top_margin + saved_settings.left_margin + saved_settings.right_margin, 0);
    EXPECT_FALSE(margins_fit_next_start(10, 472, 0, 472));
    // What fits at scale 2 is taken at scale 2, in whole pet pixels; the dialog agrees.
    start_with("Left Margin=460\r\nRight Margin=462\r\n");
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(pet_scale, 2);
    EXPECT_EQ(margin_left, 230);
    EXPECT_EQ(margin_right, 231);
    EXPECT_EQ(saved_settings.right_margin, 462);
    EXPECT_TRUE(margins_fit_next_start(0, 460, 0, 462));
    // Scale=1 in the file: judged at scale 1, where they fit.
    start_with("Scale=1\r\nLeft Margin=472\r\nRight Margin=472\r\n");
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(pet_scale, 1);
    EXPECT_EQ(margin_left, 472);
    EXPECT_TRUE(margins_fit_next_start(0, 472, 0, 472));
}

TEST_F(DesktopStart, DesktopKeysAreReadAndLeftAloneByTheSave) {
    start_with("Scale=3\r\nMonitors=0\r\nFullscreen=0\r\n");
    EXPECT_EQ(scale_setting, 3);
    EXPECT_EQ(roam_monitors, 0);
    EXPECT_EQ(step_aside, 0);
    saved_settings.timer = 300;
    save_settings();
    EXPECT_EQ(GetPrivateProfileIntA("Setup", "Scale", -1, settings_path), 3u);
    EXPECT_EQ(GetPrivateProfileIntA("Setup", "Monitors", -1, settings_path), 0u);
    start_with("Monitors=5\r\n");  // missing keys and any other value turn them on
    EXPECT_EQ(scale_setting, 0);
    EXPECT_EQ(roam_monitors, 1);
    EXPECT_EQ(step_aside, 1);
}

// Two monitors side by side, the second taller and right of the primary one.
MonitorLayout two_monitors() {
    MonitorLayout layout = {};
    layout.count = 2;
    layout.monitors[0] = primary;
    layout.monitors[1] = {1024, 0, 2304, 1024};
    return layout;
}
MonitorLayout primary_alone() {
    MonitorLayout layout = {};
    layout.count = 1;
    layout.monitors[0] = primary;
    return layout;
}

class Monitors : public ScaledPet {
protected:
    void SetUp() override {
        ASSERT_TRUE(start_scaled_pet(display_built, 1));
        read_monitors = two_monitors;
        set_pet_position(100, 100);
        MoveWindow(main_window, 100, 100, 50, 50, FALSE);
    }
    RECT placed() {
        RECT r;
        GetWindowRect(main_window, &r);
        return r;
    }
};

TEST_F(Monitors, HeldPetFollowsThePointerToAnotherMonitorAndStaysThere) {
    roam_monitors = 1;
    begin_drag(main_window, 10, 10);
    // The pointer at (1500, 300) on the screen.
    drag_move(main_window, MK_LBUTTON, 1500 - 100, 300 - 100);
    EXPECT_EQ(screen_width, 1280);
    EXPECT_EQ(screen_height, 1024);
    EXPECT_EQ(window_x, 1500 - 1024 - 10);
    EXPECT_EQ(window_y, 300 - 10);
    EXPECT_EQ(placed().left, 1490);
    // Down to where only the taller monitor reaches: clamped to its bottom.
    drag_move(main_window, MK_LBUTTON, 1100 - 1490, 2000 - 290);
    EXPECT_EQ(placed().top, 1024 - 50);
    end_drag();
    EXPECT_EQ(pet_world.monitor.left, 1024);  // dropped there, it lives there
    for (int i = 0; i < 50; ++i) behaviour_step();
    EXPECT_GE(window_x, 0);
    EXPECT_LE(window_x, 1280 - 50);
}

TEST_F(Monitors, PrimaryOnlyKeepsThePetOnThePrimaryMonitor) {
    begin_drag(main_window, 10, 10);
    drag_move(main_window, MK_LBUTTON, 1500 - 100, 300 - 100);
    EXPECT_EQ(screen_width, 1024);
    EXPECT_EQ(placed().left, 1024 - 50);
    end_drag();
}

TEST_F(Monitors, PetOfAMonitorThatIsGoneMovesToThePrimaryInsideIt) {
    roam_monitors = 1;
    begin_drag(main_window, 0, 0);
    drag_move(main_window, MK_LBUTTON, 2200 - 100, 900 - 100);
    end_drag();
    ASSERT_EQ(pet_world.monitor.left, 1024);
    read_monitors = primary_alone;
    SendMessageA(main_window, WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
    EXPECT_EQ(screen_width, 1024);
    EXPECT_EQ(pet_world.monitor.left, 0);
    EXPECT_EQ(window_x, 1024 - 50);
    EXPECT_EQ(window_y, 768 - 50);
    EXPECT_EQ(placed().left, 1024 - 50);
    EXPECT_EQ(placed().top, 768 - 50);
}

TEST_F(Monitors, ScreenThatShrankPutsThePetBackInsideWithPrimaryOnly) {
    // As if the screen had been 2048 x 1536 until now; it is the real 1024 x 768 again.
    enter_world(world_on({0, 0, 2048, 1536}, 1, screen_margins, 50));
    set_pet_position(1400, 1900);
    SendMessageA(main_window, WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
    EXPECT_EQ(screen_width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(window_x, screen_width - 50);
    EXPECT_EQ(window_y, screen_height - 50);
    EXPECT_EQ(placed().left, window_x);
}

// A caption-less window over the whole screen in the foreground, counted as another
// program's.
class FullScreen : public Monitors {
protected:
    void SetUp() override {
        Monitors::SetUp();
        ShowWindow(main_window, SW_SHOWNOACTIVATE);
        step_aside = 1;
        own_process_id = no_process;
    }
    void TearDown() override {
        if (cover) DestroyWindow(cover);
        Monitors::TearDown();
    }
    void cover_screen(DWORD style, bool maximised, DWORD ex_style = 0) {
        cover = CreateWindowExA(ex_style, "STATIC", "cover", style, 0, 0, 1024, 768, nullptr, nullptr,
                                app_instance, nullptr);
        ASSERT_NE(cover, nullptr);
        ShowWindow(cover, maximised ? SW_SHOWMAXIMIZED : SW_SHOW);
        SetForegroundWindow(cover);
        ASSERT_EQ(GetForegroundWindow(), cover);
    }
    void tick() { SendMessageA(main_window, WM_TIMER, tick_timer, 0); }
    HWND cover = nullptr;
};

TEST_F(FullScreen, PetHidesAndPausesUntilTheWindowGoes) {
    cover_screen(WS_POPUP, false);
    const int32_t x = window_x, y = window_y, frame = engine->current_frame;
    const int32_t action = engine->current_action;
    for (int i = 0; i < 20; ++i) tick();
    EXPECT_FALSE(IsWindowVisible(main_window));
    EXPECT_EQ(engine->current_frame, frame);
    EXPECT_EQ(engine->current_action, action);
    DestroyWindow(cover);
    cover = nullptr;
    tick();
    EXPECT_TRUE(IsWindowVisible(main_window));
    // Back as it went: the tick that shows it takes no step.
    EXPECT_EQ(placed().left, x);
    EXPECT_EQ(placed().top, y);
    EXPECT_EQ(engine->current_frame, frame);
    EXPECT_EQ(engine->current_action, action);
    tick();
    EXPECT_NE(engine->current_frame * 1000 + engine->current_action, frame * 1000 + action);  // and on it goes
    EXPECT_NE(GetWindowLongA(main_window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);  // on top again
}

TEST_F(FullScreen, MaximisedWindowWithACaptionIsNotFullScreen) {
    cover_screen(WS_OVERLAPPEDWINDOW, true);
    for (int i = 0; i < 5; ++i) tick();
    EXPECT_TRUE(IsWindowVisible(main_window));
}

TEST_F(FullScreen, BackdropThatDeclinesActivationIsNotAProgram) {
    cover_screen(WS_POPUP, false, WS_EX_NOACTIVATE);
    tick();
    EXPECT_TRUE(IsWindowVisible(main_window));
}

TEST_F(FullScreen, OwnWindowsAndTheSettingOffKeepThePetShown) {
    cover_screen(WS_POPUP, false);
    step_aside = 0;
    tick();
    EXPECT_TRUE(IsWindowVisible(main_window));
    step_aside = 1;
    own_process_id = GetCurrentProcessId;
    tick();
    EXPECT_TRUE(IsWindowVisible(main_window));
    // Nor does a held pet leave the user's hand.
    own_process_id = no_process;
    dragging = 1;
    tick();
    EXPECT_TRUE(IsWindowVisible(main_window));
    dragging = 0;
}

}  // namespace
